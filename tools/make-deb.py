#!/usr/bin/python3
"""Builds the Debian package of the Linux program: padwire_<version>_<arch>.deb.

    tools/make-deb.py --version 1.6 --program build/native/platform/linux/padwire --output DIR

The files are those `make install` lays out (tools/install.py), below /usr, with the program
stripped of its symbols. The dependencies are computed from the shared libraries the program
links, by dpkg-shlibdeps (dpkg-dev), with Debian's own rules. After an install or a removal the
package has udev read its rules again, so that /dev/uinput is the user's at once. Every file is
dated SOURCE_DATE_EPOCH, else the time of the sources' last commit, so the same sources give the
same package.
"""
import argparse
import gzip
import hashlib
import os
import shutil
import subprocess
import sys
import tempfile
import time
from pathlib import Path

import install

MAINTAINER = "The Padwire developers <developers@padwire.example>"

DESCRIPTION = """\
play keyboard-only games with a game controller
 Padwire lives in the notification area, reads a game controller and presses
 keyboard keys for it, so that games and emulators that only understand the
 keyboard can be played with a pad; in its mouse mode the pad moves and clicks
 the mouse pointer. It has ready-made key layouts for two emulators, your own
 keys for every pad button, key sets chosen by the game's window, auto-fire,
 button combinations, screenshots and rumble.
"""

COPYRIGHT = """\
Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: Padwire
Source: https://padwire.example/

Files: *
Copyright: 2000-2026 The Padwire developers
License: LicenseRef-proprietary
 All rights reserved by the Padwire developers.
"""

# udev reads the rule at once; the module, which the rule's static node loads on first use, is
# also listed for boot in modules-load.d. Neither may fail the package's installation (inside
# a container or a chroot there is no udev to talk to).
MAINTAINER_SCRIPT = """\
#!/bin/sh
set -e
if [ "$1" = configure ] || [ "$1" = remove ]; then
    if command -v udevadm >/dev/null 2>&1; then
        udevadm control --reload-rules >/dev/null 2>&1 || true
        udevadm trigger --subsystem-match=misc --sysname-match=uinput >/dev/null 2>&1 || true
    fi
fi
exit 0
"""


class BadInput(Exception):
    pass


def run(command, **kwargs) -> str:
    result = subprocess.run(command, capture_output=True, text=True, **kwargs)
    if result.returncode != 0:
        raise BadInput(f"{' '.join(map(str, command))} failed: {result.stderr.strip()}")
    return result.stdout


def changelog(version: str, epoch: int) -> bytes:
    date = subprocess.run(["date", "-R", "-u", "-d", f"@{epoch}"], capture_output=True,
                          text=True).stdout.strip()
    text = (f"padwire ({version}) unstable; urgency=medium\n\n"
            f"  * Padwire {version}, built from its sources.\n\n"
            f" -- {MAINTAINER}  {date}\n")
    # No file name and a fixed date in the gzip header.
    return gzip.compress(text.encode("utf-8"), compresslevel=9, mtime=0)


def shared_library_depends(program: Path) -> str:
    """dpkg-shlibdeps wants a source package around it: a minimal debian/control does."""
    with tempfile.TemporaryDirectory() as folder:
        (Path(folder) / "debian").mkdir()
        (Path(folder) / "debian" / "control").write_text(
            "Source: padwire\n\nPackage: padwire\nArchitecture: any\n")
        output = run(["dpkg-shlibdeps", "-O", f"-e{program.resolve()}"], cwd=folder)
    for line in output.splitlines():
        if line.startswith("shlibs:Depends="):
            return line.split("=", 1)[1].strip()
    raise BadInput("dpkg-shlibdeps named no dependency")


def installed_size(root: Path) -> int:
    """In KiB, as dpkg-gencontrol counts it: each file rounded up, each folder one."""
    total = 0
    for folder, folders, files in os.walk(root):
        total += len(folders)
        total += sum(-(-(Path(folder) / name).lstat().st_size // 1024) for name in files)
    return total


def source_date() -> int:
    if "SOURCE_DATE_EPOCH" in os.environ:
        return int(os.environ["SOURCE_DATE_EPOCH"])
    commit = subprocess.run(["git", "-C", str(install.ROOT), "log", "-1", "--format=%ct"],
                            capture_output=True, text=True)
    return int(commit.stdout) if commit.returncode == 0 else int(time.time())


def build(version: str, program: Path, output: Path, epoch: int) -> Path:
    architecture = run(["dpkg", "--print-architecture"]).strip()
    with tempfile.TemporaryDirectory() as folder:
        stage = Path(folder) / "padwire"
        install.install(str(stage), "/usr", program, version)
        binary = stage / "usr/bin/padwire"
        run(["strip", "--strip-unneeded", "--remove-section=.comment", "--remove-section=.note",
             str(binary)])
        docs = stage / "usr/share/doc/padwire"
        (docs / "copyright").write_text(COPYRIGHT)
        (docs / "changelog.gz").write_bytes(changelog(version, epoch))
        depends = shared_library_depends(binary)
        size = installed_size(stage)

        control = stage / "DEBIAN"
        control.mkdir()
        sums = []
        for path in sorted(p for p in stage.rglob("*") if p.is_file() and control not in p.parents):
            digest = hashlib.md5(path.read_bytes()).hexdigest()
            sums.append(f"{digest}  {path.relative_to(stage)}\n")
        (control / "md5sums").write_text("".join(sums))
        (control / "control").write_text(
            f"Package: padwire\nVersion: {version}\nArchitecture: {architecture}\n"
            f"Maintainer: {MAINTAINER}\nInstalled-Size: {size}\nDepends: {depends}\n"
            f"Suggests: jstest-gtk\nSection: utils\nPriority: optional\n"
            f"Homepage: https://padwire.example/\nDescription: {DESCRIPTION}")
        for name in ("postinst", "postrm"):
            (control / name).write_text(MAINTAINER_SCRIPT)
            (control / name).chmod(0o755)
        for path in [stage, *stage.rglob("*")]:
            if path.is_dir():
                path.chmod(0o755)
            os.utime(path, (epoch, epoch), follow_symlinks=False)

        output.mkdir(parents=True, exist_ok=True)
        deb = output / f"padwire_{version}_{architecture}.deb"
        partial = output / (deb.name + ".part")
        run(["dpkg-deb", "--root-owner-group", "-Zxz", "--build", str(stage), str(partial)],
            env={**os.environ, "SOURCE_DATE_EPOCH": str(epoch)})
        partial.replace(deb)
        return deb


def main(argv=None) -> int:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--version", required=True)
    parser.add_argument("--program", required=True, type=Path)
    parser.add_argument("--output", required=True, type=Path, help="the folder of the package")
    args = parser.parse_args(argv)
    try:
        epoch = source_date()
        if not args.program.is_file():
            raise BadInput(f"no such file: {args.program}")
        for tool in ("dpkg-deb", "dpkg-shlibdeps", "strip"):
            if not shutil.which(tool):
                raise BadInput(f"{tool} is missing (tools/install-deps.sh installs it)")
        deb = build(args.version, args.program, args.output, epoch)
    except (BadInput, OSError, ValueError) as error:
        print(f"make-deb: {error}", file=sys.stderr)
        return 1
    print(f"{deb} ({deb.stat().st_size} bytes)")
    return 0


if __name__ == "__main__":
    sys.exit(main())
