"""Shared fixtures: one Wine world per test session, a clean settings area per test."""
from __future__ import annotations

import shutil
import sys
from pathlib import Path

import pytest

# The Wine helper and the combinations table live with the tools, which use them too.
sys.path.insert(0, str(Path(__file__).resolve().parents[2] / "tools" / "lib"))
from winebox import BUILD, SETTINGS_KEY, WineBox, default_build, wait_for  # noqa: E402

# The build under test: the shipped 32-bit one where this host runs it, else the 64-bit one;
# VDG_BUILD names one.
BUILD_UNDER_TEST = default_build()
EXE = BUILD / BUILD_UNDER_TEST / "bin" / "VantrelDeskGuard.exe"
TITLE = "Vantrel Desk Guard"
# The pictures the documentation shows, as the tests last took them; tests write nothing outside
# build/, and tools/screenshots copies these into docs/screenshots.
DOC_SHOTS = BUILD / "screenshots" / "docs"
RUN_KEYS = [r"HKLM\Software\Microsoft\Windows\CurrentVersion\Run",
            r"HKLM\Software\Wow6432Node\Microsoft\Windows\CurrentVersion\Run",
            r"HKCU\Software\Microsoft\Windows\CurrentVersion\Run"]


def pytest_configure(config):
    config.addinivalue_line(
        "markers", "both_builds: where word size can matter; the second build of a host that runs both "
        "runs only these (tools/test)")


@pytest.fixture(scope="session")
def box():
    if not EXE.exists():
        pytest.fail(f"{EXE} is missing: build the {BUILD_UNDER_TEST} preset first")
    with WineBox(arch=BUILD_UNDER_TEST) as wine:
        yield wine


class Desk:
    """The program under test in its own folder, started and read like a user would."""

    def __init__(self, box: WineBox, folder: Path):
        self.box, self.folder = box, folder
        self.exe = folder / EXE.name
        shutil.copy2(EXE, self.exe)
        self.running = []

    def start(self, trace=None, wait_window=True, **launch_options):
        program = self.box.launch(self.exe, trace=trace, **launch_options)
        self.running.append(program)
        if wait_window:
            wait_for(lambda: not program.alive() or ((t := self.window()) and t["visible"]), timeout=30,
                     what="the main window")
        return program

    def start_at_logon(self):
        """A value of the user's Run key naming this copy, as the start-up box writes it under Wine."""
        self.box.reg_add(RUN_KEYS[-1], self.exe.name, '"Z:' + str(self.exe).replace("/", "\\") + '"')

    def window(self):
        return self.box.tree(TITLE)

    def settings(self):
        return self.box.reg_values(SETTINGS_KEY)

    def store(self, **values):
        for name, data in values.items():
            self.box.reg_add(SETTINGS_KEY, name.replace("_", " "), data)

    def control(self, tree, text=None, cls=None, index=0):
        matches = [c for c in tree["children"]
                   if (text is None or c["text"] == text) and (cls is None or c["class"] == cls)]
        return matches[index]

    def stop_all(self):
        for program in self.running:
            if program.alive():
                self.box.inspect("close", TITLE, check=False)
                try:
                    program.wait(5)
                except Exception:
                    program.end()
            if program.proc in self.box.started:
                self.box.started.remove(program.proc)


@pytest.fixture
def desk(box, tmp_path):
    # No stored settings and no start-up value of this program, in one Wine process.
    box.inspect("reset", SETTINGS_KEY, EXE.name, *RUN_KEYS)
    d = Desk(box, tmp_path)
    yield d
    d.stop_all()

