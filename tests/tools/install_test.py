#!/usr/bin/python3
"""make install's layout (tools/install.py) and the Debian package (tools/make-deb.py), from the
program PADWIRE_PROGRAM names: the desktop entry and the metainfo pass their validators, uninstall
takes back every file, and lintian finds no error in the package. Exits 77 (skipped) when a
checking tool is missing."""
import os
import shutil
import subprocess
import sys
import tempfile
import unittest
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
TOOLS = ("desktop-file-validate", "appstreamcli", "dpkg-deb", "dpkg-shlibdeps", "lintian")
PROGRAM = os.environ.get("PADWIRE_PROGRAM", "")


def run(*command, **kwargs):
    return subprocess.run(command, capture_output=True, text=True, **kwargs)


class Install(unittest.TestCase):
    def setUp(self):
        folder = tempfile.TemporaryDirectory()
        self.addCleanup(folder.cleanup)
        self.dir = Path(folder.name)

    def test_install_lays_out_valid_files_and_uninstall_takes_them_back(self):
        stage = self.dir / "stage"
        script = ROOT / "tools" / "install.py"
        installed = run(script, "install", "--prefix", "/usr/local", "--destdir", stage,
                        "--program", PROGRAM, "--version", "9.8")
        self.assertEqual(installed.returncode, 0, installed.stderr)
        local = stage / "usr/local"
        for path in ("bin/padwire", "share/icons/hicolor/256x256/apps/padwire.png",
                     "lib/udev/rules.d/70-padwire-uinput.rules",
                     "lib/modules-load.d/padwire-uinput.conf", "share/man/man1/padwire.1.gz"):
            self.assertTrue((local / path).is_file(), path)
        self.assertTrue(os.access(local / "bin/padwire", os.X_OK))
        self.assertIn("Padwire 9.8", (local / "share/doc/padwire/user-guide.html").read_text())
        desktop = run("desktop-file-validate", local / "share/applications/padwire.desktop")
        self.assertEqual((desktop.returncode, desktop.stdout), (0, ""))
        metainfo = run("appstreamcli", "validate", "--no-net",
                       *(local / "share/metainfo").iterdir())
        self.assertEqual(metainfo.returncode, 0, metainfo.stdout)

        removed = run(script, "uninstall", "--prefix", "/usr/local", "--destdir", stage)
        self.assertEqual(removed.returncode, 0, removed.stderr)
        self.assertEqual([p for p in stage.rglob("*") if not p.is_dir()], [])

    def test_the_package_depends_on_the_libraries_it_links_and_lintian_finds_no_error(self):
        built = run(ROOT / "tools" / "make-deb.py", "--version", "9.8", "--program", PROGRAM,
                    "--output", self.dir)
        self.assertEqual(built.returncode, 0, built.stderr)
        deb = next(self.dir.glob("padwire_9.8_*.deb"))
        depends = run("dpkg-deb", "--field", deb, "Depends").stdout
        for library in ("libqt6widgets6", "libsdl2-2.0-0", "libturbojpeg0", "libxtst6"):
            self.assertIn(library, depends)
        contents = run("dpkg-deb", "--contents", deb).stdout
        for path in ("./usr/bin/padwire", "./usr/share/applications/padwire.desktop",
                     "./usr/lib/udev/rules.d/70-padwire-uinput.rules"):
            self.assertIn(path, contents)
        self.assertIn("udevadm control --reload-rules",
                      run("dpkg-deb", "--info", deb, "postinst").stdout)
        lintian = run("lintian", deb)
        errors = [line for line in lintian.stdout.splitlines() if line.startswith("E:")]
        self.assertEqual(errors, [], lintian.stdout)


if __name__ == "__main__":
    missing = [tool for tool in TOOLS if not shutil.which(tool)]
    if missing or not Path(PROGRAM).is_file():
        print(f"skipped: missing {', '.join(missing) or 'PADWIRE_PROGRAM'} "
              "(tools/install-deps.sh installs the tools)")
        sys.exit(77)
    unittest.main()
