"""The command line through wine: the usage screen for /? and for a bad
switch, and a size range filter over real files."""

import unittest

from wine_harness import border, cells, fixture, run_orvl

TITLE = "Orvalist 98, Version 7.7 [16 May 98] - 32 bit for Windows 95, 98 and NT"


def pairs(items):
    """Items written two to a line, at columns 1 and 40."""
    lines = []
    for index in range(0, len(items), 2):
        pieces = [(1, items[index])]
        if index + 1 < len(items):
            pieces.append((40, items[index + 1]))
        lines.append(cells(*pieces))
    return lines


def details(switch, *descriptions, first_column=8):
    lines = [cells((1, switch), (first_column, descriptions[0]))]
    lines += [cells((8, text)) for text in descriptions[1:]]
    return lines


USAGE_BODY = [
    "",
    "USAGE: orvl.exe [drive:][path][filename] [ /A[[:][-]RHSDA] /B /BYTE /C /CLR",
    "       /D[:]AF /E /F /G[:]AF /FREE /H /I /J /K[:]x /L /M[:]NSDAFOCRT /N",
    "       /O[:][-]NDESU /P /Q(1-4) /R /S /SET /T[:]ACW /TREE /U /V /W /X /Y /Y2K",
    "       /7BIT /(1..9) /[range] /? ]",
    "",
    "Compatible DOS/NT options:",
    *pairs([
        "/A     Attribute specification", "/B     Bare display format",
        "/C     Display thousands separator", "/D     Same as wide, but sort vertically",
        "/L     Use lower case", "/N     New WinNT long list format",
        "/O     Sort order", "/P     Pause between screens",
        "/S     Recursive subdirectories", "/T     Select date/time format",
        "/V     Verbose display format", "/W     Wide display format",
        "/X     Show 8.3 filenames", "/?     this help information",
    ]),
    "",
    "Common Orvalist options:",
    *pairs([
        "/BYTE  File sizes in BYTEs", "/E     uppEr case filenames",
        "/F     Full path name", "/I     display drive Information",
        "/M     Modify display format", "/R     Regular expression wildcards",
        "/SET   Change settings", "/TREE  display directory TREE",
        "/Y     Vertical sort direction", "/(1-9) specify number of columns",
        "/[range] Range specification", "/@cmd  Batch mode",
    ]),
    "",
    "",
    "Other Orvalist options:",
    *pairs([
        "/CLR   CLeaR screen before display", "/G     Disable colour",
        "/FREE  display FREE space", "/H     Hide dots",
        "/J     Justify names (8.3 only)", "/K     specify redirection width",
        "/Q     specify minimum no of columns", "/U     display only sUmmary info",
        "/Y2K   display dates in 4 digit format", "/Z     display file descriptions",
        "/7BIT  use 7 BIT ASCII",
    ]),
    "DETAILS:",
    *details("/A", "Attribute specification", "  R Read only", "  H Hidden", "  S System",
             "  A Archive", "  D Directory"),
    *details("/B", "Use bare mode (no header or summary information)"),
    *details("/BYTE", "Display file sizes in bytes"),
    *details("/C", "Display thousands separator"),
    *details("/CLR", "Clear screen"),
    *details("/D", "Same as wide format (/W) but sort vertically"),
    *details("/E", "Use upper case"),
    *details("/F", "Display full path names"),
    *details("/FREE", "Display free space"),
    *details("/G", "Disable colour", "  A Disable all colour", "  F Disable file colour"),
    *details("/H", "Hide dots"),
    *details("/I", "Display drive summary information"),
    *details("/J", "Justify filenames (8.3 filenames only)"),
    *details("/Kx", "Number of columns to use when redirecting output (minimum of 40)"),
    *details("/L", "Use lower case"),
    *details("/M", "Custom display format", "  N Filename", "  S File size",
             "  T File date/time (based on /T; Win95/NT only)",
             "  T1 Last accessed time (Win95/NT only)", "  T2 Creation time (Win95/NT only)",
             "  T3 Last write time (Win95/NT only)", "  A File Attributes", "  F FAT alias",
             "  D File description",
             "  O[x] File owner where x is column width (default 15) (NT only)",
             "  C Compressed file size (NT only)", "  R Compression ratio (NT only)",
             "  (N and D are mutually exclusive)"),
    *details("/N", "New WinNT long list format"),
    *details("/O", "Set sort order", "  N Sort by name", "  D Sort by date",
             "  E Sort by extension", "  S Sort by size", "  U Unsorted",
             "  G Group directories first"),
    *details("/P", "Pause between screens"),
    *details("/Q", "Limit minimum number of columns to 1, 2, 3 or 4"),
    *details("/R", "Wildcards interpreted as regular expressions"),
    *details("/SET", "Change default settings"),
    *details("/T", "Specify date/time display", "  A Last access time", "  C Creation time",
             "  W Last write time (default)"),
    *details("/TREE", "Display directory tree structure including disk space consumption"),
    *details("/U", "display sUmmary information only"),
    *details("/V", "Verbose file display"),
    *details("/W", "Wide display format (filenames only)"),
    *details("/X", "Display 8.3 FAT aliases (Win95 only)"),
    *details("/Y", "Vertical sorting direction"),
    *details("/Y2K", "Display dates in 4 digit format (year 2000 compliance)"),
    *details("/Z", "Display file descriptions"),
    *details("/7BIT", "Use 7BIT ASCII"),
    *details("/@cmd", "Batch mode. Generates !OVBATCH.BAT. Use $ for filename.",
             "See the help file for full details"),
    *details("/(1..9)", "Specify absolute number of columns to display (1 to 9)"),
    *details("/[range]", "Filter files based on a range of dates, times, or sizes",
             "  /[D...] Date filter", "  /[T...] Time filter", "  /[S...] Size filter",
             "  See the help file for full details on range specifications.",
             first_column=10),
    *details("/?", "Displays this help information"),
    "NB: You can override preset switches by prefixing any switch with - (hyphen)",
    "",
]


class CommandLineTest(unittest.TestCase):
    maxDiff = None

    def test_help_screen(self):
        with fixture({"A.TXT": 1}) as root:
            run = run_orvl(["/?"], cwd=root)
        self.assertEqual(run.status, 0)
        self.assertEqual(run.lines, [TITLE] + USAGE_BODY)

    def test_bad_switch_shows_the_arguments_and_the_usage(self):
        with fixture({"A.TXT": 1}) as root:
            run = run_orvl(["*.*", "/Q9"], cwd=root)
        self.assertEqual(run.status, 2)  # the command line was refused
        # Arguments 3 to 8 are missing: their blanks end the line and are
        # dropped from redirected output.
        self.assertEqual(run.lines, [
            TITLE,
            "",
            "Incorrect command line option entered - *.* /Q9",
        ] + USAGE_BODY)

    def test_size_range_keeps_files_from_1k_to_2k(self):
        files = {
            "DIR": {},
            "S1023.BIN": 1023,
            "S1024.BIN": 1024,
            "S1500.BIN": 1500,
            "S2048.BIN": 2048,
            "S2049.BIN": 2049,
        }
        with fixture(files) as root:
            run = run_orvl(["/[S1K,2K]"], cwd=root)
        self.assertEqual(run.status, 0)
        self.assertEqual(run.lines[2:5], [
            border(20, 4, 80, "┬"),
            cells((1, "  1.0K"), (8, "S1024.BIN"), (20, "│"),
                  (21, "  1.5K"), (28, "S1500.BIN"), (40, "│"),
                  (41, "  2.0K"), (48, "S2048.BIN"), (60, "│")),
            border(20, 4, 80, "┴"),
        ], run)
        self.assertRegex(run.lines[5], r"^4,572 bytes \(4\.46KB\) in 3 files +"
                                       r"\d+(\.\d\d[KMG])?B free$")
        self.assertEqual(len(run.lines[5]), 80)
        self.assertEqual(run.lines[6:], ["12,288 bytes (12.00KB) allocated"], run)


if __name__ == "__main__":
    unittest.main()
