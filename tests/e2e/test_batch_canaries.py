"""The batch file tried as an attacker would: names that carry commands of
their own, against the templates a user may write, run by wine's cmd."""

import os
import shutil
import subprocess
import tempfile
import unittest

from wine_harness import EXE, check_program, ensure_prefix, wine_environment, wine_path

# Each canary would create the directory (or file) PWN<n> in the working
# directory if any part of it ran as a command.
CANARIES = [
    "a&mkdir PWN{}", "a|mkdir PWN{}", "a&&mkdir PWN{}", "a>PWN{}", "a>>PWN{}", "a<b&mkdir PWN{}",
    "a^&mkdir PWN{}", "a^^&mkdir PWN{}", "a)&mkdir PWN{}&(", "x) do mkdir PWN{} (",
    "(a)|mkdir PWN{}", "a%%&mkdir PWN{}", "%cmdcmdline:~-1%&mkdir PWN{}&%cmdcmdline:~-1%",
    "%comspec%&mkdir PWN{}", "!comspec!&mkdir PWN{}", "a,b;c=d&mkdir PWN{}", "@&mkdir PWN{}",
    "q\"&mkdir PWN{}&\"", "\"&mkdir PWN{}", "a\"b\"&mkdir PWN{}", "x\nmkdir PWN{}",
    "x\rXmkdir PWN{}", "x\r\nmkdir PWN{}", "^\nmkdir PWN{}", "x\x1amkdir PWN{}",
    "a\"^&mkdir PWN{}", "zz^",
]
SAFE = ["plain.txt", "with blank.txt", "f (1).txt", "a&b.txt", "100%.txt", "caret^x", "semi;x"]

# Template, and whether it parses the line a second time.
TEMPLATES = [
    ("echo $", False),
    ('echo "$"', False),
    ("echo ^\"$^\"", False),
    ("for %%f in ($) do echo %%f", True),
    ("call echo $", True),
    ("cmd /c echo $", True),
]


def run_to_file(args, cwd, out_path):
    """Runs a program under wine with its output in a file rather than a pipe,
    which wine's lingering processes would hold open for seconds; returns the
    lines of its standard output."""
    with open(out_path, "wb") as out:
        subprocess.run(["wine", *args], cwd=cwd, env=wine_environment(), stdin=subprocess.DEVNULL,
                       stdout=out, stderr=subprocess.DEVNULL, timeout=60)
    with open(out_path, "rb") as got:
        return got.read().decode("cp437").replace("\r", "").split("\n")[:-1]


def carried(name, twice):
    if any(ord(c) < 32 or c == '"' for c in name):
        return False
    return not (twice and "%" in name)


class BatchCanaryTest(unittest.TestCase):
    maxDiff = None

    def test_no_name_runs_a_command(self):
        check_program()
        ensure_prefix()
        root = tempfile.mkdtemp(prefix="orvl-e2e-", dir="/tmp")
        try:
            self.check_canaries(root)
        finally:
            shutil.rmtree(root, ignore_errors=True)

    def check_canaries(self, root):
        names_dir, run_dir = os.path.join(root, "names"), os.path.join(root, "run")
        os.mkdir(names_dir)
        os.mkdir(run_dir)
        names = [c.format(n) for n, c in enumerate(CANARIES)] + SAFE
        for name in names:
            open(os.path.join(names_dir, name), "w").close()
        spec = wine_path(names_dir) + "\\*"

        master = ["@echo off"]
        for number, (template, twice) in enumerate(TEMPLATES):
            lines = run_to_file([EXE, spec, "/B", "/A-D", *("/@" + template).split(" ")], cwd=run_dir, out_path=os.path.join(root, "stdout.txt"))
            left_out = sum(not carried(n, twice) for n in names)
            self.assertEqual(lines[len(names)], "Warning: batch file left out "
                             f"{left_out} names the command interpreter cannot carry:", lines)
            os.rename(os.path.join(run_dir, "!OVBATCH.BAT"), os.path.join(run_dir, f"t{number}.bat"))
            master += [f"echo =={number}", f"call t{number}.bat"]
        with open(os.path.join(run_dir, "all.bat"), "w", newline="\r\n") as out:
            out.write("\n".join(master) + "\n")
        output = run_to_file(["cmd", "/c", "all.bat"], cwd=run_dir, out_path=os.path.join(root, "stdout.txt"))

        expected_files = {"all.bat"} | {f"t{n}.bat" for n in range(len(TEMPLATES))}
        self.assertEqual(set(os.listdir(run_dir)), expected_files)
        self.assertEqual(sorted(os.listdir(names_dir)), sorted(names))

        sections = "\n".join(output).split("==")[1:]
        directory = wine_path(names_dir) + "\\"
        for number, (template, twice) in enumerate(TEMPLATES):
            lines = sections[number].split("\n")[1:]
            if lines and lines[-1] == "":
                lines.pop()
            with open(os.path.join(run_dir, f"t{number}.bat"), "rb") as batch:
                self.assertEqual(batch.read().count(b"\r\n"),
                                 sum(carried(n, twice) for n in names), template)
            if template.startswith("for"):
                continue  # the set splits names at blanks and separators
            quote = '"' if '"' in template else ""
            self.assertEqual(sorted(lines), sorted(quote + directory + n + quote
                                                   for n in names if carried(n, twice)), template)

    def test_a_planted_link_is_not_written_through(self):
        check_program()
        ensure_prefix()
        root = tempfile.mkdtemp(prefix="orvl-e2e-", dir="/tmp")
        try:
            with open(os.path.join(root, "victim.txt"), "w") as victim:
                victim.write("keep\n")
            os.symlink("victim.txt", os.path.join(root, "!OVBATCH.BAT"))
            run_to_file([EXE, "victim.*", "/B", "/@echo", "$"], cwd=root,
                        out_path=os.path.join(root, "stdout.txt"))
            with open(os.path.join(root, "victim.txt")) as victim:
                self.assertEqual(victim.read(), "keep\n")
            self.assertFalse(os.path.islink(os.path.join(root, "!OVBATCH.BAT")))
            with open(os.path.join(root, "!OVBATCH.BAT")) as batch:
                self.assertEqual(batch.read(), "echo " + wine_path(root) + "\\victim.txt\n")
        finally:
            shutil.rmtree(root, ignore_errors=True)


if __name__ == "__main__":
    unittest.main()
