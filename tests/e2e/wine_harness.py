"""Runs orvl.exe under wine for the end-to-end tests.

Two ways to run the program:
- run_orvl(): output piped (the program's redirected mode), decoded from
  code page 437, returned as lines without line ends;
- TmuxConsole: a real console inside a detached tmux session of its own,
  read back with capture-pane and driven with send-keys.

The tests use a wine prefix of their own (build/wineprefix-e2e), created on
first use under a lock, with a known default configuration in its registry,
so that a user's settings for ./orvl never change what the tests see.
"""

import contextlib
import fcntl
import os
import re
import select
import shlex
import shutil
import subprocess
import tempfile
import time
import uuid
from datetime import datetime, timezone

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.environ.get("ORVL_ROOT") or os.path.dirname(os.path.dirname(HERE))
EXE = os.environ.get("ORVL_EXE") or os.path.join(ROOT, "build", "win", "orvl.exe")
PREFIX = os.path.join(ROOT, "build", "wineprefix-e2e")
READY_STAMP = os.path.join(PREFIX, ".orvl-e2e-ready")
# Drive L: of the prefix, with the volume label "DATA" and one file A.TXT.
LABEL_DRIVE = os.path.join(PREFIX, "drive-l")

# Fixture time stamps default to this moment (UTC; the tests run with TZ=UTC).
DEFAULT_TIME = datetime(2021, 3, 4, 5, 6, 7, tzinfo=timezone.utc)

# The configuration every test starts from: no extension colours, the
# standard display colours, no preset switches, the locale's date format.
DEFAULT_CONFIGURATION = r"""REGEDIT4

[HKEY_LOCAL_MACHINE\SOFTWARE\Brackwater\Orvalist\Colours\Extensions]

[HKEY_LOCAL_MACHINE\SOFTWARE\Brackwater\Orvalist\Colours\Display]
"Entities"=hex:07,0f,0e,03,0c,0a,0f,4e,0e,0f,0f

[HKEY_LOCAL_MACHINE\SOFTWARE\Brackwater\Orvalist\Settings]
"DefaultSwitches"=""
"DefaultDate"=""
"""


def wine_environment(prefix=PREFIX):
    env = {k: v for k, v in os.environ.items() if not k.startswith("LC_")}
    for name in ("DISPLAY", "WAYLAND_DISPLAY", "WINEDLLOVERRIDES"):
        env.pop(name, None)
    env.update(WINEPREFIX=prefix, WINEDEBUG="-all", TZ="UTC", LANG="C.UTF-8")
    return env


def ensure_bare_prefix(prefix):
    """A wine prefix with nothing of the program's in it (created once): for
    the tests of the configuration itself, which change it at will."""
    stamp = os.path.join(prefix, ".orvl-e2e-ready")
    if os.path.exists(stamp):
        return
    os.makedirs(os.path.dirname(prefix), exist_ok=True)
    with open(prefix + ".lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if os.path.exists(stamp):
            return
        env = wine_environment(prefix)
        env["WINEDLLOVERRIDES"] = "mscoree,mshtml=d"
        subprocess.run(["wineboot", "-i"], env=env, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       timeout=300, check=True)
        subprocess.run(["wineserver", "-w"], env=env, timeout=120)
        open(stamp, "w").close()


def ensure_prefix():
    """Creates the tests' wine prefix once; other test processes wait for it."""
    if os.path.exists(READY_STAMP):
        keep_server()
        return
    os.makedirs(os.path.dirname(PREFIX), exist_ok=True)
    with open(PREFIX + ".lock", "w") as lock:
        fcntl.flock(lock, fcntl.LOCK_EX)
        if os.path.exists(READY_STAMP):
            return
        env = wine_environment()
        env["WINEDLLOVERRIDES"] = "mscoree,mshtml=d"
        subprocess.run(["wineboot", "-i"], env=env, stdin=subprocess.DEVNULL,
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                       timeout=300, check=True)
        reg_file = os.path.join(PREFIX, "orvl-default-configuration.reg")
        with open(reg_file, "w", newline="\r\n") as out:
            out.write(DEFAULT_CONFIGURATION)
        subprocess.run(["wine", "regedit", "/S", wine_path(reg_file)], env=env,
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=120, check=True)
        make_label_drive()
        # Wine learns drive letters and labels when its server starts.
        subprocess.run(["wineserver", "-w"], env=env, timeout=120)
        open(READY_STAMP, "w").close()


SERVER_KEPT = []


def keep_server():
    """Wine's server ends about 3 s after its last program; a run that comes
    just then finds it shutting down and may fail to start. A server started
    here stays two minutes after the tests' last program (one already running is
    left as it is: this then exits at once)."""
    if SERVER_KEPT:
        return
    SERVER_KEPT.append(True)
    subprocess.run(["wineserver", "-p120"], env=wine_environment(), cwd="/",
                   stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, timeout=120)


def make_label_drive():
    os.makedirs(LABEL_DRIVE, exist_ok=True)
    with open(os.path.join(LABEL_DRIVE, ".windows-label"), "w") as label:
        label.write("DATA\n")
    make_tree(LABEL_DRIVE, {"A.TXT": 10})
    link = os.path.join(PREFIX, "dosdevices", "l:")
    if os.path.lexists(link):
        os.remove(link)
    os.symlink(LABEL_DRIVE, link)


def check_program():
    if not os.path.isfile(EXE):
        raise AssertionError(f"{EXE} is missing: build it first (./run-tests)")


# ------------------------------------------------------------------ fixtures

def wine_path(path):
    """The Windows form of a Linux path, reached through drive Z:."""
    return "Z:" + path.replace("/", "\\")


def make_tree(root, layout, when=DEFAULT_TIME):
    """Creates files and directories under root from a dict:
    name -> size (int), (size, datetime), (size, datetime, mode)
    or a dict (a subdirectory, created the same way).
    Directories get the time stamp `when` after their contents are made."""
    for name, item in layout.items():
        path = os.path.join(root, name)
        if isinstance(item, dict):
            os.mkdir(path)
            make_tree(path, item, when)
            continue
        item = (item,) if isinstance(item, int) else tuple(item)
        size = item[0]
        stamp = item[1] if len(item) > 1 else when
        mode = item[2] if len(item) > 2 else None
        with open(path, "wb") as out:
            out.truncate(size)
        os.utime(path, (stamp.timestamp(), stamp.timestamp()))
        if mode is not None:
            os.chmod(path, mode)
    os.utime(root, (when.timestamp(), when.timestamp()))


@contextlib.contextmanager
def fixture(spec, when=DEFAULT_TIME):
    """A temporary directory under /tmp holding the tree `spec`."""
    root = tempfile.mkdtemp(prefix="orvl-e2e-", dir="/tmp")
    try:
        make_tree(root, spec, when)
        yield root
    finally:
        shutil.rmtree(root, ignore_errors=True)


# ------------------------------------------------------------------ piped runs

class Run:
    def __init__(self, lines, status, stderr):
        self.lines = lines
        self.status = status
        self.stderr = stderr

    def __repr__(self):
        # The status and stderr too: an empty listing says nothing of why.
        return "\n".join(self.lines + [f"(status {self.status}; stderr: {self.stderr[-500:]!r})"])


def run_orvl(args, cwd, timeout=60, prefix=None, exe=EXE, environment=None, launcher=()):
    """Runs orvl.exe (or another program of the build) with its output piped;
    returns a Run whose lines are the decoded output lines (line ends and
    carriage returns removed), and its bytes in raw. prefix: a wine prefix
    other than the tests' own; environment: variables added for this run;
    launcher: a command that wine is started through (such as setpriv)."""
    check_program()
    if prefix is None:
        ensure_prefix()
    env = wine_environment(prefix or PREFIX)
    env.update(environment or {})
    process = subprocess.Popen([*launcher, "wine", exe, *args], cwd=cwd, env=env,
                               stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                               stderr=subprocess.PIPE)
    try:
        out, err = read_until_exit(process, timeout)
    finally:
        process.stdout.close()
        process.stderr.close()
    text = out.decode("cp437").replace("\r", "")
    lines = text.split("\n")
    if lines and lines[-1] == "":
        lines.pop()
    run = Run(lines, process.returncode, err.decode("utf-8", "replace"))
    run.raw = out
    return run


# How long stdout may stay open after the program has ended: what another
# process still writes is waited for, a process that merely holds it is not.
STDOUT_GRACE = 10


def read_until_exit(process, timeout):
    """Collects stdout and stderr until the process has ended and its stdout
    is at its end (or held, without data, STDOUT_GRACE seconds past the end),
    and its stderr holds no more data: the wineserver's background processes
    inherit stderr and linger after the program."""
    out_fd, err_fd = process.stdout.fileno(), process.stderr.fileno()
    collected = {out_fd: bytearray(), err_fd: bytearray()}
    open_fds = [out_fd, err_fd]
    for fd in open_fds:
        os.set_blocking(fd, False)
    deadline = time.monotonic() + timeout
    ended_at = None
    while open_fds:
        if ended_at is None and process.poll() is not None:
            ended_at = time.monotonic()
        ready, _, _ = select.select(open_fds, [], [], 0.05)
        if ended_at is not None and not ready and (
                out_fd not in open_fds or time.monotonic() > ended_at + STDOUT_GRACE):
            break
        for fd in ready:
            chunk = os.read(fd, 65536)
            if chunk:
                collected[fd] += chunk
            else:
                open_fds.remove(fd)
        if time.monotonic() > deadline:
            process.kill()
            raise AssertionError(f"orvl.exe did not end within {timeout} s")
    process.wait()
    return bytes(collected[out_fd]), bytes(collected[err_fd])


# The marker of a cut text as piped output decodes it: byte 16 of code page 437.
CUT_MARKER = "\x10"


def cells(*pieces):
    """A line built from (column, text) pieces, columns 1-based, as the
    program composes it; trailing blanks removed as in redirected output."""
    line = []
    for column, text in pieces:
        start = column - 1
        if len(line) < start + len(text):
            line.extend(" " * (start + len(text) - len(line)))
        line[start:start + len(text)] = text
    return "".join(line).rstrip(" ")


def border(column_width, columns, width, branch):
    """A top (branch "┬") or bottom (branch "┴") listing border."""
    piece = "─" * (column_width - 1) + branch
    return piece * (columns - 1) + "─" * (width - (columns - 1) * column_width)


# ------------------------------------------------------------------ real console

class TmuxConsole:
    """orvl.exe in a real console: a detached tmux session on a tmux server
    of its own (own socket), so closing it ends only what it started."""

    def __init__(self, args, cwd, width=100, height=30, prefix=None, before="", exe=None):
        """before: shell commands run first, such as output the program starts below;
        exe: another program of the build in place of orvl.exe."""
        check_program()
        if prefix is None:
            ensure_prefix()
        self.env = wine_environment(prefix or PREFIX)
        tag = f"orvl-e2e-{os.getpid()}-{uuid.uuid4().hex[:8]}"
        self.socket = tag
        self.session = tag
        # The tmux server, started here, passes the wine environment on.
        # wine's own stderr messages would land on the screen between rows.
        program = " ".join(shlex.quote(a) for a in ["wine", exe or EXE, *args])
        # Ctrl+C reaches the whole group: the shell outlives it (a handler,
        # not an ignore, which the program would inherit) to show the exit.
        command = f"trap true INT; {before}{program} 2>/dev/null; echo ORVL-EXIT=$?; sleep 600"
        self._tmux("new-session", "-d", "-s", self.session, "-x", str(width),
                   "-y", str(height), "-c", cwd, "/bin/sh", "-c", command)

    def _tmux(self, *args):
        return subprocess.run(["tmux", "-L", self.socket, "-f", "/dev/null", *args],
                              env=self.env,
                              stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                              stderr=subprocess.PIPE, check=True, timeout=30)

    def screen(self, colours=False):
        """The visible screen, one string per row; with colours the rows keep
        the escape sequences that tmux reports for the cell attributes."""
        args = ["capture-pane", "-p", "-t", self.session]
        if colours:
            args.insert(2, "-e")
        return self._tmux(*args).stdout.decode("utf-8", "replace").split("\n")

    def wait_for(self, pattern, timeout=30):
        """Polls the screen until a row matches the regular expression;
        returns the rows (plain text)."""
        deadline = time.monotonic() + timeout
        while True:
            rows = self.screen()
            if any(re.search(pattern, row) for row in rows):
                return rows
            if time.monotonic() > deadline:
                raise AssertionError(f"timed out waiting for {pattern!r}; screen:\n"
                                     + "\n".join(rows))
            time.sleep(0.1)

    def send_keys(self, *keys):
        self._tmux("send-keys", "-t", self.session, *keys)

    def close(self):
        subprocess.run(["tmux", "-L", self.socket, "kill-server"],
                       stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=30)

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()
