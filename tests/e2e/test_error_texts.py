"""The error texts of a failed search as wine produces them, each with its
exit status: a folder that cannot be read, a file named as a folder, a link
loop, a path too long for wine, a folder another program holds, a device.
(A mask that matches nothing, a missing folder and an unknown drive are in
test_foundation; what wine cannot produce is in the unit tests.)"""

import os
import shutil
import subprocess
import tempfile
import unittest

from wine_harness import (CUT_MARKER, ensure_prefix, fixture, run_orvl, wine_environment,
                          wine_path)

# Root reads anything: without its capabilities it meets the folder's mode.
WITHOUT_CAPABILITIES = ("setpriv", "--bounding-set=-all", "--inh-caps=-all", "--")

# Opens a folder with no sharing and holds it until its input ends.
HOLDER_SOURCE = r"""
#include <windows.h>
#include <stdio.h>
int main(int argc, char** argv) {
  HANDLE held = CreateFileA(argv[1], GENERIC_READ, 0, NULL, OPEN_EXISTING,
                            FILE_FLAG_BACKUP_SEMANTICS, NULL);
  printf(held == INVALID_HANDLE_VALUE ? "failed\n" : "held\n");
  fflush(stdout);
  getchar();
  return 0;
}
"""

# 22 folders of 200 characters: deeper than the about 4,080 characters wine takes.
DEEP = ["d" * 200] * 22


def make_deep(root):
    """The DEEP folders, one inside the other (each made from the one before,
    as the whole path is too long for the system calls)."""
    folder = os.open(root, os.O_RDONLY)
    try:
        for name in DEEP:
            os.mkdir(name, dir_fd=folder)
            inner = os.open(name, os.O_RDONLY, dir_fd=folder)
            os.close(folder)
            folder = inner
    finally:
        os.close(folder)


class ErrorTextsTest(unittest.TestCase):
    maxDiff = None

    def expect(self, run, path, text):
        """The banner, the Path: line (a path too long for it cut and marked),
        the text; the run ended by an error."""
        shown = path if len(path) <= 73 else path[:72] + CUT_MARKER
        self.assertEqual(run.lines[1:], ["Path: " + shown, text], run)
        self.assertEqual(run.status, 3, run)

    def test_texts_of_failed_searches(self):
        with fixture({"locked": {"a.txt": 1}, "a.txt": 1}) as root:
            os.chmod(os.path.join(root, "locked"), 0)
            os.symlink(".", os.path.join(root, "loop"))
            make_deep(root)
            here = wine_path(root) + "\\"
            loop = "loop\\" * 45 + "*"
            deep = "\\".join(DEEP) + "\\*"
            cases = [
                (["locked\\*"], WITHOUT_CAPABILITIES, here + "locked\\*", "File access denied"),
                (["a.txt\\*"], (), here + "a.txt\\*", "Invalid name"),
                ([loop], (), here + loop, "The filename cannot be resolved"),
                ([deep], (), here + deep, "General failure"),
                (["\\\\.\\pipe\\*"], (), "\\\\.\\pipe\\*", "Network device type incorrect"),
            ]
            for args, launcher, path, text in cases:
                with self.subTest(text=text):
                    self.expect(run_orvl(args, cwd=root, launcher=launcher), path, text)

    def test_a_walk_passes_over_a_folder_it_cannot_read(self):
        with fixture({"locked": {"a.txt": 1}, "open": {"b.txt": 1}}) as root:
            os.chmod(os.path.join(root, "locked"), 0)
            run = run_orvl(["/S", "/B"], cwd=root, launcher=WITHOUT_CAPABILITIES)
            here = wine_path(root) + "\\"
        self.assertEqual(run.lines, [
            here + "locked", here + "open", here + "open\\b.txt", "Path: " + here + "locked\\*",
            "File access denied", "1 directory could not be read"], run)
        self.assertEqual(run.status, 3, run)

    def test_a_folder_another_program_holds(self):
        work = tempfile.mkdtemp(prefix="orvl-e2e-holder-", dir="/tmp")
        try:
            source = os.path.join(work, "hold.c")
            with open(source, "w") as out:
                out.write(HOLDER_SOURCE)
            holder = os.path.join(work, "hold.exe")
            subprocess.run(["x86_64-w64-mingw32-g++", "-x", "c++", "-static", "-o", holder,
                            source], check=True, timeout=120)
            with fixture({"held": {"a.txt": 1}}) as root:
                ensure_prefix()
                process = subprocess.Popen(["wine", holder, "held"], cwd=root,
                                           env=wine_environment(), stdin=subprocess.PIPE,
                                           stdout=subprocess.PIPE, stderr=subprocess.DEVNULL)
                try:
                    self.assertEqual(process.stdout.readline(), b"held\r\n")
                    run = run_orvl(["held\\*"], cwd=root)
                finally:
                    process.stdin.close()
                    process.wait(timeout=60)
                    process.stdout.close()
                self.expect(run, wine_path(root) + "\\held\\*", "Sharing violation")
        finally:
            shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    unittest.main()
