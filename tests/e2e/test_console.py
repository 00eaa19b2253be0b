"""A listing in a real console (wine inside tmux, 100 x 30): the coloured
header, the page prompt after a screenful, and "N" to finish without pausing."""

import re
import unittest

from wine_harness import TmuxConsole, border, cells, fixture, wine_path

WIDTH, HEIGHT = 100, 30
FILE_COUNT = 160  # 32 rows of five listing columns: more than one screen
SGR_RUN = r"((?:\x1b\[[0-9;]*m)*)"


def sgr_codes(run):
    return {code for sequence in re.findall(r"\x1b\[([0-9;]*)m", run)
            for code in sequence.split(";")}


def entry_row(row):
    """Listing row `row` (1-based): files 5 * (row - 1) + 1 ... 5 * row, each
    of size equal to its number, in listing columns of 20."""
    pieces = []
    for place in range(5):
        number = 5 * (row - 1) + place + 1
        pieces += [(20 * place + 1, f"{number:>6}"), (20 * place + 8, f"F{number:03}.TXT")]
        if place < 4:
            pieces.append((20 * place + 20, "│"))
    return cells(*pieces)


class ConsoleTest(unittest.TestCase):
    maxDiff = None

    def test_page_prompt_and_non_stop_key(self):
        files = {f"F{number:03}.TXT": number for number in range(1, FILE_COUNT + 1)}
        with fixture(files) as root, TmuxConsole([], cwd=root, width=WIDTH, height=HEIGHT) as console:
            first_page = console.wait_for(r"\[Q/X\] Stop")
            coloured = console.screen(colours=True)
            console.send_keys("n")
            final = console.wait_for(r"ORVL-EXIT=\d+")
            path = wine_path(root)

        # The first screenful: 29 lines of output, the prompt on the last row.
        self.assertTrue(first_page[0].startswith("Orvalist 98, Version 7.7 "), first_page)
        self.assertEqual(first_page[1:29], ["Path: " + path + "\\*", border(20, 5, WIDTH, "┬")]
                         + [entry_row(row) for row in range(1, 27)])
        self.assertEqual(first_page[29].strip(),
                         "[Q/X] Stop ♦ [N] Non-stop ♦ [H] Help ♦ [Other keys] Continue")
        self.assertTrue(first_page[29].startswith(" " * 20 + "[Q/X] Stop"), first_page[29])

        header = re.match(SGR_RUN + "Path: " + SGR_RUN + re.escape(path + "\\*")
                          + r"((?:\x1b\[[0-9;]*m| )*)$", coloured[1])
        self.assertIsNotNone(header, repr(coloured[1]))
        self.assertIn("91", sgr_codes(header.group(1)))  # attribute 12: bright red
        self.assertIn("92", sgr_codes(header.group(2)))  # attribute 10: bright green
        prompt = re.match(SGR_RUN + " {20}\\[Q/X\\] Stop", coloured[29])
        self.assertIsNotNone(prompt, repr(coloured[29]))
        self.assertTrue({"93", "41"} <= sgr_codes(prompt.group(1)))  # yellow on red

        # After "N" the rest follows without another prompt.
        self.assertFalse(any("[Q/X]" in row for row in final), final)
        end = [entry_row(31), entry_row(32), border(20, 5, WIDTH, "┴")]
        start = final.index(end[0]) if end[0] in final else -1
        self.assertGreaterEqual(start, 0, final)
        self.assertEqual(final[start:start + 3], end)
        self.assertRegex(final[start + 3],
                         r"^12,880 bytes \(12\.58KB\) in 160 files +\d+(\.\d\d[KMG])?B free$")
        self.assertEqual(len(final[start + 3]), WIDTH)
        self.assertEqual(final[start + 4], "655,360 bytes (640.00KB) allocated")
        self.assertIn("ORVL-EXIT=0", "".join(final[start + 5:]))

    def test_finished_output_keeps_the_last_line_whole(self):
        # The end-of-output restore once blanked column 76 of the last line.
        name = "e" * 74 + ".txt"
        with fixture({name: 1}) as root, TmuxConsole(["/B"], cwd=root, width=80, height=10) as console:
            final = console.wait_for(r"ORVL-EXIT=\d+")
        self.assertIn(name, final, final)
        self.assertEqual(final[final.index(name) + 1], "ORVL-EXIT=0")

    def test_names_cannot_drive_the_terminal(self):
        # A title sequence and a clear-screen sequence in names are shown, not obeyed.
        files = {"a.txt": 1, "b\x1b[2Jb.txt": 1, "c\x1b]2;PWNED-TITLE\x07c.txt": 1,
                 "d\x7f\u009b2Jd.txt": 1}
        with fixture(files) as root, TmuxConsole(["/B"], cwd=root, width=80, height=10) as console:
            final = console.wait_for(r"ORVL-EXIT=\d+")
            title = console._tmux("display-message", "-p", "-t", console.session,
                                  "#{pane_title}").stdout.decode()
        start = final.index("a.txt")
        self.assertEqual(final[start:start + 5], ["a.txt", "b?[2Jb.txt", "c?]2;PWNED-TITLE?c.txt",
                                                  "d??2Jd.txt", "ORVL-EXIT=0"], final)
        self.assertNotIn("PWNED", title)


if __name__ == "__main__":
    unittest.main()
