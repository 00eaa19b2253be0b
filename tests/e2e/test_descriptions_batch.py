"""Descriptions (/Z), the batch file (/@) and bracket-set masks (/R) through
wine, on real files."""

import os
import unittest

from wine_harness import cells, fixture, run_orvl, wine_path

FILES = {
    "SUB": {},
    "ALPHA.TXT": 100,
    "Long name.doc": 2048,
    "beta.txt": 5,
    "cat.TXT": 7,
    "a&b.txt": 1,
}


class DescriptionsBatchTest(unittest.TestCase):
    maxDiff = None

    def setUp(self):
        self._fixture = fixture(FILES)
        self.root = self._fixture.__enter__()

    def tearDown(self):
        self._fixture.__exit__(None, None, None)

    def test_description_listing(self):
        with open(os.path.join(self.root, "DESCRIPT.ION"), "wb") as out:
            out.write(b"alpha.txt The first letter\r\nBETA.TXT    second\n\"cat.txt\" a cat")
        run = run_orvl(["*.TXT", "/Z"], cwd=self.root)
        self.assertEqual(run.lines[2:7], [
            "─" * 80,
            cells((1, "     1"), (8, "a&b.txt")),
            cells((1, "   100"), (8, "ALPHA.TXT"), (21, "The first letter")),
            cells((1, "     5"), (8, "beta.txt"), (21, "second")),
            cells((1, "     7"), (8, "cat.TXT")),  # the quoted name keeps its closing quote
        ], run)

    def test_batch_file_bytes(self):
        run = run_orvl(["*.txt", "/B", "/@copy", "$", "A:\\"], cwd=self.root)
        self.assertEqual(run.status, 0)
        with open(os.path.join(self.root, "!OVBATCH.BAT"), "rb") as got:
            batch = got.read()
        directory = wine_path(self.root).encode() + b"\\"
        # Enumeration order (sorted by wine); the path holding "&" is quoted.
        self.assertEqual(batch, b"".join(b"copy " + path + b" A:\\\r\n" for path in (
            b'"' + directory + b'a&b.txt"', directory + b"ALPHA.TXT", directory + b"beta.txt",
            directory + b"cat.TXT")))

    def test_a_description_file_without_an_end(self):
        # A link to a device that never ends: reading stops at its bound, and
        # with no line in what was read the listing has the layout from before /Z.
        os.symlink("/dev/zero", os.path.join(self.root, "DESCRIPT.ION"))
        run = run_orvl(["*.TXT", "/Z"], cwd=self.root, timeout=30)
        self.assertEqual(run.lines[3], "     1 a&b.txt     │   100 ALPHA.TXT   │     5 beta.txt"
                                       "    │     7 cat.TXT", run)

    def test_bracket_masks(self):
        run = run_orvl(["[a-c]*.TXT", "/R", "/B"], cwd=self.root)
        self.assertEqual(run.lines, ["a&b.txt", "ALPHA.TXT", "beta.txt", "cat.TXT"], run)
        run = run_orvl(["[-a]*", "/R"], cwd=self.root)
        self.assertEqual(run.lines[-1], "'[-a]*' is an invalid mask at (2)", run)
        self.assertEqual(run.status, 2, run)  # the command line was refused


if __name__ == "__main__":
    unittest.main()
