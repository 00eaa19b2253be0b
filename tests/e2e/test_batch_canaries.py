"""The batch file tried as an attacker would: names that carry commands of
their own, against the templates a user may write, run by wine's cmd with
and without delayed expansion, and in a double-byte code page."""

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
    "a\"^&mkdir PWN{}", "zz^", "a!^&mkdir PWN{}!", "a^!&mkdir PWN{}", "x\u0085mkdir PWN{}",
    "w*&mkdir PWN{}", "n 2", "bang!OVEVIL!x",
]
# Names that split into several arguments unless quoted (each piece names a
# file of the working or parent folder), and names a caret or percent would
# bend: every one must reach its own file and no other.
SPLITTERS = ["a . b", "c .. d", "my file.txt", "b VSPACE", "c,VCOMMA", "s;VSEMI", "e=VEQ",
             "f (1).txt", "a&b.txt", "100%.txt", "50%off", "x%a.txt", "caret^x", "p^^q.txt",
             "bang!x.txt", "plus+x", "dot.", "blank ", "co:lon"]
# Files outside the listing that a split name would reach: in the working
# folder (".", "file.txt", "VSPACE" ...) and its parent ("..").
OUTSIDE = ["file.txt", "b", "d", "a", "c", "s", "e", "my", "VSPACE", "VCOMMA", "VSEMI", "VEQ",
           "keep.txt"]
PLAIN = set("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789\\:._-~#@$[]{}")
# The environment a delayed expansion of "!OVEVIL!" would run.
EVIL = {"OVEVIL": "&md CAN09"}

# Templates as users write them; those marked "del" must delete exactly the
# files that got a line; "echo" ones print each path as its line wrote it.
TEMPLATES = [
    ("del $", "del"),
    ("del /q $", "del"),
    ("del /q $ 2>nul", "del"),
    ("for %%a in ($) do del %%a", "del"),
    ('for %%a in ("$") do del "%%~a"', "del"),
    ('call del "$"', "del"),
    ("ren $ $.bak", ""),
    ("copy $ x", ""),
    ("echo $", "echo"),
    ('for /f "delims=" %%a in ("$") do echo %%a', "raw"),
    ("setlocal EnableDelayedExpansion & call echo $", ""),
    ("cmd /c echo $", ""),
    ("%comspec% /c echo $", ""),
    ("echo $>>log.txt", ""),
]


def shown(path):
    """A path as a line outside the template's quotes carries it."""
    return path if set(path) <= PLAIN else '"' + path + '"'


def run_to_file(args, cwd, out_path, environment=None, timeout=120):
    """Runs a program under wine with its output in a file rather than a pipe,
    which wine's lingering processes would hold open for seconds; returns the
    exit status and the lines of its standard output."""
    env = wine_environment()
    env.update(environment or {})
    with open(out_path, "wb") as out:
        done = subprocess.run(["wine", *args], cwd=cwd, env=env, stdin=subprocess.DEVNULL,
                              stdout=out, stderr=subprocess.DEVNULL, timeout=timeout)
    with open(out_path, "rb") as got:
        return done.returncode, got.read().decode("cp437").replace("\r", "").split("\n")[:-1]


def template_args(number, template):
    switch = "/@" + template
    return [switch] if number % 2 else switch.split(" ")


def write_master(run_dir, batch_files):
    with open(os.path.join(run_dir, "all.bat"), "w", newline="\r\n") as out:
        out.write("@echo off\n")
        for number, name in enumerate(batch_files):
            out.write(f"echo =={number}\ncall {name}\n")


def make_files(directory, names, sizes=None):
    os.makedirs(directory, exist_ok=True)
    for name in names:
        with open(os.path.join(directory, name), "w") as out:
            out.write("x" * (sizes or {}).get(name, 0))


def ja_locale():
    """A locale whose ANSI code page is 932 under wine, built once; None
    without localedef."""
    folder = os.path.join(os.path.dirname(EXE), "..", "locale-ja")
    if not os.path.isdir(os.path.join(folder, "ja_JP.UTF-8")):
        if shutil.which("localedef") is None:
            return None
        os.makedirs(folder, exist_ok=True)
        subprocess.run(["localedef", "-i", "ja_JP", "-f", "UTF-8",
                        os.path.join(folder, "ja_JP.UTF-8")],
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    if not os.path.isdir(os.path.join(folder, "ja_JP.UTF-8")):
        return None
    return {"LOCPATH": os.path.abspath(folder), "LANG": "ja_JP.UTF-8"}


class BatchCanaryTest(unittest.TestCase):
    maxDiff = None

    def setUp(self):
        check_program()
        ensure_prefix()
        self.root = tempfile.mkdtemp(prefix="orvl-e2e-", dir="/tmp")
        self.out = os.path.join(self.root, "stdout.txt")

    def tearDown(self):
        # rmtree recurses once per level, which the long chain of folders exceeds.
        subprocess.run(["rm", "-rf", self.root], check=False)

    def orvl(self, args, cwd, environment=None):
        return run_to_file([EXE, *args], cwd, self.out, environment)

    def batch_lines(self, run_dir, name):
        with open(os.path.join(run_dir, name), "rb") as batch:
            return batch.read().decode("cp1252").split("\r\n")[:-1]

    # Every template's batch file runs under cmd with and without delayed
    # expansion: no canary runs, no file outside the listing is lost, and a
    # deleting template deletes exactly the files that got a line.
    def test_each_line_acts_on_its_own_file_alone(self):
        run_dir = os.path.join(self.root, "R")
        names = [c.format(n) for n, c in enumerate(CANARIES)] + SPLITTERS
        os.mkdir(run_dir)
        batch_files, lined = [], []
        for number, (template, kind) in enumerate(TEMPLATES):
            folder = os.path.join(self.root, f"D{number}")
            make_files(folder, names)
            status, lines = self.orvl([wine_path(folder) + "\\*", "/B", "/A-D",
                                       *template_args(number, template)], run_dir)
            self.assertEqual(status, 0, template)
            batch_files.append(self.take_batch(run_dir, f"t{number}.bat"))
            text = "\n".join(self.batch_lines(run_dir, batch_files[-1]))
            percent = "%%%%" if "call" in template else "%%"
            lined.append({n for n in names
                          if wine_path(folder) + "\\" + n.replace("%", percent) in text})
        write_master(run_dir, batch_files)

        canaries = lost = 0
        for interpreter in (["cmd", "/c"], ["cmd", "/v:on", "/c"]):
            for number in range(len(TEMPLATES)):
                folder = os.path.join(self.root, f"D{number}")
                shutil.rmtree(folder)
                make_files(folder, names)
            make_files(run_dir, OUTSIDE)
            make_files(self.root, OUTSIDE)
            _, output = run_to_file([*interpreter, "all.bat"], run_dir, self.out, EVIL)
            here = set(os.listdir(run_dir))
            canaries += sum(1 for n in here if n.startswith(("PWN", "CAN")))
            lost += sum(1 for n in OUTSIDE if n not in here)
            lost += sum(1 for n in OUTSIDE if not os.path.exists(os.path.join(self.root, n)))
            lost += sum(1 for b in batch_files + ["all.bat"] if b not in here)
            self.check_each_template(output, names, lined, interpreter)
            for name in here - set(batch_files) - {"all.bat"}:
                subprocess.run(["rm", "-rf", os.path.join(run_dir, name)], check=False)
        self.assertEqual((canaries, lost), (0, 0))

    def check_each_template(self, output, names, lined, interpreter):
        sections = "\n".join(output).split("==")[1:]
        self.assertEqual(len(sections), len(TEMPLATES))
        for number, (template, kind) in enumerate(TEMPLATES):
            folder = os.path.join(self.root, f"D{number}")
            directory = wine_path(folder) + "\\"
            printed = [line for line in sections[number].split("\n")[1:] if line]
            if kind == "del":
                # wine cannot open a name holding "|": its line acts on nothing
                gone = set(names) - set(os.listdir(folder))
                self.assertEqual(gone, {n for n in lined[number] if "|" not in n},
                                 (template, interpreter))
            elif kind == "echo":
                self.assertEqual(sorted(printed), sorted(shown(directory + n) for n in lined[number]),
                                 (template, interpreter))
            elif kind == "raw":
                self.assertEqual(sorted(printed), sorted(directory + n for n in lined[number]),
                                 (template, interpreter))
        # Names a quote keeps whole get their line under every template whose
        # reads can be counted.
        for name in ["a . b", "c .. d", "my file.txt", "b VSPACE", "c,VCOMMA", "a&b.txt"]:
            self.assertTrue(all(name in lined[number] for number, (template, _) in
                                enumerate(TEMPLATES) if "%comspec%" not in template), name)

    def take_batch(self, run_dir, name):
        os.rename(os.path.join(run_dir, "!OVBATCH.BAT"), os.path.join(run_dir, name))
        return name

    # A "!" names a variable under delayed expansion; a "*" or "?" names
    # every file it matches; bytes that are not UTF-8 come through as U+FFFD,
    # and a line would name the file that really holds it (here one the size
    # filter left out); the run's own file is gone when the lines run.
    def test_del_acts_on_the_listed_files_alone(self):
        victims = os.path.join(self.root, "victims")
        make_files(victims, ["keep.txt", "keep!old!.txt", "*.doc", "big.doc", "x?.txt", "xa.txt",
                             "gone.txt", "bad\ufffd\ufffd.txt"],
                   sizes={"keep.txt": 1, "big.doc": 1, "xa.txt": 1, "bad\ufffd\ufffd.txt": 1})
        open(os.path.join(victims.encode(), b"bad\xff\xfe.txt"), "w").close()
        status, lines = self.orvl(["*", "/[S,0]", "/B", '/@del "$"'], victims)
        self.assertEqual((status, lines[5:7]), (0, [
            "Warning: batch file left out 3 names the command interpreter cannot carry:",
            "         1 with an unconvertible character (U+FFFD, or half of a UTF-16 pair)"]),
                         lines)
        run_to_file(["cmd", "/v:on", "/c", "!OVBATCH.BAT"], victims, self.out)
        self.assertEqual(sorted(os.listdir(victims.encode())), sorted([
            b"!OVBATCH.BAT", b"*.doc", b"big.doc", b"keep.txt", b"x?.txt", b"xa.txt",
            "bad\ufffd\ufffd.txt".encode(), b"bad\xff\xfe.txt"]))

    # The previous batch file and work files left by other runs get no line
    # (a line for the batch file would delete the script while it runs); a
    # leftover work file never stops a run.
    def test_the_batch_files_get_no_line_and_a_leftover_blocks_nothing(self):
        make_files(self.root, ["a.txt", "!OVBATCH.NEW", "!OVBATCH.77.NEW"])
        with open(os.path.join(self.root, "!OVBATCH.BAT"), "w") as old:
            old.write("old\n")
        status, lines = self.orvl(["*", "/B", '/@del "$"'], self.root)
        self.assertEqual((status, lines), (0, ["a.txt", "stdout.txt"]))
        self.assertEqual(self.batch_lines(self.root, "!OVBATCH.BAT"),
                         ['del "' + wine_path(self.root) + '\\a.txt"',
                          'del "' + wine_path(self.root) + '\\stdout.txt"'])
        self.assertEqual(sorted(os.listdir(self.root)),
                         ["!OVBATCH.77.NEW", "!OVBATCH.BAT", "!OVBATCH.NEW", "a.txt", "stdout.txt"])

    def test_a_batch_file_that_cannot_be_replaced_fails_the_run(self):
        make_files(self.root, ["a.txt"])
        os.mkdir(os.path.join(self.root, "!OVBATCH.BAT"))
        status, lines = self.orvl(["a.txt", "/B", "/@echo", "$"], self.root)
        self.assertEqual(status, 3)
        self.assertEqual(lines, ["a.txt", "Warning: batch file not replaced, no new one written:",
                                 "         " + wine_path(self.root) + "\\!OVBATCH.BAT",
                                 "         Access denied"])
        self.assertEqual(sorted(os.listdir(self.root)), ["!OVBATCH.BAT", "a.txt", "stdout.txt"])

    # A full disk and a read-only folder: the run fails with the reason and
    # the previous batch file stays exactly as it was.
    def test_a_batch_file_not_written_whole_leaves_the_old_one(self):
        disk = os.path.join(self.root, "disk")
        os.mkdir(disk)
        if subprocess.run(["mount", "-t", "tmpfs", "-o", "size=64k", "tmpfs", disk],
                          stderr=subprocess.DEVNULL).returncode != 0:
            self.skipTest("cannot mount a small tmpfs here")
        try:
            names = os.path.join(self.root, "names")
            make_files(names, [f"{n:04} " + "x" * 120 for n in range(800)])
            with open(os.path.join(disk, "!OVBATCH.BAT"), "w") as old:
                old.write("old\n")
            for remount in (None, "remount,ro"):
                if remount and subprocess.run(["mount", "-o", remount, disk]).returncode != 0:
                    self.skipTest("cannot remount read-only")
                out = os.path.join(self.root, "out.txt")
                status, lines = run_to_file([EXE, wine_path(names) + "\\*", "/B", "/@del", "$"],
                                            disk, out)
                # The warning with its reason first, the last two lines at the end.
                what = "created" if remount else "written"
                self.assertEqual((status, lines[0].startswith("Warning: batch file could not be "
                                                              + what), lines[-2:]),
                                 (3, True, ["Warning: batch file not replaced, no new one written:",
                                            "         " + wine_path(disk) + "\\!OVBATCH.BAT"]),
                                 (remount, lines[:2]))
                self.assertEqual(os.listdir(disk), ["!OVBATCH.BAT"], remount)
                with open(os.path.join(disk, "!OVBATCH.BAT")) as old:
                    self.assertEqual(old.read(), "old\n")
        finally:
            subprocess.run(["umount", disk], check=False)

    # In code page 932 a trail byte of "デ", "タ" or "ポ" equals "^" or "|":
    # inside the quotes that no longer matters, and the names reach their files.
    def test_double_byte_names_get_lines_that_act_on_them(self):
        locale = ja_locale()
        if locale is None:
            self.skipTest("localedef cannot build ja_JP")
        names_dir, run_dir = os.path.join(self.root, "names"), os.path.join(self.root, "run")
        names = ["\u30c7\u30fc\u30bf.txt", "\u904b\u52d5.txt", "\u30dd\u30b9\u30bf\u30fc.pdf",
                 "\u65e5\u672c.txt", "a\u30ddmkdir PWN1", "\u30bf&mkdir PWN2", "plain.txt"]
        make_files(names_dir, names)
        os.mkdir(run_dir)
        status, _ = self.orvl([wine_path(names_dir) + "\\*", "/B", "/@del", "$"], run_dir,
                              locale)
        self.assertEqual(status, 0)
        with open(os.path.join(run_dir, "!OVBATCH.BAT"), "rb") as batch:
            lines = batch.read().decode("cp932").split("\r\n")[:-1]
        self.assertEqual(sorted(lines), sorted("del " + shown(wine_path(names_dir) + "\\" + n)
                                               for n in names))
        run_to_file(["cmd", "/c", "!OVBATCH.BAT"], run_dir, self.out, locale)
        self.assertEqual((os.listdir(run_dir), os.listdir(names_dir)), (["!OVBATCH.BAT"], []))

    def test_a_planted_link_is_not_written_through(self):
        root = self.root
        with open(os.path.join(root, "victim.txt"), "w") as victim:
            victim.write("keep\n")
        os.symlink("victim.txt", os.path.join(root, "!OVBATCH.BAT"))
        self.orvl(["victim.*", "/B", "/@echo", "$"], root)
        with open(os.path.join(root, "victim.txt")) as victim:
            self.assertEqual(victim.read(), "keep\n")
        self.assertFalse(os.path.islink(os.path.join(root, "!OVBATCH.BAT")))
        with open(os.path.join(root, "!OVBATCH.BAT")) as batch:
            self.assertEqual(batch.read(), "echo " + wine_path(root) + "\\victim.txt\n")


if __name__ == "__main__":
    unittest.main()
