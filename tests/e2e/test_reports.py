"""The two reports through wine: the directory tree (/TREE) of a fixture on
drive C: and the drive statistics (/I) of drive Z:."""

import os
import re
import shutil
import unittest

from wine_harness import PREFIX, ensure_prefix, fixture, make_tree, run_orvl

BANNER_START = "Orvalist 98, Version 7.7 "

# Sizes in whole 4,096-byte clusters: the root 8K, ALPHA 1,290,240 bytes,
# MORE 20K, BETA one cluster for its single byte.
WORK = {
    "A.TXT": 100,
    "B.TXT": 4096,
    "ALPHA": {"BIG.BIN": 1290240, "DEEP": {}, "MORE": {"M.DAT": 20000}},
    "BETA": {"ONE": 1},
}


class ReportsTest(unittest.TestCase):
    maxDiff = None

    def test_tree_of_the_worked_example(self):
        ensure_prefix()
        work = os.path.join(PREFIX, "drive_c", "WORK")
        shutil.rmtree(work, ignore_errors=True)
        os.mkdir(work)
        try:
            make_tree(work, WORK)
            run = run_orvl(["C:\\WORK", "/TREE"], cwd=work)
        finally:
            shutil.rmtree(work, ignore_errors=True)
        self.assertEqual(run.status, 0)
        self.assertTrue(run.lines[0].startswith(BANNER_START), run)
        self.assertEqual(run.lines[1:], [
            "",
            "C:\\WORK\\ (8.00K)",
            "├── ALPHA (1.23M)",
            "│   ├── DEEP (0)",
            "│   └── MORE (20.00K)",
            "└── BETA (4.00K)",
            "5 directories consuming 1,323,008 bytes (1.26MB)",
        ], run)

    def test_bare_seven_bit_tree(self):
        with fixture({"ALPHA": {"X": {}}, "beta": {}}) as root:
            run = run_orvl(["/TREE", "/B", "/7BIT"], cwd=root)
            path = "Z:" + root.replace("/", "\\") + "\\"
        self.assertEqual(run.lines, [path + " (0)", "+-- ALPHA (0)", "|   +-- X (0)",
                                     "+-- beta (0)"], run)

    def test_drive_statistics_of_drive_z(self):
        with fixture({}) as root:
            run = run_orvl(["Z:\\", "/I"], cwd=root)
        self.assertEqual(run.status, 0)
        lines = run.lines[1:]
        self.assertEqual(lines[:5], ["", "Statistics for drive Z", "Label :",
                                     "Type  : NTFS (255 characters maximum file length)", ""], run)
        total = re.fullmatch(r"Total space on drive  : ([\d,]+) bytes \(\d+\.\d\d[KMG]?B\)",
                             lines[5])
        self.assertIsNotNone(total, run)
        width = len(total.group(1))
        for line, caption in zip(lines[6:8], ["Space used on drive   : ",
                                              "Space free on drive   : "]):
            self.assertRegex(line, "^" + re.escape(caption) + r"[ \d,]{%d} bytes \(" % width)
        used = re.fullmatch(r"% of total space used : ( *)(\d+\.\d\d)%", lines[8])
        self.assertIsNotNone(used, run)
        self.assertEqual(len(used.group(1) + used.group(2)), width - 1)
        self.assertRegex(lines[9], r"^% of space free       : +\d+\.\d\d%$")
        # From the byte figures: the shown percentage is rounded, and a share
        # at a block's edge would come out one block short.
        used_bytes = int(re.search(r"([\d,]+) bytes", lines[6]).group(1).replace(",", ""))
        blocks = used_bytes * 69 // int(total.group(1).replace(",", ""))
        self.assertEqual(lines[10:], [
            "",
            "0%    10%    20%    30%    40%    50%    60%    70%    80%    90%    100%",
            "├" + ("──────┴" * 9) + "──────┤",
            "│" + "█" * blocks + " " * (69 - blocks) + "│",
            "└" + "─" * 69 + "┘",
        ], run)


if __name__ == "__main__":
    unittest.main()
