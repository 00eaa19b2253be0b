"""./orvl as a Linux user meets it: Linux paths handed over as Windows ones,
piped output as UTF-8 lines, exit codes passed through, and in a terminal
(tmux) the listing placed below nothing old, with the shell's prompt after it."""

import os
import re
import subprocess
import time
import unittest
import uuid

from wine_harness import PREFIX, ROOT, ensure_prefix, fixture, wine_environment

WRAPPER = os.path.join(ROOT, "orvl")


def wrapper_environment():
    env = wine_environment()
    env["ORVL_WINEPREFIX"] = PREFIX
    return env


def run_wrapper(args, cwd):
    ensure_prefix()
    result = subprocess.run([WRAPPER, *args], cwd=cwd, env=wrapper_environment(),
                            stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                            stderr=subprocess.PIPE, timeout=120)
    return result.stdout, result.returncode


class WrapperTest(unittest.TestCase):
    maxDiff = None

    def test_paths_output_and_exit_codes(self):
        tree = {"sub": {"deep": {"x.h": 1, "y.h": 2}}, "a.h": 3, "long": {"n" * 90 + ".txt": 4}}
        with fixture(tree) as root:
            cases = [  # arguments, exit code, the output's lines
                ([root + "/sub/deep", "/B"], 0, ["x.h", "y.h"]),
                (["sub/deep", "/B"], 0, ["x.h", "y.h"]),
                ([root + "/sub/deep/*.h", "/B"], 0, ["x.h", "y.h"]),
                (["*.xyz", "/B"], 1, []),
            ]
            for args, code, lines in cases:
                out, status = run_wrapper(args, root)
                self.assertEqual((status, out.decode("utf-8").split("\n")), (code, lines + [""]),
                                 args)
            out, status = run_wrapper(["/NOSUCH"], root)
            self.assertEqual(status, 2)
            self.assertIn(b"Incorrect command line option entered - /NOSUCH", out)

            started = time.monotonic()
            out, status = run_wrapper(["long", "/W"], root)
            elapsed = time.monotonic() - started
        self.assertEqual(status, 0)
        self.assertNotIn(b"\r", out)
        lines = out.decode("utf-8").split("\n")
        # Line characters and the cut marker as themselves.
        self.assertEqual(lines[2:4], ["─" * 39 + "┬" + "─" * 40, "n" * 38 + "►│"])
        self.assertLess(elapsed, 2.5, "./orvl waited for wine's background processes")

    def test_terminal_listing_starts_below_nothing_old(self):
        ensure_prefix()
        socket = f"orvl-e2e-{os.getpid()}-{uuid.uuid4().hex[:8]}"
        tmux = ["tmux", "-L", socket, "-f", "/dev/null"]
        with fixture({"a.h": 1, "b.h": 2}) as root:
            command = f"clear; seq 1 40; {WRAPPER}; echo ORVL-EXIT=$?; sleep 600"
            subprocess.run(tmux + ["new-session", "-d", "-s", "t", "-x", "80", "-y", "20", "-c",
                                   root, "/bin/bash", "--norc", "-c", command],
                           env=wrapper_environment(), check=True, timeout=30)
            try:
                deadline = time.monotonic() + 60
                while True:
                    rows = subprocess.run(tmux + ["capture-pane", "-p", "-t", "t"],
                                          stdout=subprocess.PIPE, check=True,
                                          timeout=30).stdout.decode("utf-8").split("\n")
                    if any("ORVL-EXIT=" in row for row in rows) or time.monotonic() > deadline:
                        break
                    time.sleep(0.2)
            finally:
                subprocess.run(tmux + ["kill-server"], stderr=subprocess.DEVNULL, timeout=30)
        self.assertTrue(rows[0].startswith("Orvalist 98, Version 7.7 "), rows)
        self.assertEqual(rows[1].rstrip(), "Path: Z:" + root.replace("/", "\\") + "\\*")
        end = [i for i, row in enumerate(rows) if row.startswith("ORVL-EXIT=")]
        self.assertEqual(len(end), 1, rows)
        self.assertEqual(rows[end[0]], "ORVL-EXIT=0")
        self.assertTrue(re.match(r"^\d[\d,]* bytes .*allocated", rows[end[0] - 1]), rows)
        self.assertNotIn("40", [row.strip() for row in rows])


if __name__ == "__main__":
    unittest.main()
