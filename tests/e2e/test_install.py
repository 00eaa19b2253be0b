"""The packages under wine: a quiet install of the MSI in a prefix of its own
lets a new console run orvl by its name with the default configuration, a
quiet uninstall takes the files and the PATH entry back; the zip holds the
programs and the texts."""

import os
import re
import shutil
import subprocess
import tempfile
import unittest
import uuid
import zipfile

from wine_harness import EXE, ROOT, ensure_bare_prefix, fixture, run_orvl, wine_path

PREFIX = os.path.join(ROOT, "build", "wineprefix-e2e-install")
# Written when a run ends uninstalled; without it the prefix is made anew.
UNINSTALLED = os.path.join(PREFIX, ".orvl-uninstalled")
BUILD = os.path.dirname(EXE)
PROGRAMS = os.path.join(PREFIX, "drive_c", "Program Files", "Orvalist")
ENVIRONMENT = r"HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\Environment"
CONFIGURATION = r"HKLM\Software\Brackwater\Orvalist"


def version():
    if os.environ.get("ORVL_VERSION"):
        return os.environ["ORVL_VERSION"]
    with open(os.path.join(ROOT, "CMakeLists.txt")) as cmake:
        return re.search(r"project\(Orvalist VERSION ([0-9.]+)", cmake.read()).group(1)


VERSION = version()
PACKAGE = os.path.join(BUILD, "Orvalist-" + VERSION)


def wine(program, *args, cwd="/tmp"):
    return run_orvl(list(args), cwd, timeout=120, prefix=PREFIX, exe=program)


def system_path():
    run = wine("reg", "query", ENVIRONMENT, "/v", "Path")
    return next(line.split("    ")[-1] for line in run.lines if line.strip().startswith("Path "))


def set_system_path(text):
    """Keeps the value's type, as the installer does."""
    run = wine("reg", "query", ENVIRONMENT, "/v", "Path")
    kind = next(line.split()[1] for line in run.lines if line.strip().startswith("Path "))
    wine("reg", "add", ENVIRONMENT, "/v", "Path", "/t", kind, "/d", text, "/f")


def newer_package(folder):
    """The same package as a later version, built beside the tests."""
    with open(os.path.join(ROOT, "packaging", "Packaging.cmake")) as cmake:
        upgrade = re.search(r"ORVL_UPGRADE_CODE \"([0-9A-F-]+)\"", cmake.read()).group(1)
    parts = VERSION.split(".")
    newer = ".".join(parts[:-1] + [str(int(parts[-1]) + 1)])
    product = str(uuid.uuid5(uuid.UUID(upgrade), newer)).upper()
    target = os.path.join(folder, "Orvalist-" + newer + ".msi")
    subprocess.run(["wixl", "-a", "x64", "-D", "Version=" + newer, "-D", "ProductCode=" + product,
                    "-D", "UpgradeCode=" + upgrade, "-o", target,
                    os.path.join(ROOT, "packaging", "Orvalist.wxs")],
                   cwd=BUILD, check=True, capture_output=True, timeout=300)
    return target


def configuration_lines():
    """The configuration as exported, sorted: value order is not the point."""
    with tempfile.TemporaryDirectory(dir="/tmp") as folder:
        target = os.path.join(folder, "c.reg")
        wine("reg", "export", CONFIGURATION, wine_path(target), "/y")
        with open(target, encoding="utf-16") as export:
            return sorted(export.read().splitlines())


def version_strings(path):
    with open(path, "rb") as program:
        data = program.read()
    found = {}
    for name in ("FileVersion", "ProductVersion", "ProductName", "OriginalFilename"):
        key = "".join(c + "\0" for c in name).encode("latin-1")
        match = re.search(re.escape(key) + rb"(?:\x00\x00)+((?:[^\x00]\x00)+)", data)
        found[name] = match.group(1).decode("utf-16-le") if match else None
    return found


class InstallTest(unittest.TestCase):
    maxDiff = None

    @classmethod
    def setUpClass(cls):
        if not os.path.exists(UNINSTALLED):
            shutil.rmtree(PREFIX, ignore_errors=True)
        ensure_bare_prefix(PREFIX)
        if os.path.exists(UNINSTALLED):
            os.remove(UNINSTALLED)
        # Uninstalling keeps the configuration, as settings are kept.
        wine("reg", "delete", r"HKLM\Software\Brackwater", "/f")

    def test_install_list_uninstall(self):
        before = system_path()
        self.assertEqual(wine("msiexec", "/i", wine_path(PACKAGE + ".msi"), "/qn").status, 0)
        self.assertEqual(sorted(os.listdir(PROGRAMS)), ["OConfig.exe", "Orvalist.txt", "orvl.exe"])
        self.assertEqual(system_path(), before + r";C:\Program Files\Orvalist")
        for name in ("orvl", "OConfig"):
            self.assertEqual(version_strings(os.path.join(PROGRAMS, name + ".exe")),
                             {"FileVersion": VERSION, "ProductVersion": VERSION,
                              "ProductName": "Orvalist", "OriginalFilename": name + ".exe"})

        with fixture({"A.TXT": 1, "SUB": {"B.DOC": 2}}) as root:
            listing = wine("cmd", "/c", "orvl", "/B", cwd=os.path.join(root, "SUB"))
        self.assertEqual((listing.status, listing.lines), (0, ["B.DOC"]))

        installed = configuration_lines()
        self.assertEqual(wine(os.path.join(PROGRAMS, "OConfig.exe"), "/DEFAULTS").status, 0)
        self.assertEqual(installed, configuration_lines())

        self.assertEqual(wine("msiexec", "/x", wine_path(PACKAGE + ".msi"), "/qn").status, 0)
        self.assertFalse(os.path.exists(PROGRAMS))
        self.assertEqual(system_path(), before)
        open(UNINSTALLED, "w").close()

    def test_folder_with_semicolon_is_quoted_on_the_path(self):
        before = system_path()
        with tempfile.TemporaryDirectory(dir="/tmp") as parent:
            folder = os.path.join(parent, "a;b")
            os.mkdir(folder)
            shutil.copy(os.path.join(BUILD, "OConfig.exe"), folder)
            program = os.path.join(folder, "OConfig.exe")
            entry = wine_path(folder)
            self.assertEqual(wine(program, "/INSTALL").status, 0)
            self.assertEqual(system_path(), before + ';"' + entry + '"')
            removed = wine(program, "/UNINSTALL")
            again = wine(program, "/UNINSTALL")
        self.assertEqual(system_path(), before)
        self.assertEqual(removed.lines[0], entry + " was taken off the system PATH.")
        self.assertEqual(again.lines[0], entry + " was not on the system PATH.")

    def test_path_round_trip_keeps_the_text_exactly(self):
        before = system_path()
        program = os.path.join(BUILD, "OConfig.exe")
        try:
            set_system_path(before + ";")
            self.assertEqual(wine(program, "/INSTALL").status, 0)
            self.assertEqual(system_path(), before + ";" + wine_path(BUILD) + ";")
            self.assertEqual(wine(program, "/UNINSTALL").status, 0)
            self.assertEqual(system_path(), before + ";")
        finally:
            set_system_path(before)

    def test_upgrade_keeps_the_path_entry_in_place(self):
        """The entry first on the PATH stays first through an upgrade."""
        if os.path.exists(UNINSTALLED):
            os.remove(UNINSTALLED)
        before = system_path()
        entry = r"C:\Program Files\Orvalist"
        with tempfile.TemporaryDirectory(dir="/tmp") as folder:
            newer = newer_package(folder)
            self.assertEqual(wine("msiexec", "/i", wine_path(PACKAGE + ".msi"), "/qn").status, 0)
            set_system_path(entry + ";" + before)
            self.assertEqual(wine("msiexec", "/i", wine_path(newer), "/qn").status, 0)
            self.assertEqual(system_path(), entry + ";" + before)
            self.assertEqual(wine("msiexec", "/x", wine_path(newer), "/qn").status, 0)
        self.assertEqual(system_path(), before)
        self.assertFalse(os.path.exists(PROGRAMS))
        open(UNINSTALLED, "w").close()

    def test_zip_holds_the_programs_and_the_texts(self):
        # One folder, so that unpacking never spills the files into the current one.
        folder = os.path.basename(PACKAGE) + "/"
        with zipfile.ZipFile(PACKAGE + ".zip") as archive:
            self.assertEqual(sorted(archive.namelist()),
                             [folder] + [folder + name for name in
                                         ("FIRST-STEPS.txt", "OConfig.exe", "Orvalist.txt", "orvl.exe")])
            for name in ("orvl.exe", "OConfig.exe"):
                with open(os.path.join(BUILD, name), "rb") as built:
                    self.assertEqual(archive.read(folder + name), built.read(), name)
            with open(os.path.join(ROOT, "docs", "Orvalist.txt"), "rb") as manual:
                self.assertEqual(archive.read(folder + "Orvalist.txt"),
                                 manual.read().replace(b"\n", b"\r\n"))


if __name__ == "__main__":
    unittest.main()
