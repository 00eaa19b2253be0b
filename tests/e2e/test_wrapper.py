"""./orvl as a Linux user meets it: Linux paths handed over as Windows ones,
Linux habits (--help, -la) answered, piped output as UTF-8 lines with every
name exact, exit codes passed through, a reader that goes away ending the
run, and in a terminal (tmux) the listing placed below nothing old, with the
shell's prompt after it."""

import os
import re
import subprocess
import time
import unittest
import uuid

from wine_harness import (EXE, PREFIX, ROOT, ensure_prefix, fixture, read_until_exit,
                          wine_environment, wine_path)

WRAPPER = os.path.join(ROOT, "orvl")


def wrapper_environment():
    env = wine_environment()
    env["ORVL_WINEPREFIX"] = PREFIX
    return env


def run_wrapper(args, cwd):
    """Runs ./orvl with its streams piped; returns its output, stderr and status.
    When it has ended nothing may hold its streams any more (wine's
    background processes, a wine server it started): a caller reading to the
    end of its output would wait for them."""
    ensure_prefix()
    process = subprocess.Popen([WRAPPER, *args], cwd=cwd, env=wrapper_environment(),
                               stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                               stderr=subprocess.PIPE)
    try:
        out, err = read_until_exit(process, 120)
        for stream in (process.stdout, process.stderr):
            try:
                held = os.read(stream.fileno(), 1) != b""
            except BlockingIOError:
                held = True
            if held:
                raise AssertionError(f"a process still holds the output of ./orvl {args}")
    finally:
        process.stdout.close()
        process.stderr.close()
    return out, err, process.returncode


class WrapperTest(unittest.TestCase):
    maxDiff = None

    def test_paths_output_and_exit_codes(self):
        tree = {"sub": {"deep": {"x.h": 1, "y.h": 2}}, "a.h": 3, "long": {"n" * 90 + ".txt": 4},
                "日本.txt": 5, "café.txt": 6, "Ωmega": {}}
        with fixture(tree) as root:
            cases = [  # arguments, exit code, the output's lines
                ([root + "/sub/deep", "/B"], 0, ["x.h", "y.h"]),
                (["sub/deep", "/B"], 0, ["x.h", "y.h"]),
                ([root + "/sub/deep/*.h", "/B"], 0, ["x.h", "y.h"]),
                (["*.xyz", "/B"], 1, []),
                (["*.txt", "/B"], 0, ["café.txt", "日本.txt"]),
                (["/O-N", "/B", "/A-D"], 0, ["日本.txt", "café.txt", "a.h"]),
            ]
            for args, code, lines in cases:
                out, _, status = run_wrapper(args, root)
                self.assertEqual((status, out.decode("utf-8").split("\n")), (code, lines + [""]),
                                 args)
            # A Linux path that does not exist is a path, not a bad switch.
            gone = root + "/gone/deeper"
            out, _, status = run_wrapper([gone], root)
            self.assertEqual((status, out.decode("utf-8").split("\n")[1:]),
                             (1, ["Path: " + wine_path(gone) + "*", "No files found", ""]))
            out, _, status = run_wrapper(["/NOSUCH"], root)
            self.assertEqual(status, 2)
            self.assertIn(b"Incorrect command line option entered - /NOSUCH", out)
            usage, _, status = run_wrapper(["/?"], root)
            self.assertEqual(status, 0)
            for habit in ("--help", "-h"):
                out, _, status = run_wrapper([habit], root)
                self.assertEqual((out, status), (usage, 0), habit)
            out, err, status = run_wrapper(["-la"], root)
            self.assertEqual((out, err, status),
                             (b"", b"orvl: -la: switches start with / here (./orvl /? lists them)\n",
                              2))

            out, _, status = run_wrapper(["long", "/W"], root)
        self.assertEqual(status, 0)
        self.assertNotIn(b"\r", out)
        lines = out.decode("utf-8").split("\n")
        # Line characters and the cut marker as themselves.
        self.assertEqual(lines[2:4], ["─" * 39 + "┬" + "─" * 40, "n" * 38 + "►│"])

    def test_hostile_names_pass_through_xargs_null(self):
        # Blanks, leading dashes, marks, bidi, line breaks and masks: every
        # name comes back byte for byte, in Linux form, NUL-ended. Names wine
        # cannot represent (bytes that are not UTF-8 come to it as U+FFFD, as
        # a real U+FFFD does) are counted on stderr and written nowhere.
        names = [" lead", "trail ", "two  blanks", "-rf", "--help", "-", "e\u0301clair.txt",
                 "eclair.txt", "bi\u202edi.txt", "rtl\u200fmark", "zw\u200bj", "new\nline",
                 "cr\rret", "tab\tname", "esc\x1b[31m", "star*", "q?mark", "co:lon", "pi|pe",
                 "lt<gt>", 'quo"te', "back\\slash", "dot.", "per%cent", "amp&er", "!bang",
                 "$dollar", "`tick`", "'single'", "(paren)", "[set]", "日本語", "Ωmega",
                 "\u0915\u094d\u0937", "\U0001F468\u200d\U0001F469", "x" * 200, "end\u0301",
                 "a\u0308\u0301", "\u1112\u1161\u11ab", "bad\ufffdreal"]
        self.assertEqual(len(names), 40)
        tree = {name: 1 for name in names[:30]}
        tree["sub dir"] = {name: 1 for name in names[30:]}
        tree["-d"] = {"inner": 1}
        with fixture(tree) as root:
            for raw in (b"bad\xff.txt", b"bad\xfe.txt", b"sub dir/bad\xe9"):
                open(os.path.join(root.encode(), raw), "wb").close()
            expected = set()
            for folder, dirs, files in os.walk(root.encode()):
                for name in dirs + files:
                    path = os.path.join(folder, name)
                    try:
                        path.decode("utf-8")
                    except UnicodeDecodeError:
                        continue
                    if "\ufffd".encode() not in path:
                        expected.add(path)
            ensure_prefix()
            pipeline = f"{WRAPPER} /S /B --null | xargs -0 stat --printf '%n\\0' --"
            done = subprocess.run(["bash", "-c", pipeline], cwd=root, env=wrapper_environment(),
                                  stdin=subprocess.DEVNULL, capture_output=True, timeout=120)
            found = done.stdout.split(b"\0")[:-1]
            self.assertEqual((done.returncode, sorted(found)), (0, sorted(expected)), done.stderr)
            self.assertEqual(done.stderr.decode(), "orvl: 4 names left out: the system shows them "
                             "with U+FFFD (bytes that are not UTF-8), so they would not name "
                             "their files\n")
            if os.environ.get("ORVL_SHOW_CAPTURES"):
                print(f"\nxargs -0 stat found {len(found)} of {len(expected)} names")
            # Line mode: a line break inside a name is a "?"; Windows paths when asked.
            out, _, status = run_wrapper(["sub dir", "/B"], root)
            self.assertEqual(status, 0)
            self.assertEqual(sorted(out.split(b"\n")[:-1]),
                             sorted(name.encode() for name in names[30:39]))
            env = wrapper_environment()
            env["ORVL_WINDOWS_PATHS"] = "1"
            out = subprocess.run([WRAPPER, "/S", "/B", "new*"], cwd=root, env=env,
                                 stdin=subprocess.DEVNULL, capture_output=True,
                                 timeout=120).stdout
            self.assertEqual(out, (wine_path(root) + "\\new?line\n").encode())

    def test_command_line_mistakes_get_a_hint(self):
        with fixture({"inc": {"a1.h": 1, "a22.h": 1, "ab.h": 1, "b.h": 1},
                      "data": {f"f{i:05}.dat": 1 for i in range(4000)}}) as root:
            # Past the 32,767 characters Windows takes, nothing would run.
            dat = sorted(os.listdir(os.path.join(root, "data")))
            out, err, status = run_wrapper([os.path.join("data", n) for n in dat] + ["/U"], root)
            self.assertEqual((out, status), (b"", 2))
            self.assertRegex(err.decode(), r"^orvl: the command line is 64\d\d\d characters long, "
                             r"more than the 32767 Windows takes: quote the mask so that the "
                             r"program expands it \('data/f0\*\.dat'\)\n$")
            # bash expanded inc/a*.h into three names of one folder.
            args = [os.path.join(root, "inc", n) for n in ("a1.h", "a22.h", "ab.h")]
            out, err, status = run_wrapper(args, root)
            self.assertEqual(status, 2)
            self.assertEqual(err.decode().splitlines()[-1],
                             f"orvl: the shell expanded a mask into several names: quote it "
                             f"('{root}/inc/a*.h')")

    def test_wrapper_linked_into_a_bin_folder(self):
        with fixture({"bin": {}, "a.h": 1}) as root:
            os.symlink(WRAPPER, os.path.join(root, "bin", "orvl"))
            env = wrapper_environment()
            env["PATH"] = os.path.join(root, "bin") + ":" + env["PATH"]
            done = subprocess.run(["orvl", "/B", "/A-D"], cwd=root, env=env,
                                  stdin=subprocess.DEVNULL, capture_output=True, timeout=120)
        self.assertEqual((done.returncode, done.stdout), (0, b"a.h\n"), done.stderr)

    def test_reader_that_goes_away_ends_the_walk(self):
        # `| head -1`: the first write refused by the gone reader ends the run
        # at once with status 3, where the whole walk would end with 0.
        tree = {f"d{i:02}": {f"{'n' * 60}{j:03}.txt": 1 for j in range(100)} for i in range(30)}
        ensure_prefix()
        with fixture(tree) as root:
            # ./orvl writes Linux paths, the program itself Windows ones.
            for command, first_line in (([WRAPPER, "/S", "/B"], root + "/d00"),
                                        (["wine", EXE, "/S", "/B"], wine_path(root) + "\\d00")):
                process = subprocess.Popen(command, cwd=root, env=wrapper_environment(),
                                           stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                           stderr=subprocess.DEVNULL)
                first = process.stdout.readline()
                process.stdout.close()
                status = process.wait(timeout=120)
                self.assertEqual((first.rstrip(b"\r\n"), status), (first_line.encode(), 3),
                                 command[0])

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
