"""The installer package under Wine: a silent per-machine install, the installed program, an
upgrade to a newer version, a refused downgrade, and an uninstall that takes the program, its
shortcut and its start-up entries away and leaves the user's settings alone; then one outside Program Files.

The package of the build under test is built beforehand (`cmake --build --preset win32 --target
msi`, or win64); the newer version is made here by wixl from the same configured source, with
only the version raised. In a 64-bit prefix the 32-bit package is installed first, and the 64-bit
one replaces it: they are one product."""
from __future__ import annotations

import os
import re
import subprocess
from pathlib import Path, PurePosixPath

import pytest

from conftest import BUILD_UNDER_TEST, TITLE
from winebox import BUILD, ROOT, SETTINGS_KEY, wait_for

PACKAGING = BUILD / BUILD_UNDER_TEST / "packaging"
WIXL_ARCH = {"win32": "x86", "win64": "x64"}[BUILD_UNDER_TEST]
SUFFIX = {"win32": "", "win64": "-x64"}
WXS = PACKAGING / "VantrelDeskGuard.wxs"
PRODUCT = "Vantrel Desk Guard"
UNINSTALL_KEY = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall"
UNINSTALL_KEY_32 = r"HKLM\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Uninstall"
MACHINE_RUN = r"HKLM\Software\Microsoft\Windows\CurrentVersion\Run"
USER_RUN = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"
MACHINE_RUN_32 = r"HKLM\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Run"
RUN_VALUE = "VantrelDeskGuard.exe"
ACTIVE_SETUP = r"HKLM\Software\Microsoft\Active Setup\Installed Components\{5E0B7C21-8A4D-4F63-B1C9-2D7E94A03F58}"
STEP = 180  # seconds allowed to any one installer, registry or wixl run
# Each build installs its own package, into its own folders and registry view; the 64-bit package
# replaces the 32-bit one only in the 64-bit build's run. The tests of the packages' tables read
# both packages without Wine, so they run once.
installs = pytest.mark.both_builds


def project_version() -> str:
    text = (ROOT / "CMakeLists.txt").read_text()
    return re.search(r"project\(VantrelDeskGuard VERSION (\d+\.\d+\.\d+)", text).group(1)


def cache_value(name: str) -> str:
    text = (BUILD / BUILD_UNDER_TEST / "CMakeCache.txt").read_text()
    return re.search(rf"^{name}:\w+=(.*)$", text, re.M).group(1)


def windows_path(path: Path) -> str:
    """The path as Wine's programs see it, through drive Z:."""
    return "Z:" + str(path).replace("/", "\\")


class Installer:
    """msiexec and reg in the test's Wine prefix, each run to its end or its deadline."""

    def __init__(self, box, logs: Path):
        self.box, self.logs, self.runs = box, logs, 0
        self.drive_c = box.prefix / "drive_c"

    def env(self) -> dict:
        env = self.box.env()
        # No desktop-menu entries on the host for the shortcuts the package makes.
        env["WINEDLLOVERRIDES"] += ";winemenubuilder.exe=d"
        return env

    def wine(self, *args) -> tuple[int, str]:
        """Runs a Wine program; output goes to a file, never a pipe: a Wine service started by
        the call would keep a pipe open long after the program has ended."""
        self.runs += 1
        out = self.logs / f"{self.runs:02d}-{PurePosixPath(args[0]).stem}.out"
        with open(out, "wb") as sink:
            done = subprocess.run(self.box.command(*args), env=self.env(), stdout=sink,
                                  stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL, timeout=STEP)
        return done.returncode, out.read_text(errors="replace")

    def msiexec(self, action: str, package: str | Path, *properties: str) -> int:
        """`msiexec /i` or `/x`, silent, with a verbose log kept beside the test's files."""
        self.runs += 1
        log = self.logs / f"{self.runs:02d}-msiexec{action.replace('/', '-')}.log"
        target = windows_path(package) if isinstance(package, Path) else package
        code, _ = self.wine("msiexec", action, target, *properties, "/qn", "/l*v", windows_path(log))
        return code

    def products(self) -> dict[str, dict[str, str]]:
        """Installed products named Vantrel Desk Guard: {product code: Add/Remove Programs values}.
        A 32-bit package in a 64-bit prefix registers in the 32-bit view (Wow6432Node): Apps &
        features lists both views."""
        found, current = {}, None
        for key in (UNINSTALL_KEY, UNINSTALL_KEY_32):
            code, text = self.wine("reg", "query", key, "/s")
            assert code == 0 or key == UNINSTALL_KEY_32, text
            for line in text.splitlines():
                if line.startswith("HKEY_"):
                    current = found.setdefault(line.rsplit("\\", 1)[1], {})
                elif current is not None and "    REG_" in line:
                    parts = line.strip().split("    ")
                    current[parts[0]] = parts[2] if len(parts) > 2 else ""
        return {code: values for code, values in found.items() if values.get("DisplayName") == PRODUCT}

    def start_menus(self) -> list[Path]:
        """The machine's and the users' Start menu programs folders: Wine puts a per-machine
        package's shortcuts in the user's."""
        return [self.drive_c / "ProgramData" / "Microsoft" / "Windows" / "Start Menu" / "Programs",
                *(self.drive_c / "users").glob("*/AppData/Roaming/Microsoft/Windows/Start Menu/Programs")]

    def shortcuts(self) -> list[Path]:
        """Our shortcut files, wherever they are in a Start menu."""
        return sorted(link for menu in self.start_menus() if menu.is_dir() for link in menu.rglob("*.lnk")
                      if "Vantrel" in link.name)

    def menu_folders(self) -> list[Path]:
        return [menu / PRODUCT for menu in self.start_menus() if (menu / PRODUCT).exists()]


def package_with_version(version: str, folder: Path) -> Path:
    """Our package with another version: the configured source with only the product's version
    changed, its relative source paths rebased onto `folder`, built by wixl."""
    text = WXS.read_text()
    text, count = re.subn(r'(<Product\b[^>]*?\bVersion=")[^"]+(")', rf"\g<1>{version}\g<2>", text)
    assert count == 1, "the product's version in the package source"

    def rebase(match):
        source = PACKAGING / match.group(2)
        assert source.exists(), source
        return f'{match.group(1)}="{os.path.relpath(source, folder)}"'

    # wixl reads source paths relative to the .wxs file's folder and takes no absolute ones.
    text = re.sub(r'\b(Source|SourceFile)="([^"]+)"', rebase, text)
    wxs = folder / "VantrelDeskGuard.wxs"
    wxs.write_text(text)
    msi = folder / f"VantrelDeskGuard-{version}{SUFFIX[BUILD_UNDER_TEST]}.msi"
    done = subprocess.run(["wixl", "--arch", WIXL_ARCH, "-o", str(msi), str(wxs)], capture_output=True,
                          text=True, timeout=STEP)
    assert done.returncode == 0 and msi.exists(), done.stderr
    return msi


@pytest.fixture
def installer(box, tmp_path):
    version = project_version()
    package = BUILD / BUILD_UNDER_TEST / f"VantrelDeskGuard-{version}{SUFFIX[BUILD_UNDER_TEST]}.msi"
    if not package.exists():
        pytest.fail(f"{package} is missing: build it with `cmake --build --preset {BUILD_UNDER_TEST} --target msi`")
    logs = BUILD / "e2e-logs" / "msi"
    logs.mkdir(parents=True, exist_ok=True)
    for old in logs.iterdir():
        old.unlink()
    inst = Installer(box, logs)
    inst.package, inst.version = package, version
    inst.folder = inst.drive_c / "Program Files" / "Tamberlin" / PRODUCT
    # Whatever an earlier, interrupted run left installed goes first.
    for code in inst.products():
        inst.msiexec("/x", code)
    assert inst.products() == {}
    yield inst
    for code in inst.products():
        inst.msiexec("/x", code)


def newer(version: str) -> str:
    major, minor, patch = map(int, version.split("."))
    return f"{major}.{minor}.{patch + 1}"


@installs
def test_install_start_upgrade_and_uninstall(installer, box, tmp_path):
    inst = installer
    for key in (MACHINE_RUN, USER_RUN):
        box.reg_delete_value(key, RUN_VALUE)
    box.reg_delete_key(SETTINGS_KEY)

    # ---- a silent per-machine install
    assert inst.msiexec("/i", inst.package) == 0
    exe = inst.folder / "VantrelDeskGuard.exe"
    assert exe.read_bytes() == (BUILD / BUILD_UNDER_TEST / "bin" / "VantrelDeskGuard.exe").read_bytes()
    assert sorted(p.name for p in inst.folder.iterdir()) == ["VantrelDeskGuard.exe"]
    products = inst.products()
    assert len(products) == 1, products
    first_code, arp = next(iter(products.items()))
    assert arp["DisplayVersion"] == inst.version
    assert arp["Publisher"] == "Tamberlin"
    home = cache_value("VDG_HOME_PAGE")
    assert arp["HelpLink"] == home and arp["URLInfoAbout"] == home
    assert arp.get("NoModify") == "0x1"
    assert arp.get("InstallLocation") == "C:\\Program Files\\Tamberlin\\Vantrel Desk Guard\\"
    assert box.reg_values(r"HKLM\Software\Tamberlin\Vantrel Desk Guard") == {"Folder": "0x1", "Installed": "0x1"}
    assert box.reg_values(ACTIVE_SETUP).get("StubPath") == \
        '"C:\\Program Files\\Tamberlin\\Vantrel Desk Guard\\VantrelDeskGuard.exe" /migrate-startup'

    links = inst.shortcuts()
    assert [link.name for link in links] == ["Vantrel Desk Guard.lnk"], links
    assert links[0].parent.name == PRODUCT, "in the Start menu's own program folder"
    target = "C:\\Program Files\\Tamberlin\\Vantrel Desk Guard\\VantrelDeskGuard.exe"
    raw = links[0].read_bytes()
    assert target.encode("ascii") in raw or target.encode("utf-16-le") in raw, "the shortcut's target"

    # ---- the installed program starts and closes
    program = box.launch(exe)
    tree = wait_for(lambda: not program.alive() or ((t := box.tree(TITLE)) and t["visible"] and t),
                    timeout=30, what="the installed program's window")
    assert program.alive(), program.output()
    texts = [c["text"] for c in tree["children"]]
    assert "Load this software on Windows startup" in texts
    assert any(t.startswith("Software is on. Press ") for t in texts), "the hotkey is bound"
    box.inspect("close", TITLE)
    assert program.wait(15) == 0
    box.started.remove(program.proc)

    # The user's start-up option, as the program writes it, a foreign start-up entry and the
    # user's settings.
    quoted = '"C:\\Program Files\\Tamberlin\\Vantrel Desk Guard\\VantrelDeskGuard.exe"'
    box.reg_add(MACHINE_RUN, RUN_VALUE, quoted)
    box.reg_add(USER_RUN, RUN_VALUE, quoted)
    box.reg_add(USER_RUN, "SomeOtherProgram", '"C:\\Other\\other.exe"')
    box.reg_add(SETTINGS_KEY, "Check4", "1")
    settings = box.reg_values(SETTINGS_KEY)

    # ---- a newer version replaces this one and keeps the start-up entries
    later = newer(inst.version)
    update = package_with_version(later, tmp_path)
    assert inst.msiexec("/i", update) == 0
    products = inst.products()
    assert list(products.values()) and [p["DisplayVersion"] for p in products.values()] == [later], products
    assert first_code not in products
    assert exe.exists() and [link.name for link in inst.shortcuts()] == ["Vantrel Desk Guard.lnk"]
    assert box.reg_values(MACHINE_RUN).get(RUN_VALUE) == quoted
    assert box.reg_values(USER_RUN).get(RUN_VALUE) == quoted

    # ---- an older version is refused over a newer one
    assert inst.msiexec("/i", inst.package) != 0
    assert [p["DisplayVersion"] for p in inst.products().values()] == [later]

    # ---- uninstall: files, folders, shortcut, start-up entries; the rest stays
    (code,) = inst.products()
    assert inst.msiexec("/x", code) == 0
    assert inst.products() == {}
    assert not inst.folder.exists() and not inst.folder.parent.exists(), "Program Files\\Tamberlin"
    assert inst.shortcuts() == [] and inst.menu_folders() == []
    assert box.reg_values(r"HKLM\Software\Tamberlin\Vantrel Desk Guard") == {}, "the installer's own values"
    assert RUN_VALUE not in box.reg_values(MACHINE_RUN)
    user_run = box.reg_values(USER_RUN)
    assert RUN_VALUE not in user_run
    assert user_run.get("SomeOtherProgram") == '"C:\\Other\\other.exe"'
    assert box.reg_values(SETTINGS_KEY) == settings, "the user's settings are the user's"
    box.reg_delete_value(USER_RUN, "SomeOtherProgram")
    box.reg_delete_key(SETTINGS_KEY)

    # ---- outside Program Files, where others may replace it, no machine entry names the program: a first install,
    # so nothing rests on Wine's removal of an older version (Wine shows a 32-bit machine value in both views)
    own, other = (MACHINE_RUN, MACHINE_RUN_32) if BUILD_UNDER_TEST == "win64" else (MACHINE_RUN_32, MACHINE_RUN)
    box.reg_add(own, RUN_VALUE, '"C:\\Tools\\VantrelDeskGuard\\VantrelDeskGuard.exe"')
    box.reg_add(other, RUN_VALUE, quoted)
    assert inst.msiexec("/i", inst.package, "INSTALLDIR=C:\\Tools\\VantrelDeskGuard") == 0
    assert (inst.drive_c / "Tools" / "VantrelDeskGuard" / "VantrelDeskGuard.exe").exists()
    assert [RUN_VALUE in box.reg_values(key) for key in (own, other)] == [False, False]
    assert box.reg_values(ACTIVE_SETUP) == {}, "no logon runs a file others may replace"


@installs
@pytest.mark.skipif(BUILD_UNDER_TEST != "win64", reason="the 64-bit package installs in a 64-bit prefix only")
def test_the_64_bit_package_replaces_the_32_bit_one(installer, box):
    inst = installer
    other = BUILD / "win32" / f"VantrelDeskGuard-{inst.version}.msi"
    if not other.exists():
        pytest.fail(f"{other} is missing: build it with `cmake --build --preset win32 --target msi`")
    old_folder = inst.drive_c / "Program Files (x86)" / "Tamberlin" / PRODUCT
    old_quoted = f'"C:\\Program Files (x86)\\Tamberlin\\{PRODUCT}\\VantrelDeskGuard.exe"'
    new_quoted = f'"C:\\Program Files\\Tamberlin\\{PRODUCT}\\VantrelDeskGuard.exe"'
    assert inst.msiexec("/i", other) == 0
    assert (old_folder / "VantrelDeskGuard.exe").exists() and len(inst.products()) == 1
    # What the 32-bit program writes when the start-up box is ticked: its machine entry lands in
    # the 32-bit view.
    box.reg_add(MACHINE_RUN_32, RUN_VALUE, old_quoted)
    box.reg_add(USER_RUN, RUN_VALUE, old_quoted)

    assert inst.msiexec("/i", inst.package) == 0
    products = inst.products()
    assert len(products) == 1, "one entry in Apps & features"
    assert not old_folder.exists() and (inst.folder / "VantrelDeskGuard.exe").exists()
    assert RUN_VALUE not in box.reg_values(MACHINE_RUN_32)
    assert box.reg_values(MACHINE_RUN).get(RUN_VALUE) == new_quoted, "one machine entry, naming the new program"
    assert box.reg_values(USER_RUN).get(RUN_VALUE) == new_quoted


def test_the_two_packages_give_each_component_a_guid_of_its_own():
    """No Wine: Windows Installer takes a component whose word size changes for another component,
    so no component of the 32-bit package may share its GUID with the 64-bit one's."""
    def component_ids(package: Path) -> dict[str, str]:
        if not package.exists():
            pytest.fail(f"{package} is missing: build the msi target of both presets")
        table = subprocess.run(["msiinfo", "export", str(package), "Component"], capture_output=True,
                               text=True, check=True, timeout=STEP).stdout
        rows = [line.split("\t") for line in table.splitlines()[3:]]  # after the names, types and key
        return {row[0]: row[1] for row in rows}

    x86, x64 = (component_ids(BUILD / build / f"VantrelDeskGuard-{project_version()}{SUFFIX[build]}.msi")
                for build in ("win32", "win64"))
    assert x86.keys() == x64.keys() == {"TamberlinFolder", "Program", "StartMenuShortcut", "ActiveSetup"}
    assert [name for name in x86 if x86[name] == x64[name]] == []


def test_the_packages_tables_hold_what_validation_and_windows_installer_read():
    """No Wine: the rows wixl leaves out or wrong, which the msi target's msibuild statements set;
    a statement that matches no row succeeds silently."""
    version = project_version()
    major, minor, patch = map(int, version.split("."))
    for build, program_files, word in (("win32", "ProgramFilesFolder", 0), ("win64", "ProgramFiles64Folder", 256)):
        def rows(table: str) -> list[dict[str, str]]:
            package = BUILD / build / f"VantrelDeskGuard-{version}{SUFFIX[build]}.msi"
            text = subprocess.run(["msiinfo", "export", str(package), table], capture_output=True, text=True,
                                  check=True, timeout=STEP).stdout.splitlines()
            return [dict(zip(text[0].split("\t"), line.split("\t"))) for line in text[3:]]

        components, (exe,) = {r["Component"]: r for r in rows("Component")}, rows("File")
        # A versioned exe (ICE60: with its language; ICE03: its short name) is replaced by its
        # version, and has no hash row.
        assert [exe[c] for c in ("FileName", "Version", "Language")] == \
            ["VDGUARD.EXE|VantrelDeskGuard.exe", f"{version}.0", "1033"]
        assert rows("MsiFileHash") == []
        # ICE43: the shortcut's key path at root -1; ICE61: the same-version row ends at the next patch.
        assert [r["Root"] for r in rows("Registry") if r["Registry"] == components["StartMenuShortcut"]["KeyPath"]] == ["-1"]
        assert [(r["VersionMin"], r["VersionMax"], r["Attributes"]) for r in rows("Upgrade")
                if r["ActionProperty"] == "VDG_SAME_VERSION"] == [(version, f"{major}.{minor}.{patch + 1}", "256")]
        sequence = {r["Action"]: int(r["Sequence"]) for r in rows("InstallExecuteSequence")}
        assert sequence["CostFinalize"] < sequence["SetInstallLocation"] < sequence["InstallValidate"]
        # Active Setup in the package's own view, only for a program in its own Program Files.
        active = components["ActiveSetup"]
        assert (active["Condition"], int(active["Attributes"]) & 256) == (f"INSTALLDIR ~<< {program_files}", word)
