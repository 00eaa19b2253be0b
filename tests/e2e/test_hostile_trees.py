"""Odd arguments and hostile trees through wine: a blank specification, a
link back to an ancestor, a sparse 10 TiB file and a name with a line feed."""

import os
import unittest

from wine_harness import fixture, run_orvl, wine_path

TEN_TIB = 10 << 40


class HostileTreesTest(unittest.TestCase):
    maxDiff = None

    def test_blank_specification_lists_the_working_directory(self):
        with fixture({"a.txt": 1, "sub": {"b.txt": 2}}) as root:
            for args in ([" ", "/S", "/B"], ["/K80 ", "/S", "/B"]):
                run = run_orvl(args, cwd=root)
                self.assertEqual(run.lines, [wine_path(root) + "\\sub",
                                             wine_path(root) + "\\a.txt",
                                             wine_path(root) + "\\sub\\b.txt"], run)

    def test_link_loop_ends_with_the_systems_text(self):
        # Wine shows the link as a plain directory: the walk goes on until the
        # path is too long, and must then say so in the system's words.
        with fixture({"a.txt": 1}) as root:
            os.symlink(".", os.path.join(root, "loop"))
            run = run_orvl(["/S", "/B"], cwd=root, timeout=120)
            self.assertEqual(run.status, 0)
            self.assertNotIn("Floating point underflow", run.lines)
            self.assertFalse(any(line.startswith("Error ") for line in run.lines), run.lines[-3:])

    def test_huge_sparse_file_and_control_characters_in_names(self):
        with fixture({}) as root:
            with open(os.path.join(root, "ten_tib.bin"), "wb") as out:
                out.truncate(TEN_TIB)
            open(os.path.join(root, "nl\nname"), "wb").close()
            run = run_orvl(["/B", "/S"], cwd=root)
            self.assertEqual(sorted(line.rsplit("\\", 1)[1] for line in run.lines),
                             ["nl?name", "ten_tib.bin"], run)
            run = run_orvl([], cwd=root)
            fields = [field.strip() for line in run.lines for field in line.split("│")]
            self.assertIn("10.0T ten_tib.bin", fields, run)


if __name__ == "__main__":
    unittest.main()
