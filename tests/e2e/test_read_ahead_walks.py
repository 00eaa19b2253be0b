"""Walks that read ahead on worker threads, through wine: the same bytes as
on one processor (ORVL_PROCESSORS=1: wine ignores the CPU affinity),
folders wine cannot open passed over with their error, also when the output
file or the batch file grows inside the walked tree; and a quit or a Ctrl+C
at the page prompt of a long walk that ends the run at once."""

import os
import subprocess
import unittest

from wine_harness import (EXE, TmuxConsole, check_program, ensure_prefix, fixture, run_orvl,
                          wine_environment, wine_path)

ONE_PROCESSOR = {"ORVL_PROCESSORS": "1"}


def small_tree(width, depth, files):
    """width folders of width folders ... depth levels deep, files in each."""
    level = {f"f{number:02}.txt": number for number in range(files)}
    if depth > 0:
        level.update({f"d{number:02}": small_tree(width, depth - 1, files) for number in range(width)})
    return level


def without_free_space(raw):
    return b"\n".join(line for line in raw.split(b"\n") if not line.endswith(b" free\r"))


def run_into_file(args, cwd, output, processors):
    """Runs orvl.exe with its output going into a file; returns the bytes written."""
    check_program()
    ensure_prefix()
    env = wine_environment()
    env["ORVL_PROCESSORS"] = str(processors)
    with open(output, "wb") as sink:
        subprocess.run(["wine", EXE, *args], cwd=cwd, env=env, stdin=subprocess.DEVNULL,
                       stdout=sink, stderr=subprocess.DEVNULL, timeout=120, check=False)
    with open(output, "rb") as written:
        return written.read()


class ReadAheadWalksTest(unittest.TestCase):
    maxDiff = None

    def test_workers_change_no_byte_and_pass_over_unreadable_folders(self):
        tree = small_tree(4, 3, 6)
        # Wine cannot open a folder whose Linux name holds a tab.
        tree["d01"]["bad\tdir"] = {"hidden.txt": 1}
        with fixture(tree) as root:
            for args in (["/S", "/B"], ["/S"], ["/TREE"]):
                ahead = run_orvl(args, cwd=root)
                alone = run_orvl(args, cwd=root, environment=ONE_PROCESSOR)
                # The drive's free space is shared with other writers: its line may move.
                self.assertEqual(without_free_space(ahead.raw), without_free_space(alone.raw), args)
                self.assertEqual(ahead.status, 3, ahead)
                self.assertEqual(alone.status, 3, alone)
                self.assertEqual(ahead.lines[-1], "1 directory could not be read", args)
            bare = run_orvl(["/S", "/B"], cwd=root)
            failed = bare.lines.index("Path: " + wine_path(root) + "\\d01\\bad?dir\\*")
            # The system's text under it, then the walk goes on.
            self.assertEqual(bare.lines[failed + 1], "Invalid name", bare)
            self.assertTrue(bare.lines[failed + 2].startswith(wine_path(root) + "\\d0"), bare)
            # 85 folders listed whole and entered (the unreadable one listed
            # only), then its two lines and the count.
            self.assertEqual(len(bare.lines), 85 * 6 + 85 + 3, bare)

    def test_the_runs_own_files_grow_in_the_tree_alike_on_any_number_of_processors(self):
        # d00 is walked last: by then the output has passed 64K (written in
        # pieces of that size) and the batch file holds many lines.
        with fixture(small_tree(6, 3, 12)) as root:
            inside = os.path.join(root, "d00")
            listings = [run_into_file([wine_path(root), "/S"], inside,
                                      os.path.join(inside, "list.txt"), n) for n in (1, 4)]
            self.assertTrue(without_free_space(listings[0]) == without_free_space(listings[1]),
                            "the listings differ")
            self.assertTrue(b" 64.0K list.txt" in listings[0], "list.txt is not listed at 64.0K")
            batch = []
            for n in (1, 4):
                # Each run starts without the batch file the one before left.
                if os.path.exists(os.path.join(inside, "!OVBATCH.BAT")):
                    os.remove(os.path.join(inside, "!OVBATCH.BAT"))
                batch.append(run_orvl([wine_path(root), "/S", "/@echo $"], cwd=inside,
                                      environment={"ORVL_PROCESSORS": str(n)}))
            self.assertTrue(without_free_space(batch[0].raw) == without_free_space(batch[1].raw),
                            "the listings differ")
            # Neither the batch file nor the run's own work file is listed.
            self.assertFalse(any("!OVBATCH" in line for line in batch[0].lines), batch[0])

    def test_ctrl_c_at_the_page_prompt_ends_the_run_and_erases_the_prompt(self):
        with fixture(small_tree(6, 3, 8)) as root, \
                TmuxConsole(["/S"], cwd=root, width=80, height=25) as console:
            console.wait_for(r"\[Q/X\] Stop")
            console.send_keys("C-c")
            final = console.wait_for(r"ORVL-EXIT=\d+", timeout=10)
        self.assertIn("ORVL-EXIT=0", "".join(final))
        self.assertFalse(any("[Q/X] Stop" in row for row in final), final)

    def test_quit_at_the_page_prompt_of_a_long_walk(self):
        with fixture(small_tree(6, 3, 8)) as root, \
                TmuxConsole(["/S"], cwd=root, width=80, height=25) as console:
            console.wait_for(r"\[Q/X\] Stop")
            console.send_keys("q")
            final = console.wait_for(r"ORVL-EXIT=\d+")
        self.assertIn("ORVL-EXIT=0", "".join(final))


if __name__ == "__main__":
    unittest.main()
