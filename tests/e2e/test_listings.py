"""The listing layouts of one directory through wine, line by line: the
default size-and-name columns, wide (/W), verbose (/V) and bare (/B)."""

import re
import unittest
from datetime import datetime, timezone

from wine_harness import CUT_MARKER, border, cells, fixture, make_tree, run_orvl, wine_path


def utc(*fields):
    return datetime(*fields, tzinfo=timezone.utc)


# Sorted by the program: the directory first, then names with a-z folded.
FILES = {
    "SUB": {},
    "ALPHA.TXT": (100, utc(2021, 3, 4, 5, 6, 7)),
    "BETA.DAT": (2048, utc(2021, 12, 25, 0, 0, 0)),
    "gamma.log": (5000, utc(2020, 11, 30, 23, 59, 59)),
    "READ.ME": (0, utc(2021, 7, 8, 12, 0, 0), 0o444),
    "Zed.bin": (1500000, utc(2021, 1, 2, 13, 14, 15)),
}
COUNT_LINE = "1,507,148 bytes (1.44MB) in 5 files and 1 dir"
ALLOCATION_LINE = "1,519,616 bytes (1.45MB) allocated"


class ListingsTest(unittest.TestCase):
    maxDiff = None

    @classmethod
    def setUpClass(cls):
        cls._fixture = fixture(FILES, when=utc(2021, 3, 4, 5, 6, 7))
        cls.root = cls._fixture.__enter__()

    @classmethod
    def tearDownClass(cls):
        cls._fixture.__exit__(None, None, None)

    def listing(self, *args):
        run = run_orvl(list(args), cwd=self.root)
        self.assertEqual(run.status, 0)
        return run

    def assertFramedListing(self, run, top, rows, bottom):
        """Banner, header, borders around the rows, the two summary lines."""
        self.assertTrue(run.lines[0].startswith("Orvalist 98, Version 7.7 "), run)
        self.assertEqual(run.lines[1:-2], ["Path: " + wine_path(self.root) + "\\*", top]
                         + rows + [bottom], run)
        self.assertRegex(run.lines[-2], "^" + re.escape(COUNT_LINE) + r" +\d+(\.\d\d[KMG])?B free$")
        self.assertEqual(len(run.lines[-2]), 80)
        self.assertEqual(run.lines[-1], ALLOCATION_LINE)

    def test_default_layout(self):
        # Longest name 9: four listing columns of 20 (size 7, name 13).
        self.assertFramedListing(self.listing(), border(20, 4, 80, "┬"), [
            cells((1, " <DIR>"), (8, "SUB"), (20, "│"),
                  (21, "   100"), (28, "ALPHA.TXT"), (40, "│"),
                  (41, "  2.0K"), (48, "BETA.DAT"), (60, "│"),
                  (61, "  4.9K"), (68, "gamma.log")),
            cells((1, "     0"), (8, "READ.ME"), (20, "│"),
                  (21, "  1.4M"), (28, "Zed.bin"), (40, "│"), (60, "│")),
        ], border(20, 4, 80, "┴"))

    def test_wide_layout(self):
        # Names only: seven listing columns of 11, the last one left empty.
        self.assertFramedListing(self.listing("/W"), border(11, 7, 80, "┬"), [
            cells((1, "SUB"), (11, "│"), (12, "ALPHA.TXT"), (22, "│"),
                  (23, "BETA.DAT"), (33, "│"), (34, "gamma.log"), (44, "│"),
                  (45, "READ.ME"), (55, "│"), (56, "Zed.bin"), (66, "│")),
        ], border(11, 7, 80, "┴"))

    def test_verbose_layout(self):
        # Size, last-write time in the locale's format (date only at
        # midnight), attributes, 8.3 name, long name: one listing column.
        def row(size, when, attributes, name):
            return cells((1, size), (8, when), (31, attributes), (37, name), (50, name))

        self.assertFramedListing(self.listing("/V"), "─" * 80, [
            row(" <DIR>", "3/4/2021 5:06:07 AM", "....d", "SUB"),
            row("   100", "3/4/2021 5:06:07 AM", "...a.", "ALPHA.TXT"),
            row("  2.0K", "12/25/2021", "...a.", "BETA.DAT"),
            row("  4.9K", "11/30/2020 11:59:59 PM", "...a.", "gamma.log"),
            row("     0", "7/8/2021 12:00:00 PM", "r..a.", "READ.ME"),
            row("  1.4M", "1/2/2021 1:14:15 PM", "...a.", "Zed.bin"),
        ], "─" * 80)

    def test_bare_layout(self):
        run = self.listing("/B")
        self.assertEqual(run.lines, ["SUB", "ALPHA.TXT", "BETA.DAT", "gamma.log", "READ.ME",
                                     "Zed.bin"])

    def test_summary_alone_keeps_its_bottom_line(self):
        """/U goes straight to the summary, which starts with the bottom line."""
        path = "Path: " + wine_path(self.root)
        run = self.listing("/U", "/W")
        self.assertEqual(run.lines[1:3], [path + "\\*", border(11, 7, 80, "┴")], run)
        self.assertRegex(run.lines[3], "^" + re.escape(COUNT_LINE) + r" +\d+(\.\d\d[KMG])?B free$")
        self.assertEqual(run.lines[4:], [ALLOCATION_LINE], run)
        run = self.listing("/S", "/U")
        self.assertEqual(run.lines[1:-1], [
            path + "\\*", border(20, 4, 80, "┴"), COUNT_LINE, ALLOCATION_LINE, "",
            path + "\\SUB\\*", "Summary Total:", COUNT_LINE, ALLOCATION_LINE], run)
        self.assertRegex(run.lines[-1], r"^\d+(\.\d\d[KMG])?B free$")

    def test_narrow_summary_lines_are_cut_with_the_marker(self):
        """At /K40 a count line too long is cut and marked, also where the cut
        falls between two words; the free space finds no room beside it."""
        run = self.listing("/K40")
        self.assertEqual(run.lines[-2:], ["1,507,148 bytes (1.44MB) in 5 files and" + CUT_MARKER,
                                          "1,519,616 bytes (1.45MB) allocated"], run)
        with fixture({"a": 10000, "b": 2000, "c": 345, "d1": {}, "d2": {}}) as root:
            run = run_orvl(["/K40", "/S"], cwd=root)
        count = "12,345 bytes (12.06KB) in 3 files and 2" + CUT_MARKER
        allocation = "20,480 bytes (20.00KB) allocated"
        self.assertEqual(run.lines[7:9], [count, allocation], run)
        self.assertEqual(run.lines[-4:-1], ["Summary Total:", count, allocation], run)

    def test_cut_paths_keep_their_marker(self):
        """A folder's path of 62 characters is shown whole; those of its
        subfolders, longer than the 73 of the room, are cut and end in the
        marker, so that neither passes for the folder itself."""
        with fixture({}) as root:
            name = "n" * (59 - len(wine_path(root)))
            make_tree(root, {name: {"report-2025": {"a.txt": 1}, "report-2026": {"a.txt": 1}}})
            head = wine_path(root) + "\\" + name
            run = run_orvl(["/S"], cwd=root)
        self.assertEqual([line for line in run.lines if line.startswith("Path: " + head)], [
            "Path: " + head + "\\*",
            "Path: " + head + "\\report-2026" + CUT_MARKER,
            "Path: " + head + "\\report-2025" + CUT_MARKER], run)

if __name__ == "__main__":
    unittest.main()
