"""Starting and closing the program, as a user sees it."""

from conftest import BUILD_UNDER_TEST, DOC_SHOTS, RUN_KEYS, TITLE
from winebox import wait_for

REPORT_TAIL = "\r\rPlease email screenshot of this message to support@tamberlin.example"

# Designed places in twips, converted at 96 dpi: (class, text, rect relative to the client area).
LAYOUT = [
    ("Edit", "Text2", [8, 420, 81, 46]),
    ("VantrelPushButton", "Help", [8, 8, 520, 27]),
    ("VantrelFrame", "Key Options", [8, 37, 520, 53]),
    ("ComboBox", None, [24, 57, 240, None]),
    ("ComboBox", None, [272, 57, 240, None]),
    ("Static", None, [8, 99, 520, 17]),
    ("VantrelFrame", "Startup Options", [8, 121, 520, 49]),
    ("Button", "Load this software on Windows startup", [24, 141, 254, 19]),
    ("Button", "Start in system tray", [288, 141, 140, 19]),
]


def test_first_start_shows_the_designed_window(desk):
    program = desk.start()
    tree = desk.window()
    assert tree["visible"] and not tree["iconic"]
    assert tree["client"][2:] == [536, 177]
    style = tree["style"]
    assert style & 0x00020000 and not style & 0x00010000, "minimize box only, no maximize box"
    assert not style & 0x00040000, "fixed border: not resizable"

    children = tree["children"]
    assert [c["class"] for c in children] == [cls for cls, _, _ in LAYOUT], "creation (tab) order"
    for child, (cls, text, rect) in zip(children, LAYOUT):
        if text is not None:
            assert child["text"] == text
        assert child["rect"][:3] == rect[:3], (cls, text)
        if rect[3] is not None:
            assert child["rect"][3] == rect[3], (cls, text)
    check4, check8 = children[7], children[8]
    assert check4["visible"] and check4["checked"] == 0
    assert not check8["visible"]
    assert children[5]["text"].startswith("Software is on. Press ")
    assert tree["focus"] == children[0]["hwnd"], "the unseen text box holds the first focus"
    assert desk.box.boxes() == []

    # Centred on the 1280 x 800 screen.
    x, y, w, h = tree["rect"]
    assert abs((x + w / 2) - 640) <= 1 and abs((y + h / 2) - 400) <= 20

    desk.box.save_window_shot(tree["rect"], DOC_SHOTS / "main-window.png")
    assert program.alive()


def test_both_start_options_on_start_out_of_the_normal_state(desk):
    desk.store(Windows_Startup="On", Minimized="On")
    desk.start_at_logon()  # the start-up box shows what Windows will start
    program = desk.start(trace=["user32.WaitMessage"], wait_window=False)
    # The window exists but is not shown in its normal state, also once the first binding has
    # passed the step that shows the window and waits for the hotkey.
    wait_for(lambda: program.calls("user32.WaitMessage"), timeout=30, what="the wait loop")
    tree = desk.window()
    assert tree["iconic"] or not tree["visible"]
    assert desk.control(tree, text="Start in system tray")["checked"] == 1
    assert program.alive()


def test_close_request_ends_the_process_at_once_and_asks_nothing(desk):
    program = desk.start()
    desk.box.inspect("close", TITLE)
    # Removing the tray icon comes first. Under Wine without a window manager that call alone
    # takes 2 s (measured: Shell_NotifyIconA(NIM_DELETE) returns after 2.005 s when it leaves
    # Wine's own tray window empty); nothing of the program's waits besides it, so it has ended
    # by this deadline.
    program.wait(1.5 + 2.0)
    assert desk.box.boxes() == []


def test_a_hand_pointer_file_that_is_no_cursor_is_reported_and_start_up_goes_on(desk):
    (desk.folder / "HAND-M.CUR").write_bytes(b"this is not a cursor file\r\n" * 4)
    program = desk.start(wait_window=False)
    boxes = wait_for(lambda: desk.box.boxes(), timeout=30, what="the error report box")
    assert boxes[0]["title"] == "Application Error"
    assert boxes[0]["text"] == "Invalid picture\r\nin Vantrel2021/08/31.Form1.Form_Load at line 106" + REPORT_TAIL
    assert boxes[0]["buttons"] == ["OK"] and boxes[0]["has_icon"]
    desk.box.inspect("answer", "OK")
    tree = wait_for(lambda: (t := desk.window()) and t["visible"] and t, timeout=30, what="the window after the box")
    assert desk.control(tree, cls="Static")["text"] == "Software is on. Press Ctrl + Alt + L to lock computer"
    assert program.alive()


def test_ticking_the_start_up_box_leaves_one_run_value_where_a_stale_one_was(desk):
    user_run = RUN_KEYS[-1]
    desk.box.reg_add(user_run, "VantrelDeskGuard.exe", r'"C:\old\VantrelDeskGuard.exe"')
    desk.start()
    desk.box.inspect("click", TITLE, "Load this software on Windows startup")
    named = lambda: [(key, name) for key in RUN_KEYS for name in desk.box.reg_values(key)
                     if name.lower() == "vantreldeskguard.exe"]
    this_exe = lambda: desk.box.reg_values(user_run).get("VantrelDeskGuard.exe", "").endswith(desk.exe.name + '"')
    wait_for(lambda: this_exe() and "old" not in desk.box.reg_values(user_run)["VantrelDeskGuard.exe"],
             what="the stale value replaced")
    # Under Wine the user owns every folder of the path: a program others can change starts for this user only.
    assert named() == [(user_run, "VantrelDeskGuard.exe")]


# Where Task Manager and Settings mark each Run key's values disabled.
MARKS = dict(zip(RUN_KEYS, [r"HKLM\Software\Microsoft\Windows\CurrentVersion\Explorer\StartupApproved\Run",
                            r"HKLM\Software\Microsoft\Windows\CurrentVersion\Explorer\StartupApproved\Run32",
                            r"HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\StartupApproved\Run"]))


def test_a_value_disabled_in_task_manager_shows_clear_and_ticking_enables_it(desk):
    name, click = "VantrelDeskGuard.exe", ("click", TITLE, "Load this software on Windows startup")
    desk.start()
    desk.box.inspect(*click)
    key = wait_for(lambda: [k for k in RUN_KEYS if name in desk.box.reg_values(k)], what="the Run value")[0]
    desk.box.reg_add(MARKS[key], name, "030000001122334455667788", "REG_BINARY")  # as Task Manager writes it
    try:
        desk.stop_all()
        desk.start()
        assert desk.control(desk.window(), text=click[2])["checked"] == 0, "Windows will not start it"
        desk.box.inspect(*click)
        wait_for(lambda: desk.box.reg_values(MARKS[key]).get(name) == "02" + "00" * 11,
                 what="the mark enabled in its place")
        assert name in desk.box.reg_values(key)
        assert desk.control(desk.window(), text=click[2])["checked"] == 1
    finally:
        desk.box.reg_delete_value(MARKS[key], name)


def test_a_logon_after_a_package_switch_mends_a_stale_value_and_leaves_the_rest(desk):
    """Active Setup's run at logon: the process ends at once with nothing shown (the logon waits)."""
    user_run, name, tail = RUN_KEYS[-1], desk.exe.name, r"\Tamberlin\Vantrel Desk Guard\VantrelDeskGuard.exe"
    installed = desk.box.prefix / "drive_c" / "Program Files" / "Tamberlin" / "Vantrel Desk Guard" / name
    made = [folder for folder in (installed.parent.parent, installed.parent) if not folder.exists()]
    installed.parent.mkdir(parents=True, exist_ok=True)
    installed.write_bytes(b"MZ")
    # 32-bit Windows names neither Program Files folder of 64-bit Windows, and has one package only.
    rows = [(r'"c:\program files (x86)' + tail + '"', BUILD_UNDER_TEST == "win64"),  # the other package's, gone
            (r'"C:\Program Files' + tail + '"', False),  # a copy that is there
            (r'"D:\Program Files' + tail + '"', False)]  # a drive that may not be mapped yet at logon
    try:
        for value, mended in rows:
            desk.box.reg_add(user_run, name, value)
            program = desk.box.launch(desk.exe, "/migrate-startup")
            assert program.wait(15) == 0 and desk.box.boxes() == [], value
            desk.box.started.remove(program.proc)
            assert desk.box.reg_values(user_run)[name] == ('"Z:' + str(desk.exe).replace("/", "\\") + '"' if mended else value)
    finally:
        installed.unlink()
        for folder in reversed(made):
            folder.rmdir()
