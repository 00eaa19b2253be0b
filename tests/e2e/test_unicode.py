"""Names outside the ANSI code page: the console shows them exactly, in
aligned columns; piped output carries them in code page 437, '?' for what it
cannot hold, or exactly in UTF-8 when ORVL_PLAIN_UTF8=1 asks for it (as
./orvl does); the walk enters such directories as themselves."""

import ctypes
import os
import unittest
import unicodedata

from wine_harness import TmuxConsole, cells, fixture, run_orvl, wine_path

TREE = {"日本.txt": 2, "café.txt": 1, "Ωmega": {"a.txt": 3}, "日本": {"b.txt": 4}}
# The second cell of a wide character shows a zero-width space; here it is
# kept as a character of its own, so string positions are screen columns.
TRAIL = "\u200b"


class UnicodeNamesTest(unittest.TestCase):
    maxDiff = None

    def test_piped_walk_lists_the_files_inside_both_directories(self):
        with fixture(TREE) as root:
            run = run_orvl(["/S", "/B"], cwd=root)
            path = wine_path(root)
        self.assertEqual(run.status, 0, run)
        self.assertEqual(run.lines, [path + "\\Ωmega", path + "\\????", path + "\\café.txt",
                                     path + "\\????.txt", path + "\\????\\b.txt",
                                     path + "\\Ωmega\\a.txt"])

    def test_piped_walk_asked_for_utf8_keeps_every_name(self):
        with fixture(TREE) as root:
            run = run_orvl(["/S", "/B"], cwd=root, environment={"ORVL_PLAIN_UTF8": "1"})
            path = wine_path(root)
        self.assertEqual(run.raw.decode("utf-8").split("\r\n"),
                         [path + "\\Ωmega", path + "\\日本", path + "\\café.txt",
                          path + "\\日本.txt", path + "\\日本\\b.txt", path + "\\Ωmega\\a.txt", ""])

    def test_piped_columns_stay_where_the_layout_put_them(self):
        # A wide character the code page cannot hold is a "?" per cell.
        with fixture(TREE) as root:
            run = run_orvl([], cwd=root)
        listing = [line for line in run.lines if "Ωmega" in line]
        self.assertEqual(listing, [cells(
            (1, " <DIR>"), (8, "Ωmega"), (20, "│"), (21, " <DIR>"), (28, "????"), (40, "│"),
            (41, "     1"), (48, "café.txt"), (60, "│"), (61, "     2"), (68, "????.txt"))], run)

    def test_console_shows_the_real_names_in_aligned_columns(self):
        with fixture(TREE) as root, TmuxConsole([], cwd=root, width=100, height=30) as console:
            rows = console.wait_for(r"ORVL-EXIT=\d+")
        wide = "日" + TRAIL + "本" + TRAIL
        listing = [row for row in rows if "Ωmega" in row]
        self.assertEqual(len(listing), 1, rows)
        self.assertEqual(listing[0].rstrip(" "),
                         cells((1, " <DIR>"), (8, "Ωmega"), (20, "│"), (21, " <DIR>"), (28, wide),
                               (40, "│"), (41, "     1"), (48, "café.txt"), (60, "│"),
                               (61, "     2"), (68, wide + ".txt"), (80, "│")))


# A direction override or an invisible character shows as "?", one per
# character, so that "evil<RLO>txt.exe" cannot pass for "eviltxt.exe" nor
# "zw<ZWSP>x.txt" for "zwx.txt"; piped output and the console alike.
DISGUISED = {"evil\u202etxt.exe": 1, "zw\u200bx.txt": 1, "zwx.txt": 1, "iso\u2066l\u2069.txt": 1,
             "bom\ufeff.txt": 1}
SHOWN = ["evil?txt.exe", "zw?x.txt", "zwx.txt", "iso?l?.txt", "bom?.txt"]


class DisguisedNamesTest(unittest.TestCase):
    def test_piped_and_console_show_each_hiding_character(self):
        with fixture(DISGUISED) as root:
            piped = run_orvl(["/B"], cwd=root)
            with TmuxConsole(["/B"], cwd=root, width=60, height=20) as console:
                rows = console.wait_for(r"ORVL-EXIT=\d+")
        self.assertEqual(sorted(piped.lines), sorted(SHOWN), piped)
        self.assertEqual(sorted(row.rstrip(" ") for row in rows if ".txt" in row or ".exe" in row),
                         sorted(SHOWN), rows)


# Names of twenty scripts and forms, marks and joiners among them; the
# decomposed (NFD) ones show composed.
SCRIPTS = ["हिंदी", "বাংলা\u0981", "ਪੰਜਾਬੀ", "தமிழ்", "తెలుగు", "ខ្មែរ", "မြန်မာ", "ߒߞߏ߫",
           "ܣܘܪܝܝܐ\u0730", "ދިވެހި", "བོད་ཡིག", "ᠮᠣ\u180bᠩ", unicodedata.normalize("NFD", "한국어"),
           "\u4dc0\u4dc1", "עִבְרִית", "عَرَبِيّ", unicodedata.normalize("NFD", "café"),
           unicodedata.normalize("NFD", "ἀλφα"), "กิน", "\U0001F468\u200d\U0001F469\u200d\U0001F467"]

_LIBC = ctypes.CDLL("libc.so.6")
_LIBC.setlocale(6, b"C.UTF-8")  # LC_ALL: the widths tmux takes from the C library


def terminal_columns(row, character):
    """The 1-based terminal columns at which a character stands in a captured row."""
    found, column = [], 1
    for c in row:
        if c == character:
            found.append(column)
        column += max(_LIBC.wcwidth(ctypes.c_wchar(c)), 0)
    return found


class ScriptColumnsTest(unittest.TestCase):
    maxDiff = None

    def test_rows_of_twenty_scripts_stay_aligned_in_tmux(self):
        # The ASCII name widens the listing columns to 20 cells: four a row at
        # 80 columns, two at 40. Each mark takes a console cell the terminal
        # does not show, which the blanks of the row give up.
        tree = {name: 1 for name in SCRIPTS + ["columns-of-20-cells"]}
        for width in (80, 40):
            with fixture(tree) as root, \
                    TmuxConsole(["/W"], cwd=root, width=width, height=40) as console:
                rows = console.wait_for(r"ORVL-EXIT=\d+")
            if os.environ.get("ORVL_SHOW_CAPTURES"):
                print(f"\n--- /W at {width} columns ---\n" + "\n".join(r.rstrip() for r in rows))
            top = next(row for row in rows if "┬" in row)
            separators = terminal_columns(top, "┬")
            self.assertEqual(separators, list(range(20, width, 20)), top)
            listed = [row for row in rows if "│" in row]
            self.assertEqual(len(listed), -(-len(tree) // (width // 20)), rows)
            for row in listed:
                self.assertEqual(terminal_columns(row, "│"), separators, (width, row))
            # Every character shows (characters beyond 16 bits excepted: wine's
            # console sends each half of them on its own).
            text = "".join(rows).replace("\u200b", "")
            for name in SCRIPTS[:-1]:
                self.assertIn(unicodedata.normalize("NFC", name), text, (width, name))


if __name__ == "__main__":
    unittest.main()
