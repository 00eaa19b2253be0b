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
    "w*&mkdir PWN{}", "n 2",
]
SAFE = ["plain.txt", "with blank.txt", "f (1).txt", "a&b.txt", "100%.txt", "caret^x", "semi;x",
        "bang!x.txt"]
# What the interpreter acts on: under a template whose parses cannot be
# counted, names holding one get no line.
METACHARACTERS = set("&|<>^()%!")

# Template, and what it does to a name: parses it twice, starts another
# interpreter, hides its parses, redirects right after the "$". Odd ones are
# given as one argument, as a caller that quotes the whole switch does.
TEMPLATES = [
    ("echo $", ""),
    ('echo "$"', ""),
    ("echo ^\"$^\"", ""),
    ("for %%f in ($) do echo %%f", "twice"),
    ("call echo $", "twice"),
    ("cmd /c echo $", "twice new"),
    ("%comspec% /c echo $", "twice new hidden"),
    ("cm^d /c echo $", "hidden"),
    ("cmd/c echo $", "twice new hidden"),
    ("echo $>>log.txt", "redirect"),
    ('if exist "$" (echo found) else echo gone', ""),
    ('set "X=$" & call echo %%X%%', "hidden"),
    ("rem $", ""),
    ("echo.$", ""),
]


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


def carried(name, kind):
    if any(ord(c) < 32 or 0x80 <= ord(c) < 0xA0 or c in '"*?' for c in name):
        return False
    if "twice" in kind and "%" in name or "new" in kind and "!" in name:
        return False
    if "hidden" in kind and METACHARACTERS & set(name):
        return False
    return not ("redirect" in kind and name[-1].isdigit() and not name[-2].isalnum())


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

    def test_no_name_runs_a_command(self):
        names_dir, run_dir = os.path.join(self.root, "names"), os.path.join(self.root, "run")
        names = [c.format(n) for n, c in enumerate(CANARIES)] + SAFE
        make_files(names_dir, names)
        os.mkdir(run_dir)
        long_dir = self.make_long_lines()

        spec = wine_path(names_dir) + "\\*"
        batch_files = []
        for number, (template, kind) in enumerate(TEMPLATES):
            status, lines = self.orvl([spec, "/B", "/A-D", *template_args(number, template)],
                                      run_dir)
            self.assertEqual(status, 0, template)
            self.assertTrue(lines[len(names)].startswith("Warning: batch file left out "), lines)
            batch_files.append(self.take_batch(run_dir, f"t{number}.bat"))
        # Lines past the interpreter's limit: escaped "(" folders and long names.
        for number, template in enumerate(["call echo $", "cmd /c echo $",
                                           "for %%f in ($) do echo %%f"]):
            self.orvl([wine_path(long_dir) + "\\*", "/B", *template.join(["/@", ""]).split(" ")],
                      run_dir)
            batch_files.append(self.take_batch(run_dir, f"long{number}.bat"))
        write_master(run_dir, batch_files)

        for interpreter in (["cmd", "/c"], ["cmd", "/v:on", "/c"]):
            _, output = run_to_file([*interpreter, "all.bat"], run_dir, self.out)
            self.assertEqual(sorted(os.listdir(run_dir)), sorted(["all.bat", "log.txt",
                                                                  *batch_files]), interpreter)
            self.assertEqual(sorted(os.listdir(names_dir)), sorted(names))
            self.check_echoes(output, names, wine_path(names_dir) + "\\", interpreter)
            with open(os.path.join(run_dir, "log.txt"), "rb") as log:
                logged = log.read().decode("cp437").replace("\r", "").split("\n")[:-1]
            os.remove(os.path.join(run_dir, "log.txt"))
            self.assertEqual(sorted(logged), sorted(wine_path(names_dir) + "\\" + n for n in names
                                                    if carried(n, "redirect")))

    def make_long_lines(self):
        """1,600 folders named "(" (each "^^^(" under call), holding names
        whose lines run from about 8,180 to 8,220 characters."""
        folder = os.path.join(self.root, "long")
        os.mkdir(folder)
        here = os.open(folder, os.O_RDONLY)
        try:
            for _ in range(1600):
                os.mkdir("(", dir_fd=here)
                deeper = os.open("(", os.O_RDONLY, dir_fd=here)
                os.close(here)
                here = deeper
            for k in range(140, 180):
                open(os.open("x" * k + f" mkdir PWN{k}", os.O_CREAT | os.O_WRONLY, dir_fd=here),
                     "w").close()
        finally:
            os.close(here)
        return os.path.join(folder, *["("] * 1600)

    def take_batch(self, run_dir, name):
        os.rename(os.path.join(run_dir, "!OVBATCH.BAT"), os.path.join(run_dir, name))
        return name

    def check_echoes(self, output, names, directory, interpreter):
        sections = "\n".join(output).split("==")[1:]
        for number, (template, kind) in enumerate(TEMPLATES):
            lines = [line for line in sections[number].split("\n")[1:] if line]
            if not template.startswith("echo") and not template.startswith("if"):
                continue  # a for set splits names; rem, set and call show other things
            if template.startswith("if"):
                self.assertEqual(lines, ["found"] * sum(carried(n, kind) for n in names))
                continue
            if "redirect" in kind:
                self.assertEqual(lines, [], template)
                continue
            quote = '"' if '"' in template else ""
            self.assertEqual(sorted(lines), sorted(quote + directory + n + quote for n in names
                                                   if carried(n, kind)), (template, interpreter))
        self.assertEqual(len(sections), len(TEMPLATES) + 3)

    # A "!" names a variable under delayed expansion; a "*" or "?" names
    # every file it matches; the run's own file is gone when the lines run.
    def test_del_acts_on_the_listed_files_alone(self):
        victims = os.path.join(self.root, "victims")
        make_files(victims, ["keep.txt", "keep!old!.txt", "*.doc", "big.doc", "x?.txt", "xa.txt",
                             "gone.txt"], sizes={"keep.txt": 1, "big.doc": 1, "xa.txt": 1})
        status, lines = self.orvl(["*", "/[S,0]", "/B", '/@del "$"'], victims)
        self.assertEqual(status, 0)
        self.assertEqual(lines[:5], ["*.doc", "gone.txt", "keep!old!.txt", "x?.txt",
                                     "Warning: batch file left out 2 names the command "
                                     "interpreter cannot carry:"])
        run_to_file(["cmd", "/v:on", "/c", "!OVBATCH.BAT"], victims, self.out)
        self.assertEqual(sorted(os.listdir(victims)),
                         sorted(["!OVBATCH.BAT", "*.doc", "big.doc", "keep.txt", "x?.txt",
                                 "xa.txt"]))

    def test_a_batch_file_that_cannot_be_replaced_fails_the_run(self):
        make_files(self.root, ["a.txt"])
        os.mkdir(os.path.join(self.root, "!OVBATCH.BAT"))
        status, lines = self.orvl(["a.txt", "/B", "/@echo", "$"], self.root)
        self.assertEqual(status, 3)
        self.assertEqual(lines, ["a.txt", "Warning: batch file not replaced, no new one written:",
                                 "         " + wine_path(self.root) + "\\!OVBATCH.BAT",
                                 "         Access denied"])
        self.assertEqual(sorted(os.listdir(self.root)), ["!OVBATCH.BAT", "a.txt", "stdout.txt"])

    # In code page 932 the second byte of "ポ" is "|", of "タ" "^": read in
    # another code page, they are metacharacters the escaping never saw.
    def test_double_byte_code_page_bytes_run_nothing(self):
        locale = ja_locale()
        if locale is None:
            self.skipTest("localedef cannot build ja_JP")
        names_dir, run_dir = os.path.join(self.root, "names"), os.path.join(self.root, "run")
        names = ["a\u30ddmkdir PWN1", "\u30bf&mkdir PWN2", "\u65e5\u672c.txt", "plain.txt"]
        make_files(names_dir, names)
        os.mkdir(run_dir)
        status, _ = self.orvl([wine_path(names_dir) + "\\*", "/B", "/@echo", "$"], run_dir,
                              locale)
        self.assertEqual(status, 0)
        with open(os.path.join(run_dir, "!OVBATCH.BAT"), "rb") as batch:
            self.assertEqual(sorted(batch.read().decode("cp932").split("\r\n")[1:-1]), sorted([
                "echo " + wine_path(names_dir) + "\\\u65e5\u672c.txt",
                "echo " + wine_path(names_dir) + "\\plain.txt"]))
        for environment in (locale, None):
            run_to_file(["cmd", "/c", "!OVBATCH.BAT"], run_dir, self.out, environment)
            self.assertEqual(os.listdir(run_dir), ["!OVBATCH.BAT"])

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
            self.assertEqual(batch.read(), "@setlocal DisableDelayedExpansion\n"
                             "echo " + wine_path(root) + "\\victim.txt\n")


if __name__ == "__main__":
    unittest.main()
