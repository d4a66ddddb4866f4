"""Options an administrator presets and locks by policy, read as a user's session sees them, and
the Group Policy template that sets them."""
import json
import re
import xml.etree.ElementTree as ET
from pathlib import Path

import pytest

from combinations import KEYS, MODIFIER_PAIRS
from conftest import RUN_KEYS, TITLE
from test_hotkey import POLICY_KEY as LOCK_POLICY_KEY
from test_hotkey import TRACE, registrations, status_line
from winebox import wait_for

POLICY_KEY = r"HKLM\Software\Policies\Tamberlin\Vantrel Desk Guard"
WS_DISABLED = 0x08000000
WM_SETTINGCHANGE = 0x1A


def disabled(control):
    return bool(control["style"] & WS_DISABLED)


def test_a_policy_sets_and_locks_options_and_lifting_it_restores_the_users_own(desk, box):
    desk.store(Combo1="1", Combo2="0")  # the user's own: Ctrl + Shift + A
    box.reg_add(POLICY_KEY, "Combo2", "5")
    box.reg_add(POLICY_KEY, "Windows Startup", "On")
    try:
        program = desk.start(trace=TRACE)
        assert wait_for(lambda: registrations(program), what="a registration")[0][2:] == (6, ord("F"))
        tree = desk.window()
        modifiers, keys = [c for c in tree["children"] if c["class"] == "ComboBox"]
        startup = desk.control(tree, text="Load this software on Windows startup")
        assert (keys["selected"], disabled(keys)) == (5, True)
        assert (modifiers["selected"], disabled(modifiers)) == (1, False), "what the policy leaves is the user's"
        assert (startup["checked"], disabled(startup)) == (1, True)
        assert status_line(desk) == "Software is on. Press Ctrl + Shift + F to lock computer"
        assert any(name.lower() == "vantreldeskguard.exe" for key in RUN_KEYS for name in box.reg_values(key)), \
            "the start-up the policy sets is made true"
        assert desk.settings()["Combo2"] == "0", "the policy's choice is not stored as the user's"
    finally:
        box.reg_delete_key(POLICY_KEY)
    desk.stop_all()

    program = desk.start(trace=TRACE)
    assert wait_for(lambda: registrations(program), what="a registration")[0][2:] == (6, ord("A"))
    keys = [c for c in desk.window()["children"] if c["class"] == "ComboBox"][1]
    assert (keys["selected"], disabled(keys)) == (0, False)


def test_run_lists_switched_off_by_policy_lock_the_start_up_box_and_say_why(desk, box):
    explorer = r"HKCU\Software\Microsoft\Windows\CurrentVersion\Policies\Explorer"
    box.reg_add(explorer, "DisableCurrentUserRun", "1", "REG_DWORD")
    box.reg_add(explorer, "DisableLocalMachineRun", "1", "REG_DWORD")
    try:
        desk.start()
        startup = desk.control(desk.window(), text="Load this software on Windows startup")
        assert (startup["checked"], disabled(startup)) == (0, True)
        facts = next(c for c in json.loads(box.inspect("accessible", TITLE)) if c["hwnd"] == startup["hwnd"])
        assert facts["description"] == "A policy keeps Windows from starting the programs of the start-up lists."
        assert box.boxes() == []
    finally:
        box.reg_delete_key(explorer)


def test_a_policy_value_that_names_no_choice_is_reported_once_and_ignored(desk, box):
    box.reg_add(POLICY_KEY, "Combo2", "36")
    box.reg_add(POLICY_KEY, "Combo1", "1", "REG_DWORD")  # a number is read as its text: taken
    try:
        program = desk.start(trace=TRACE, wait_window=False)
        report = wait_for(lambda: box.boxes(), what="the report")[0]
        assert report["text"].startswith('The policy value "Combo2" is "36", which names no choice. It is ignored.'
                                         "\r\nin Vantrel2021/08/31.Form1.Form_Load at line 154\r\r")
        box.inspect("answer", "OK")
        assert wait_for(lambda: registrations(program), what="a registration")[0][2:] == (6, ord("L"))
        modifiers, keys = [c for c in desk.window()["children"] if c["class"] == "ComboBox"]
        assert (modifiers["selected"], disabled(modifiers)) == (1, True)
        assert (keys["selected"], disabled(keys)) == (11, False)
        assert box.boxes() == [], "reported once"
    finally:
        box.reg_delete_key(POLICY_KEY)


# WM_SETTINGCHANGE's lParam points to the area's name: a pointer; no Windows test reaches the refresh.
@pytest.mark.both_builds
def test_a_policy_refresh_while_running_is_applied_and_reaches_the_status_line(desk, box):
    lock_policy = "HKCU\\" + LOCK_POLICY_KEY
    desk.store(Combo1="1", Combo2="0")  # the user's own: Ctrl + Shift + A
    box.reg_add(POLICY_KEY, "Combo1", "9")  # names no choice: reported at load, and only there
    try:
        program = desk.start(trace=TRACE, wait_window=False)
        wait_for(lambda: box.boxes(), what="the load's report")
        box.inspect("answer", "OK")
        wait_for(lambda: registrations(program), what="a registration")

        def refresh():  # as Group Policy broadcasts it
            assert box.inspect("send", TITLE, WM_SETTINGCHANGE, 1, "Policy").strip() == "0"

        def lists():
            return [c for c in desk.window()["children"] if c["class"] == "ComboBox"]

        box.reg_add(lock_policy, "DisableLockWorkstation", "1", "REG_DWORD")
        box.reg_add(POLICY_KEY, "Combo2", "5")
        refresh()
        wait_for(lambda: len(program.calls("user32.UnregisterHotKey")) >= 2, what="the binding run again")
        assert status_line(desk) == "Software is off. Locking is disabled by a system policy"
        assert len(registrations(program)) == 1, "nothing is bound under the lock policy"
        keys = lists()[1]
        assert (keys["selected"], disabled(keys)) == (5, True)
        assert box.boxes() == [], "a value already reported is not reported again"

        box.reg_delete_value(lock_policy, "DisableLockWorkstation")
        box.reg_delete_value(POLICY_KEY, "Combo2")
        refresh()
        assert wait_for(lambda: registrations(program)[1:], what="the binding after the lift")[0][2:] == (6, ord("A"))
        assert status_line(desk) == "Software is on. Press Ctrl + Shift + A to lock computer"
        keys = lists()[1]
        assert (keys["selected"], disabled(keys)) == (0, False), "the user's own choice is back"
        assert desk.settings()["Combo2"] == "0"
        assert box.boxes() == []
    finally:
        box.reg_delete_value(lock_policy, "DisableLockWorkstation")
        box.reg_delete_key(POLICY_KEY)


def test_the_group_policy_template_writes_what_the_program_reads():
    folder = Path(__file__).resolve().parents[2] / "packaging" / "policy"
    ns = {"p": "http://schemas.microsoft.com/GroupPolicy/2006/07/PolicyDefinitions"}
    admx_text = (folder / "VantrelDeskGuard.admx").read_text(encoding="utf-8")
    admx, adml = ET.fromstring(admx_text), ET.parse(folder / "en-US" / "VantrelDeskGuard.adml").getroot()
    strings = {s.get("id"): s.text for s in adml.iterfind(".//p:stringTable/p:string", ns)}
    presentations = {p.get("id") for p in adml.iterfind(".//p:presentationTable/p:presentation", ns)}
    for kind, name in re.findall(r"\$\((string|presentation)\.(\w+)\)", admx_text):
        assert name in (strings if kind == "string" else presentations), f"{kind} {name} has no text"

    written = {}
    for policy in admx.iterfind(".//p:policy", ns):
        assert policy.get("key") == POLICY_KEY.replace("HKLM\\Software", "SOFTWARE")
        assert policy.get("class") == "Machine"
        if policy.get("valueName"):
            written[policy.get("valueName")] = [policy.find(f"p:{v}Value/p:string", ns).text for v in ("enabled", "disabled")]
        for enum in policy.iterfind(".//p:enum", ns):
            written[enum.get("valueName")] = [
                (item.find("p:value/p:string", ns).text, strings[item.get("displayName")[9:-1]])
                for item in enum.iterfind("p:item", ns)]
    assert written == {
        "Combo1": [(str(i), pair.text) for i, pair in enumerate(MODIFIER_PAIRS)],
        "Combo2": [(str(i), key) for i, key in enumerate(KEYS)],
        "Windows Startup": ["On", "Off"],
        "Minimized": ["On", "Off"],
    }
