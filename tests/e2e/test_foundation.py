"""Listings piped through wine: header, rows, summary and allocation lines,
the messages for empty and unreachable specifications, and a recursive walk."""

import re
import unittest

from wine_harness import border, cells, fixture, run_orvl, wine_path

BANNER_START = "Orvalist 98, Version 7.7 "
FREE_FIGURE = r"\d+(\.\d\d[KMG])?B"

SMALL_DIRECTORY = {
    "DOCS": {},
    "EMPTY.DAT": 0,
    "ONE.BYT": 1,
    "PAGE.BIN": 4096,
    "PAGE1.BIN": 4097,
}


class FoundationTest(unittest.TestCase):
    def assertBanner(self, line):
        self.assertTrue(line.startswith(BANNER_START), line)
        self.assertLessEqual(len(line), 78)

    def assertFreeSpaceAtRightEdge(self, line, left_part):
        pattern = "^" + re.escape(left_part) + " +" + FREE_FIGURE + " free$"
        self.assertRegex(line, pattern)
        self.assertEqual(len(line), 80, line)

    def test_listing_of_one_directory(self):
        with fixture(SMALL_DIRECTORY) as root:
            run = run_orvl([], cwd=root)
            path = wine_path(root)
        self.assertEqual(run.status, 0)
        self.assertBanner(run.lines[0])
        self.assertEqual(run.lines[1:6], [
            "Path: " + path + "\\*",
            border(20, 4, 80, "┬"),
            cells((1, " <DIR>"), (8, "DOCS"), (20, "│"),
                  (21, "     0"), (28, "EMPTY.DAT"), (40, "│"),
                  (41, "     1"), (48, "ONE.BYT"), (60, "│"),
                  (61, "  4.0K"), (68, "PAGE.BIN")),
            cells((1, "  4.0K"), (8, "PAGE1.BIN"), (20, "│"), (40, "│"), (60, "│")),
            border(20, 4, 80, "┴"),
        ], run)
        self.assertFreeSpaceAtRightEdge(run.lines[6], "8,194 bytes (8.00KB) in 4 files and 1 dir")
        self.assertEqual(run.lines[7:], ["16,384 bytes (16.00KB) allocated"], run)

    def test_mask_matching_nothing(self):
        with fixture(SMALL_DIRECTORY) as root:
            run = run_orvl(["*.zzz"], cwd=root)
            path = wine_path(root)
        self.assertEqual(run.status, 1)  # nothing matched
        self.assertBanner(run.lines[0])
        self.assertEqual(run.lines[1], "Path: " + path + "\\*.zzz", run)
        self.assertFreeSpaceAtRightEdge(run.lines[2], "No files found matching search specification")
        self.assertEqual(len(run.lines), 3, run)

    def test_missing_directory(self):
        with fixture(SMALL_DIRECTORY) as root:
            run = run_orvl(["nothere\\*.*"], cwd=root)
            path = wine_path(root)
        self.assertEqual(run.status, 1)  # nothing matched
        self.assertBanner(run.lines[0])
        self.assertEqual(run.lines[1:], [
            "Path: " + path + "\\nothere\\*.*",
            "No files found",
        ], run)

    def test_unknown_drive(self):
        with fixture(SMALL_DIRECTORY) as root:
            run = run_orvl(["Q:\\*.*"], cwd=root)
        self.assertEqual(run.status, 3)  # ended by an error
        self.assertBanner(run.lines[0])
        self.assertEqual(run.lines[1:], ["Path: Q:\\*.*", "Invalid drive specification"], run)

    def test_volume_label_at_right_edge(self):
        # Drive L: of the tests' wine prefix has the label DATA and holds A.TXT.
        with fixture({}) as root:
            run = run_orvl(["L:\\*.TXT"], cwd=root)
        self.assertEqual(run.status, 0)
        self.assertBanner(run.lines[0])
        self.assertEqual(run.lines[1:5], [
            cells((1, "Path: L:\\*.TXT"), (63, "Volume Label: DATA")),
            border(20, 4, 80, "┬"),
            cells((1, "    10"), (8, "A.TXT"), (20, "│"), (40, "│"), (60, "│")),
            border(20, 4, 80, "┴"),
        ], run)
        self.assertFreeSpaceAtRightEdge(run.lines[5], "10 bytes in 1 file")
        self.assertEqual(run.lines[6:], ["4,096 bytes (4.00KB) allocated"], run)

    def test_recursive_walk_with_grand_total(self):
        tree = {
            "A.TXT": 10,
            "ONE": {"B.TXT": 20},
            "TWO": {"C.TXT": 30, "DEEP": {"D.TXT": 40}},
        }
        top, bottom = border(20, 4, 80, "┬"), border(20, 4, 80, "┴")
        with fixture(tree) as root:
            run = run_orvl(["/S"], cwd=root)
            path = wine_path(root)
        self.assertEqual(run.status, 0)
        self.assertBanner(run.lines[0])
        self.assertEqual(run.lines[1:-1], [
            "Path: " + path + "\\*",
            top,
            cells((1, " <DIR>"), (8, "ONE"), (20, "│"), (21, " <DIR>"), (28, "TWO"), (40, "│"),
                  (41, "    10"), (48, "A.TXT"), (60, "│")),
            bottom,
            "10 bytes in 1 file and 2 dirs",
            "4,096 bytes (4.00KB) allocated",
            "",
            "Path: " + path + "\\TWO\\*",
            top,
            cells((1, " <DIR>"), (8, "DEEP"), (20, "│"), (21, "    30"), (28, "C.TXT"), (40, "│"),
                  (60, "│")),
            bottom,
            "30 bytes in 1 file and 1 dir",
            "4,096 bytes (4.00KB) allocated",
            "",
            "Path: " + path + "\\TWO\\DEEP\\*",
            top,
            cells((1, "    40"), (8, "D.TXT"), (20, "│"), (40, "│"), (60, "│")),
            bottom,
            "40 bytes in 1 file",
            "4,096 bytes (4.00KB) allocated",
            "",
            "Path: " + path + "\\ONE\\*",
            top,
            cells((1, "    20"), (8, "B.TXT"), (20, "│"), (40, "│"), (60, "│")),
            bottom,
            "20 bytes in 1 file",
            "4,096 bytes (4.00KB) allocated",
            "",
            "Summary Total:",
            "100 bytes in 4 files and 3 dirs",
            "16,384 bytes (16.00KB) allocated",
        ], run)
        self.assertRegex(run.lines[-1], "^" + FREE_FIGURE + " free$")


if __name__ == "__main__":
    unittest.main()
