"""The registry configuration under wine, in a prefix of its own: the first
run starts OConfig, OConfig's defaults colour a listing, and the preset
switches and date pattern that OConfig writes reach the listing."""

import os
import re
import shutil
import subprocess
import unittest

from wine_harness import (EXE, ROOT, TmuxConsole, ensure_bare_prefix, fixture, run_orvl,
                          wine_environment, wine_path)

PREFIX = os.path.join(ROOT, "build", "wineprefix-e2e-config")
OCONFIG = os.path.join(os.path.dirname(EXE), "OConfig.exe")
FIRST_RUN = "Running OCONFIG so you can set up default configuration (first time only)"
SGR_RUN = r"((?:\x1b\[[0-9;]*m)*)"


def wine(*args):
    subprocess.run(["wine", *args], env=wine_environment(PREFIX), stdin=subprocess.DEVNULL,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, timeout=120)


def settle():
    """Waits until every program of the prefix has ended (OConfig started by
    the lister runs on after it) and the registry is saved."""
    subprocess.run(["wineserver", "-w"], env=wine_environment(PREFIX), timeout=120)


def orvl(args, cwd):
    return run_orvl(args, cwd, prefix=PREFIX)


def oconfig(*args):
    return run_orvl(list(args), "/tmp", prefix=PREFIX, exe=OCONFIG)


class ConfigurationTest(unittest.TestCase):
    maxDiff = None

    @classmethod
    def setUpClass(cls):
        ensure_bare_prefix(PREFIX)

    def setUp(self):
        # Every test starts from OConfig's own defaults.
        run = oconfig("/DEFAULTS", "/SWITCHES:", "/DATE:")
        self.assertEqual(run.status, 0, run)

    def test_first_run_starts_oconfig_then_lists(self):
        wine("reg", "delete", r"HKLM\Software\Brackwater", "/f")
        settle()
        with fixture({"A.TXT": 1}) as root:
            first = orvl([], root)
            settle()
            second = orvl(["/B"], root)
        self.assertEqual(first.status, 3)  # nothing was listed
        self.assertIn(FIRST_RUN, first.lines)
        self.assertFalse([line for line in first.lines if line.startswith("Path: ")], first)
        self.assertEqual(second.lines, ["A.TXT"])

    def test_first_run_in_a_console_waits_for_oconfig(self):
        """orvl says why, then OConfig shows its whole view in the same console,
        and only then does orvl end and the shell's prompt come back. Started
        below older output, the notice stays and OConfig's view starts below it."""
        wine("reg", "delete", r"HKLM\Software\Brackwater", "/f")
        settle()
        with fixture({"A.TXT": 1}) as root, \
                TmuxConsole([], cwd=root, prefix=PREFIX, height=70,
                            before="printf 'older output\\n%.0s' 1 2 3 4 5; ") as console:
            rows = [row.rstrip() for row in console.wait_for(r"ORVL-EXIT=\d+") if row.strip()]
        self.assertEqual(rows[:3], [FIRST_RUN,
                                    "No configuration was stored: OConfig wrote the defaults.",
                                    "Orvalist configuration"])
        self.assertEqual(rows[-2:], ["  Every switch: OConfig /?", "ORVL-EXIT=3"])

    def test_set_in_a_console_waits_for_oconfig(self):
        """OConfig's page prompt reads its keys, and the prompt comes back after."""
        with fixture({"A.TXT": 1}) as root, \
                TmuxConsole(["/SET"], cwd=root, prefix=PREFIX) as console:
            console.wait_for(r"\[Q/X\] Stop")
            self.assertFalse([row for row in console.screen() if "ORVL-EXIT" in row])
            console.send_keys("n")
            rows = [row.rstrip() for row in console.wait_for(r"ORVL-EXIT=\d+") if row.strip()]
        self.assertEqual(rows[-2:], ["  Every switch: OConfig /?", "ORVL-EXIT=0"])
        self.assertFalse([row for row in rows if "ReadConsole Error" in row], rows)

    def test_value_name_that_cannot_be_converted_is_left_alone(self):
        """A lone surrogate in a value's name: the change is written, the value
        kept, and the lister still lists."""
        text = ("Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE\\Software"
                "\\Brackwater\\Orvalist\\Colours\\Extensions]\r\n\"A\ud800\"=dword:00000005\r\n")
        with fixture({"A.TXT": 1}) as root:
            reg = os.path.join(root, "lone.reg")
            with open(reg, "wb") as out:
                out.write(b"\xff\xfe" + text.encode("utf-16-le", "surrogatepass"))
            wine("regedit", "/s", wine_path(reg))
            settle()
            run = oconfig("/EXT:TXT=12")
            listing = orvl(["/B"], root)
        wine("reg", "delete", r"HKLM\Software\Brackwater\Orvalist\Colours\Extensions", "/f")
        self.assertEqual(run.status, 0, run)
        self.assertIn("  1 more with names that cannot be read, left as they are", run.lines)
        self.assertEqual(listing.lines, ["A.TXT", "lone.reg"])

    def test_missing_oconfig_is_named(self):
        """Missing, or not a program: the system's message with its insert filled."""
        wine("reg", "delete", r"HKLM\Software\Brackwater", "/f")
        settle()
        for content, reason in ((None, "File not found."), (b"text\r\n", "Bad EXE format for OConfig.exe.")):
            with fixture({"A.TXT": 1}) as root:
                alone = os.path.join(root, "orvl.exe")
                shutil.copy(EXE, alone)
                oconfig_path = wine_path(os.path.join(root, "OConfig.exe"))
                if content:
                    with open(os.path.join(root, "OConfig.exe"), "wb") as fake:
                        fake.write(content)
                run = run_orvl(["/B"], root, prefix=PREFIX, exe=alone)
            self.assertEqual(run.lines, [
                FIRST_RUN,
                "OConfig could not be started: " + reason,
                "It was looked for as " + oconfig_path])

    def test_orvl_script_lists_at_once_in_a_bare_prefix(self):
        wine("reg", "delete", r"HKLM\Software\Brackwater", "/f")
        settle()
        env = wine_environment(PREFIX)
        env["ORVL_WINEPREFIX"] = PREFIX
        env["ORVL_KEEP_SERVER"] = "0"  # settle() waits for the server to end
        with fixture({"A.TXT": 1}) as root:
            run = subprocess.run([os.path.join(ROOT, "orvl"), "/B"], cwd=root, env=env,
                                 stdin=subprocess.DEVNULL, capture_output=True, timeout=300)
        self.assertEqual(run.returncode, 0, run.stderr)
        self.assertEqual(run.stdout.decode("cp437").splitlines(), ["A.TXT"])

    def test_defaults_colour_names_in_a_console(self):
        with fixture({"README.TXT": 1, "SETUP.EXE": 2, "NOTES": 3}) as root, \
                TmuxConsole([], cwd=root, prefix=PREFIX) as console:
            console.wait_for(r"ORVL-EXIT=\d+")
            rows = console.screen(colours=True)
        listing = next(row for row in rows if "README.TXT" in row)
        colour = {}
        for name in ("README.TXT", "SETUP.EXE", "NOTES"):
            match = re.search(SGR_RUN + re.escape(name), listing)
            self.assertIsNotNone(match, repr(listing))
            colour[name] = match.group(1)
        self.assertIn("96", colour["README.TXT"])  # attribute 11: light cyan
        self.assertIn("92", colour["SETUP.EXE"])   # attribute 10: light green
        self.assertNotIn("96", colour["NOTES"])     # no extension: FileColour 7
        self.assertNotIn("92", colour["NOTES"])

    def test_preset_switch_and_its_negation(self):
        with fixture({"A.TXT": 1, "B.DOC": 2}) as root:
            # /-FREE: the drive's free space may change between the runs.
            wide = orvl(["/W", "/-FREE"], root)
            plain = orvl(["/-FREE"], root)
            self.assertEqual(oconfig("/SWITCHES:/W").status, 0)
            preset = orvl(["/-FREE"], root)
            undone = orvl(["/-W", "/-FREE"], root)
        self.assertNotEqual(wide.lines, plain.lines)
        self.assertEqual(preset.lines, wide.lines)
        self.assertEqual(undone.lines, plain.lines)

    def test_date_pattern_in_verbose_listing(self):
        self.assertEqual(oconfig("/DATE:yyyy.mm.dd hh-nn").status, 0)
        with fixture({"A.TXT": 100}) as root:
            run = orvl(["/V"], root)
        row = next((line for line in run.lines if line.endswith("A.TXT")), None)
        self.assertEqual(row, "   100 2021.03.04 05-06 ...a. A.TXT        A.TXT")

    def test_usage_fits_80_columns(self):
        """On a wider console nothing is cut: every line of the usage, examples
        whole, ends by column 80."""
        with TmuxConsole(["/?"], cwd="/tmp", prefix=PREFIX, width=120, height=40,
                         exe=OCONFIG) as console:
            rows = [row.rstrip() for row in console.wait_for(r"ORVL-EXIT=\d+")]
        usage = rows[:rows.index("ORVL-EXIT=0")]
        self.assertEqual([row for row in usage if len(row) > 80], [])
        self.assertEqual([row.strip() for row in usage if "e.g." in row],
                         ["e.g. /EXT:TXT=11", "e.g. /COLOUR:Directory=14",
                          'e.g. /SWITCHES:"/W /O-S"', 'e.g. /DATE:"dd-mmm-yyyy hh:nn"'])

    def test_bad_switch_changes_nothing(self):
        before = oconfig("/DATE:yyyy")  # the view shows today in it: no clock time
        run = oconfig("/EXT:TXT=3", "/COLOUR:Nothing=1")
        self.assertEqual(run.status, 1)
        self.assertEqual(run.lines[:2], ["OConfig: there is no display colour called 'Nothing'.",
                                         "Nothing was changed."])
        self.assertEqual(oconfig().lines, before.lines)


if __name__ == "__main__":
    unittest.main()
