#!/usr/bin/python3
"""Builds the download: a zip with padwire.exe and the user guide rendered to one HTML page.

    tools/make-dist.py --version 1.6 --exe padwire.exe --guide docs/user-guide.md --output x.zip

The guide's pictures are embedded in the page, so the zip holds just the two files, side by side
(Windows' "Extract All" already makes a folder named after the zip). The entries are sorted and
carry a fixed date and fixed attributes, so the same inputs always give the same bytes.
Needs Debian's python3-markdown (tools/install-deps.sh installs it).
"""
import argparse
import base64
import html
import mimetypes
import sys
import zipfile
from pathlib import Path

import markdown
from markdown.extensions import Extension
from markdown.treeprocessors import Treeprocessor

FIXED_DATE = (1980, 1, 1, 0, 0, 0)  # the earliest date a zip entry can hold
GUIDE_NAME = "user-guide.html"

STYLE = """
body { font-family: "Segoe UI", sans-serif; max-width: 46em; margin: 2em auto; padding: 0 1em;
       line-height: 1.45; color: #222; }
h1, h2, h3 { line-height: 1.2; }
h2 { border-bottom: 1px solid #ccc; padding-bottom: .2em; margin-top: 2em; }
table { border-collapse: collapse; margin: 1em 0; }
th, td { border: 1px solid #ccc; padding: .3em .6em; text-align: left; vertical-align: top; }
th { background: #f0f0f0; }
code, pre { font-family: Consolas, monospace; background: #f4f4f4; }
pre { padding: .6em; overflow-x: auto; }
img { max-width: 100%; }
"""


class BadInput(Exception):
    pass


class EmbedImages(Treeprocessor):
    """Replaces each picture's file name with its bytes as a data address, so the page stands
    alone. A picture that cannot be read stops the build rather than leaving a broken page."""

    def __init__(self, md, folder):
        super().__init__(md)
        self.folder = folder

    def run(self, root):
        for image in root.iter("img"):
            source = image.get("src", "")
            if source.startswith("data:"):
                continue
            path = self.folder / source
            kind = mimetypes.guess_type(path.name)[0]
            if not kind or not kind.startswith("image/") or not path.is_file():
                raise BadInput(f"the guide shows a picture that is not an image file: {source}")
            data = base64.b64encode(path.read_bytes()).decode("ascii")
            image.set("src", f"data:{kind};base64,{data}")


class EmbedImagesExtension(Extension):
    def __init__(self, folder):
        super().__init__()
        self.folder = folder

    def extendMarkdown(self, md):
        # After the inline pass (priority 20), which is what turns ![..](..) into <img>.
        md.treeprocessors.register(EmbedImages(md, self.folder), "embed_images", 15)


def render_guide(guide: Path, version: str) -> bytes:
    text = guide.read_text(encoding="utf-8")
    body = markdown.markdown(text, extensions=["tables", "toc", EmbedImagesExtension(guide.parent)])
    heading = next((line[2:].strip() for line in text.splitlines() if line.startswith("# ")),
                   "Padwire")
    title = html.escape(f"{heading}, version {version}")
    page = (f'<!DOCTYPE html>\n<html lang="en">\n<head>\n<meta charset="utf-8">\n'
            f"<title>{title}</title>\n<style>{STYLE}</style>\n</head>\n<body>\n{body}\n"
            f'<p><small>Padwire {html.escape(version)}</small></p>\n</body>\n</html>\n')
    return page.encode("utf-8")


def entry(name: str) -> zipfile.ZipInfo:
    info = zipfile.ZipInfo(name, date_time=FIXED_DATE)
    info.compress_type = zipfile.ZIP_DEFLATED
    info.create_system = 0  # MS-DOS attributes, the same whatever system builds the zip
    info.external_attr = 0
    return info


def write_zip(output: Path, files: dict) -> None:
    # Written beside the target and renamed at the end, so a failed run leaves no half zip.
    partial = output.with_name(output.name + ".part")
    with zipfile.ZipFile(partial, "w") as archive:
        for name in sorted(files):
            archive.writestr(entry(name), files[name], compresslevel=9)
    partial.replace(output)


def main(argv=None) -> int:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--version", required=True)
    parser.add_argument("--exe", required=True, type=Path)
    parser.add_argument("--guide", required=True, type=Path)
    parser.add_argument("--output", required=True, type=Path)
    args = parser.parse_args(argv)
    try:
        for path in (args.exe, args.guide):
            if not path.is_file():
                raise BadInput(f"no such file: {path}")
        files = {"padwire.exe": args.exe.read_bytes(),
                 GUIDE_NAME: render_guide(args.guide, args.version)}
        write_zip(args.output, files)
    except (BadInput, OSError) as error:
        print(f"make-dist: {error}", file=sys.stderr)
        return 1
    for name in sorted(files):
        print(f"{args.output}: {name} ({len(files[name])} bytes)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
