#!/usr/bin/python3
"""tools/make-dist.py: the download's zip, built from a stand-in padwire.exe and the real guide."""
import subprocess
import sys
import tempfile
import unittest
import zipfile
from pathlib import Path

ROOT = Path(__file__).resolve().parents[2]
SCRIPT = ROOT / "tools" / "make-dist.py"


def make_dist(exe, guide, output):
    return subprocess.run([sys.executable, SCRIPT, "--version", "9.8", "--exe", exe,
                           "--guide", guide, "--output", output], capture_output=True, text=True)


class MakeDist(unittest.TestCase):
    def setUp(self):
        folder = tempfile.TemporaryDirectory()
        self.addCleanup(folder.cleanup)
        self.dir = Path(folder.name)
        self.exe = self.dir / "stand-in.exe"
        self.exe.write_bytes(b"MZ" + bytes(range(256)) * 8)

    def test_two_runs_give_the_same_zip_of_the_exe_and_a_page_that_stands_alone(self):
        first, second = self.dir / "a.zip", self.dir / "b.zip"
        for output in (first, second):
            self.assertEqual(make_dist(self.exe, ROOT / "docs/user-guide.md", output).returncode, 0)
        self.assertEqual(first.read_bytes(), second.read_bytes())
        with zipfile.ZipFile(first) as archive:
            self.assertEqual(archive.namelist(), ["padwire.exe", "user-guide.html"])
            self.assertEqual({e.date_time for e in archive.infolist()}, {(1980, 1, 1, 0, 0, 0)})
            self.assertEqual(archive.read("padwire.exe"), self.exe.read_bytes())
            page = archive.read("user-guide.html").decode("utf-8")
        self.assertIn("Padwire 9.8", page)
        self.assertIn('src="data:image/png;base64,', page)
        self.assertEqual(page.count('src="'), page.count('src="data:'))

    def test_a_missing_picture_or_exe_is_named_and_leaves_no_zip(self):
        guide = self.dir / "guide.md"
        guide.write_text("# Guide\n\n![menu](no-such-picture.png)\n", encoding="utf-8")
        output = self.dir / "out.zip"
        for exe, named in ((self.exe, "no-such-picture.png"), (self.dir / "none.exe", "none.exe")):
            run = make_dist(exe, guide, output)
            self.assertEqual(run.returncode, 1)
            self.assertIn(named, run.stderr)
        self.assertEqual(sorted(p.name for p in self.dir.iterdir()), ["guide.md", "stand-in.exe"])


if __name__ == "__main__":
    unittest.main()
