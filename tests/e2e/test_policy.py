"""Options an administrator presets and locks by policy, read as a user's session sees them."""
from conftest import RUN_KEYS, TITLE
from test_hotkey import TRACE, registrations, status_line
from winebox import wait_for

POLICY_KEY = r"HKLM\Software\Policies\Tamberlin\Vantrel Desk Guard"
WS_DISABLED = 0x08000000


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


def test_a_policy_value_that_names_no_choice_is_reported_once_and_ignored(desk, box):
    box.reg_add(POLICY_KEY, "Combo2", "36")
    try:
        program = desk.start(trace=TRACE, wait_window=False)
        report = wait_for(lambda: box.boxes(), what="the report")[0]
        assert report["text"].startswith('The policy value "Combo2" is "36", which names no choice. It is ignored.'
                                         "\r\nin Vantrel2021/08/31.Form1.Form_Load at line 154\r\r")
        box.inspect("answer", "OK")
        assert wait_for(lambda: registrations(program), what="a registration")[0][2:] == (3, ord("L"))
        keys = [c for c in desk.window()["children"] if c["class"] == "ComboBox"][1]
        assert (keys["selected"], disabled(keys)) == (11, False)
        assert box.boxes() == [], "reported once"
    finally:
        box.reg_delete_key(POLICY_KEY)
