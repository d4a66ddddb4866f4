"""Binding the chosen combination and locking on its press, checked on the shipped program."""
import json
import os
import signal
import subprocess

import pytest

from combinations import KEYS, MODIFIER_PAIRS
from conftest import TITLE
from winebox import wait_for

TRACE = ["user32.RegisterHotKey", "user32.UnregisterHotKey", "user32.LockWorkStation"]
POLICY_KEY = r"Software\Microsoft\Windows\CurrentVersion\Policies\System"
REFUSED = "The computer could not be locked.\r\n"


def registrations(program):
    """(window, id, modifiers, key) of every RegisterHotKey call so far, as integers."""
    return [tuple(int(a, 16) for a in args.split(",")) for args in program.calls("user32.RegisterHotKey")]


def status_line(desk):
    return desk.control(desk.window(), cls="Static")["text"]


def hold(box, modifiers, key):
    """The window reader holding a combination, as another program would, until it is released."""
    holder = subprocess.Popen(box.command(box.inspect_exe(), "hotkey", str(modifiers), str(key)), env=box.env(),
                              stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
    assert holder.stdout.readline().strip() == "registered"
    return holder


def release(holder):
    holder.stdin.close()
    holder.wait(10)


def test_first_start_binds_ctrl_alt_l_under_a_global_atom(desk):
    program = desk.start(trace=TRACE)
    window, hotkey_id, modifiers, key = wait_for(lambda: registrations(program), what="a registration")[0]
    assert (modifiers, key) == (3, 0x4C)
    assert 0xC000 <= hotkey_id <= 0xFFFF
    assert window == desk.window()["hwnd"]
    assert {k: v for k, v in desk.settings().items() if k.startswith("Combo")} == {"Combo1": "0", "Combo2": "11"}
    assert status_line(desk) == "Software is on. Press Ctrl + Alt + L to lock computer"
    lists = [c for c in desk.window()["children"] if c["class"] == "ComboBox"]
    assert lists[0]["items"] == [pair.text for pair in MODIFIER_PAIRS]
    assert lists[1]["items"] == KEYS
    assert (lists[0]["selected"], lists[1]["selected"]) == (0, 11)


# WM_HOTKEY's parameters are pointer-sized: the id and the keys are read from them per word size.
@pytest.mark.both_builds
def test_the_combination_locks_from_another_program_and_a_refusal_is_reported(desk, box):
    program = desk.start(trace=TRACE)
    wait_for(lambda: registrations(program), what="a registration")
    other = box.launch("notepad")
    editor = wait_for(lambda: box.x_window("Untitled - Notepad"), timeout=30, what="another program's window")
    box.xdotool("windowfocus", "--sync", editor)
    box.xdotool("key", "ctrl+alt+l")
    wait_for(lambda: program.calls("user32.LockWorkStation"), what="the lock request")
    # Wine cannot lock a desk: the refusal must be said, not swallowed.
    refusal = wait_for(lambda: [b for b in box.boxes() if b["title"] == "Vantrel Desk"], what="the refusal box")[0]
    assert refusal["text"].startswith("The computer could not be locked.\r\n")
    assert refusal["has_icon"]
    box.inspect("answer", "OK")
    other.end()


def test_a_new_choice_withdraws_the_old_combination_and_binds_the_new_one(desk, box):
    program = desk.start(trace=TRACE)
    wait_for(lambda: registrations(program), what="the first registration")
    first_id = registrations(program)[0][1]

    box.inspect("select", TITLE, 0, 2)  # "Alt + Shift"
    wait_for(lambda: len(registrations(program)) >= 2, what="the new registration")
    assert registrations(program)[1][1:] == (first_id, 5, 0x4C)
    withdrawn = [tuple(int(a, 16) for a in c.split(",")) for c in program.calls("user32.UnregisterHotKey")]
    assert withdrawn[-1][1] == first_id
    assert desk.settings()["Combo1"] == "2"
    assert status_line(desk) == "Software is on. Press Alt + Shift + L to lock computer"

    box.inspect("select", TITLE, 1, 35)  # the key "0"
    wait_for(lambda: len(registrations(program)) >= 3, what="the key's registration")
    assert registrations(program)[2][1:] == (first_id, 5, 0x30)
    assert desk.settings()["Combo2"] == "35"


@pytest.mark.parametrize("combo1, combo2, selected, bound", [
    ("2", "35", (2, 35), (5, 0x30)),
    ("3", None, (-1, 11), None),            # no modifier pair: nothing bound, nothing reported, and said
    (None, "7abc", (0, 7), (3, ord("H"))),
    ("1.5", "3.5", (2, 4), (5, ord("E"))),
    (None, "  2.5", (0, 2), (3, ord("C"))),
])
def test_stored_values_are_read_leniently(desk, combo1, combo2, selected, bound):
    if combo1 is not None:
        desk.store(Combo1=combo1)
    if combo2 is not None:
        desk.store(Combo2=combo2)
    program = desk.start(trace=TRACE)
    lists = wait_for(lambda: [c for c in desk.window()["children"] if c["class"] == "ComboBox"], what="lists")
    assert (lists[0]["selected"], lists[1]["selected"]) == selected
    if bound:
        assert wait_for(lambda: registrations(program), what="a registration")[0][2:] == bound
    else:
        wait_for(lambda: desk.window()["visible"], what="the shown window")
        assert registrations(program) == []
        assert status_line(desk) == "Software is off. Choose a modifier pair and a key"
    assert desk.box.boxes() == []


def test_a_stored_key_beyond_the_list_is_reported_at_load_and_at_every_binding(desk, box):
    desk.store(Combo2="35.6")
    program = desk.start(trace=TRACE, wait_window=False)
    load = wait_for(lambda: box.boxes(), what="the load report")[0]
    assert load["text"].startswith("Invalid property value\r\nin Vantrel2021/08/31.Form1.Form_Load at line 156\r\r")
    box.inspect("answer", "OK")
    tick = wait_for(lambda: [b for b in box.boxes() if "Timer1_Timer" in b["text"]], what="the tick's report")[0]
    assert tick["text"].startswith(
        "Invalid procedure call or argument\r\nin Vantrel2021/08/31.Form1.Timer1_Timer at line 106\r\r")
    box.inspect("answer", "OK")
    box.inspect("select", TITLE, 0, 1)  # a new binding reports again
    wait_for(lambda: [b for b in box.boxes() if "Timer1_Timer" in b["text"]], what="the second tick report")
    box.inspect("answer", "OK")
    assert registrations(program) == []
    assert program.alive()


def test_a_combination_held_by_another_program_turns_the_status_line_off(desk, box):
    holder = hold(box, 3, 0x4C)
    try:
        desk.start(trace=TRACE)
        line = wait_for(lambda: (t := status_line(desk)).startswith("Software is off.") and t,
                        what="the status line to say the software is off")
        assert line == "Software is off. Ctrl + Alt + L is already used by another program"
    finally:
        release(holder)


# The running copy's answer crosses processes as an LRESULT narrowed to 32 bits.
@pytest.mark.both_builds
def test_a_second_copy_names_the_running_copy_only_when_it_holds_that_very_combination(desk, box):
    """The second copy asks the first which combination it holds. Wine has no integrity levels, so
    an elevated first copy (which admits the question through its message filter) is not tested."""
    desk.store(Combo1="0", Combo2="10")  # Ctrl + Alt + K
    first = desk.start(trace=TRACE)
    wait_for(lambda: registrations(first), what="the first copy's registration")
    first_window = desk.window()["hwnd"]

    def second_copy_says():
        second = desk.start(trace=TRACE, wait_window=False)
        window = wait_for(lambda: [h for h in json.loads(box.inspect("windows", TITLE)) if h != first_window],
                          timeout=30, what="the second copy's window")[0]
        said = wait_for(lambda: (t := line(window)).startswith("Software is off.") and t,
                        what="the second copy's status line to say it is off")
        # Every start runs in full (the second copy tried to register too), and the first goes on.
        assert registrations(second) and first.alive()
        box.inspect("close", f"#{window}")
        assert second.wait(10) == 0
        return said

    def line(window):
        return desk.control(box.tree(f"#{window}"), cls="Static")["text"]

    # Another program holds the combination the second copy reads; the first copy holds another.
    desk.store(Combo2="11")  # Ctrl + Alt + L
    holder = hold(box, 3, 0x4C)
    try:
        assert second_copy_says() == "Software is off. Ctrl + Alt + L is already used by another program"
    finally:
        release(holder)

    box.inspect("select", f"#{first_window}", 1, 11)
    wait_for(lambda: line(first_window) == "Software is on. Press Ctrl + Alt + L to lock computer",
             what="the first copy to hold Ctrl + Alt + L")
    assert second_copy_says() == \
        "Software is off. Vantrel Desk Guard is already running and holds Ctrl + Alt + L"
    assert line(first_window) == "Software is on. Press Ctrl + Alt + L to lock computer"

    # A stopped copy answers nothing in its full wait, as a hung one, and locks nothing either. Wine
    # would make the second copy's first activation wait for a stopped foreground copy: hidden first.
    box.inspect("minimize", f"#{first_window}")
    wait_for(lambda: not desk.window()["visible"], what="the first copy hidden into the tray")
    os.kill(first.proc.pid, signal.SIGSTOP)
    try:
        assert second_copy_says() == "Software is off. Vantrel Desk Guard is already running but does not respond"
    finally:
        os.kill(first.proc.pid, signal.SIGCONT)


def test_a_press_locks_with_the_help_box_open_and_within_the_balloons_wait(desk, box):
    program = desk.start(trace=TRACE + ["shell32.Shell_NotifyIconA"])
    wait_for(lambda: registrations(program), what="a registration")

    def refusal_answered():
        # Wine refuses every lock: its box comes up, on top of any other, and is answered.
        wait_for(lambda: any(b["text"].startswith(REFUSED) for b in box.boxes()), what="the refusal box")
        box.inspect("answer", "OK")
        wait_for(lambda: not any(b["text"].startswith(REFUSED) for b in box.boxes()), what="the refusal answered")

    box.inspect("click", TITLE, "Help")
    wait_for(lambda: box.boxes(), what="the help box")
    box.xdotool("windowfocus", "--sync", wait_for(lambda: box.x_window("Vantrel Desk"), what="the box's window"))
    box.xdotool("key", "ctrl+alt+l")
    wait_for(lambda: len(program.calls("user32.LockWorkStation")) == 1, what="the lock request over the help box")
    refusal_answered()
    box.inspect("answer", "OK")  # the help box
    wait_for(lambda: box.boxes() == [], what="the help box closed")

    other = box.launch("notepad")
    box.xdotool("windowfocus", "--sync", wait_for(lambda: box.x_window("Untitled - Notepad"), timeout=30,
                                                  what="another program's window"))
    box.inspect("minimize", TITLE)
    wait_for(lambda: not desk.window()["visible"], what="the window hidden into the tray")
    box.xdotool("key", "ctrl+alt+l")
    wait_for(lambda: len(program.calls("user32.LockWorkStation")) == 2, what="the lock request in the balloon's wait")
    refusal_answered()
    # Within the wait: the request came after the balloon and before the wait's clear-balloon request.
    wait_for(lambda: len(program.notify_operations()) >= 3, timeout=10, what="the balloon's wait to end")
    calls = [ln for ln in program.output().splitlines() if "Call " in ln]
    lock = [i for i, ln in enumerate(calls) if "Call user32.LockWorkStation" in ln][1]
    notify = [i for i, ln in enumerate(calls) if "Call shell32.Shell_NotifyIconA" in ln]
    assert notify[1] < lock < notify[2]
    assert len(program.calls("user32.LockWorkStation")) == 2, "each press requested the lock once"
    other.end()


@pytest.mark.parametrize("root", ["HKCU", "HKLM"])
def test_a_policy_that_disables_locking_binds_nothing_until_it_is_lifted(desk, box, root):
    policy_key = root + "\\" + POLICY_KEY
    box.reg_add(policy_key, "DisableLockWorkstation", "1", "REG_DWORD")
    try:
        program = desk.start(trace=TRACE)
        wait_for(lambda: status_line(desk) == "Software is off. Locking is disabled by a system policy",
                 what="the status line to name the policy")
        assert registrations(program) == []
    finally:
        box.reg_delete_value(policy_key, "DisableLockWorkstation")
    box.inspect("select", TITLE, 0, 1)  # the next binding works as usual
    assert wait_for(lambda: registrations(program), what="a registration")[0][2:] == (6, 0x4C)
    assert status_line(desk) == "Software is on. Press Ctrl + Shift + L to lock computer"


def test_ctrl_with_either_alt_locks_and_typing_in_another_program_is_untouched(desk, box):
    # Wine's layout here is US, where AltGr types nothing: the right Alt key locks too. The left Alt
    # key locks without asking the focused program's layout. While xdotool holds the right Alt key,
    # Wine reports the left one down as well (GetAsyncKeyState(VK_LMENU) answers 0x8001), so that
    # press locks by the same rule; on Windows only the right one is down and the layout is asked.
    program = desk.start(trace=TRACE + ["user32.ToUnicodeEx"])
    wait_for(lambda: registrations(program), what="a registration")
    other = box.launch("notepad")
    editor = wait_for(lambda: box.x_window("Untitled - Notepad"), timeout=30, what="another program's window")

    def typed():
        tree = box.tree("Untitled - Notepad")
        return next(c["text"] for c in tree["children"] if c["class"] == "Edit")

    box.xdotool("windowfocus", "--sync", editor)
    box.xdotool("type", "--delay", "30", "Lala 1 ltd")
    wait_for(lambda: typed() == "Lala 1 ltd", what="the typed text in the other program")
    assert program.calls("user32.LockWorkStation") == []
    for presses, alt in enumerate(["Alt_L", "Alt_R"], 1):
        box.xdotool("windowfocus", "--sync", editor)
        box.xdotool("keydown", "Control_L", alt)  # held, as a user holds them
        box.xdotool("key", "l")
        wait_for(lambda: len(program.calls("user32.LockWorkStation")) == presses, what=f"the lock with {alt}")
        box.xdotool("keyup", alt, "Control_L")
        if alt == "Alt_L":
            assert program.calls("user32.ToUnicodeEx") == [], "the left Alt key never asks the layout"
        wait_for(lambda: any(b["text"].startswith(REFUSED) for b in box.boxes()), what="the refusal box")
        box.inspect("answer", "OK")
        wait_for(lambda: not box.boxes(), what="the refusal answered")
    assert typed() == "Lala 1 ltd", "a press that locks types nothing"
    other.end()
