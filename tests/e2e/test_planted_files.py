"""Nothing placed beside the program under the name of a system DLL or program is loaded or
started from there: the program's folder is wherever its user copied it, so anyone may have put
files in it."""
import re
import shutil

import pytest

from conftest import TITLE
from winebox import wait_for

PLANTED = {"uxtheme.dll": "planted.dll", "comctl32.dll": "planted.dll", "oleacc.dll": "planted.dll",
           "explorer.exe": "planted.exe"}
# A native copy of these first, as Windows takes one for every DLL outside its KnownDLLs.
NATIVE_FIRST = "uxtheme,comctl32,oleacc,explorer.exe=n,b"


# Each word size has its own loader paths and system folder to search.
@pytest.mark.both_builds
def test_no_file_planted_beside_the_program_runs(desk):
    built = desk.box.build_dir() / "bin"
    for name, marker in PLANTED.items():
        shutil.copy2(built / marker, desk.folder / name)
    program = desk.start(channels="+loaddll", overrides=NATIVE_FIRST)
    assert program.alive() and desk.window()["visible"]

    # The first accessibility request loads oleacc and COM; the help box is a system message box.
    assert desk.box.inspect("accessible", TITLE).strip().startswith("[")
    desk.box.inspect("click", TITLE, "Help")
    wait_for(lambda: desk.box.boxes(), what="the help box")
    desk.box.inspect("answer", "OK")
    wait_for(lambda: desk.box.boxes() == [], what="the help box closed")

    loaded = [m.replace("\\\\", "\\").lower() for m in re.findall(r'Loaded L"([^"]+)"', program.output())]
    folder = "z:" + str(desk.folder).replace("/", "\\").lower() + "\\"
    assert "oleacc.dll" in " ".join(loaded), "the trace holds the loads of the accessibility request"
    assert [m for m in loaded if m.startswith(folder)] == [folder + desk.exe.name.lower()]
    assert sorted(p.name for p in desk.folder.glob("*.ran")) == []
