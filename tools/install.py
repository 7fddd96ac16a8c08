#!/usr/bin/python3
"""Installs the Linux program as a desktop program, or removes what that installed.

    tools/install.py install --prefix /usr/local [--destdir DIR] --program build/native/.../padwire
    tools/install.py uninstall --prefix /usr/local [--destdir DIR]

Under PREFIX: the program, its manual page, its desktop entry, its icon in the hicolor theme, its AppStream
metainfo, the user guide as one HTML page, and the udev rule and modules-load.d file that let the
user at the seat type through /dev/uinput. systemd (Debian 12's too) reads udev rules and
modules-load.d files below both /usr/lib and /usr/local/lib, so PREFIX/lib serves either prefix;
below any other prefix they are installed but not read. DESTDIR, when given, is put in front of
every path (a staging folder, as for the Debian package). `make install` and `make uninstall`
run this with PREFIX=/usr/local by default.
"""
import argparse
import gzip
import importlib.util
import os
import shutil
import subprocess
import sys
from pathlib import Path

ROOT = Path(__file__).resolve().parent.parent
RESOURCES = ROOT / "resources" / "linux"
METAINFO = "example.padwire.Padwire.metainfo.xml"
ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)
# Prefixes whose lib/udev/rules.d and lib/modules-load.d systemd reads.
SYSTEM_PREFIXES = ("/usr", "/usr/local")


def render_guide(version: str) -> bytes:
    """The user guide as the download has it: one HTML page with its pictures inside."""
    found = importlib.util.spec_from_file_location("make_dist", ROOT / "tools" / "make-dist.py")
    make_dist = importlib.util.module_from_spec(found)
    found.loader.exec_module(make_dist)
    return make_dist.render_guide(ROOT / "docs" / "user-guide.md", version)


def manual_page() -> bytes:
    # Without a name or a date in the gzip header, as Debian packages them.
    return gzip.compress((RESOURCES / "padwire.1").read_bytes(), compresslevel=9, mtime=0)


def layout(program=None, version=""):
    """(path below PREFIX, source file or bytes or None, mode) for every installed file. The
    sources are left out (None) when only the paths are wanted."""
    files = [
        ("bin/padwire", program, 0o755),
        ("share/man/man1/padwire.1.gz", manual_page() if program else None, 0o644),
        ("share/applications/padwire.desktop", RESOURCES / "padwire.desktop", 0o644),
        (f"share/metainfo/{METAINFO}", RESOURCES / METAINFO, 0o644),
        ("share/doc/padwire/user-guide.html", render_guide(version) if program else None, 0o644),
        ("lib/udev/rules.d/70-padwire-uinput.rules", RESOURCES / "70-padwire-uinput.rules", 0o644),
        ("lib/modules-load.d/padwire-uinput.conf", RESOURCES / "padwire-uinput.conf", 0o644),
    ]
    for size in ICON_SIZES:
        name = f"{size}x{size}/apps/padwire.png"
        files.append((f"share/icons/hicolor/{name}", RESOURCES / "icons" / name, 0o644))
    return files


def target(destdir: str, prefix: str, path: str) -> Path:
    return Path(destdir + prefix.rstrip("/") + "/" + path) if destdir else Path(prefix) / path


def install(destdir: str, prefix: str, program: Path, version: str) -> list:
    written = []
    for path, source, mode in layout(program, version):
        to = target(destdir, prefix, path)
        to.parent.mkdir(parents=True, exist_ok=True)
        partial = to.with_name(to.name + ".part")
        if isinstance(source, bytes):
            partial.write_bytes(source)
        else:
            shutil.copyfile(source, partial)
        partial.chmod(mode)
        partial.replace(to)
        written.append(to)
    return written


def uninstall(destdir: str, prefix: str) -> list:
    removed = []
    for path, _, _ in layout():
        to = target(destdir, prefix, path)
        if to.is_file() or to.is_symlink():
            to.unlink()
            removed.append(to)
    folder = target(destdir, prefix, "share/doc/padwire")
    if folder.is_dir() and not any(folder.iterdir()):
        folder.rmdir()
    return removed


def refresh_system(prefix: str) -> None:
    """After an install on this machine: the launcher's caches and the udev rules, when the
    tools are there; a tool that fails changes nothing that was installed."""
    commands = [["update-desktop-database", "-q", f"{prefix}/share/applications"],
                ["gtk-update-icon-cache", "-q", "-t", "-f", f"{prefix}/share/icons/hicolor"]]
    if os.geteuid() == 0:
        commands += [["udevadm", "control", "--reload-rules"],
                     ["udevadm", "trigger", "--subsystem-match=misc", "--sysname-match=uinput"]]
    for command in commands:
        if shutil.which(command[0]):
            subprocess.run(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def main(argv=None) -> int:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("action", choices=("install", "uninstall"))
    parser.add_argument("--prefix", default="/usr/local")
    parser.add_argument("--destdir", default="")
    parser.add_argument("--program", type=Path)
    parser.add_argument("--version", default="")
    args = parser.parse_args(argv)
    if not args.prefix.startswith("/"):
        print(f"install: PREFIX must be an absolute path: {args.prefix}", file=sys.stderr)
        return 1
    try:
        if args.action == "uninstall":
            for path in uninstall(args.destdir, args.prefix):
                print(f"removed {path}")
            return 0
        if not args.program or not args.program.is_file():
            print(f"install: no program to install: {args.program}", file=sys.stderr)
            return 1
        for path in install(args.destdir, args.prefix, args.program, args.version):
            print(f"installed {path}")
    except OSError as error:
        print(f"install: {error}", file=sys.stderr)
        return 1
    if not args.destdir:
        refresh_system(args.prefix)
    if args.prefix.rstrip("/") not in SYSTEM_PREFIXES:
        print(f"install: udev does not read rules below {args.prefix}: copy "
              f"{args.prefix}/lib/udev/rules.d/70-padwire-uinput.rules to /etc/udev/rules.d/ "
              "for keys through /dev/uinput", file=sys.stderr)
    return 0


if __name__ == "__main__":
    sys.exit(main())
