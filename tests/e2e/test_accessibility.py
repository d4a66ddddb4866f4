"""What a screen-reader user, a keyboard-only user and a dark or high-contrast colour scheme get
from the window."""
import json
import subprocess

import pytest

from conftest import TITLE
from winebox import BUILD, wait_for

ROLE_GROUPING, ROLE_PUSHBUTTON, ROLE_COMBOBOX = 20, 43, 46
STATE_FOCUSED, STATE_FOCUSABLE, STATE_UNAVAILABLE = 0x4, 0x100000, 0x1
LIVE_REGION_CHANGED = 0x8019


def accessible(desk):
    return {c["hwnd"]: c for c in json.loads(desk.box.inspect("accessible", TITLE))}


@pytest.fixture
def screen_reader(box):
    box.inspect("screen-reader", "on")
    yield
    box.inspect("screen-reader", "off")


# WM_GETOBJECT comes from another process, its object id (a negative 32-bit number) in a pointer-sized lParam.
@pytest.mark.both_builds
def test_a_screen_reader_reads_every_control_and_presses_help(desk, screen_reader):
    desk.start()
    tree = desk.window()
    help_button = desk.control(tree, cls="VantrelPushButton")
    assert tree["focus"] == help_button["hwnd"], "with a screen reader the focus starts on Help"

    def modules():
        return {m.lower() for m in json.loads(desk.box.inspect("modules", TITLE))}
    assert "user32.dll" in modules() and "oleacc.dll" not in modules(), "nothing loaded before asked"
    read = accessible(desk)
    assert "oleacc.dll" in modules()
    button = read[help_button["hwnd"]]
    assert (button["role"], button["name"], button["default_action"], button["shortcut"]) == \
        (ROLE_PUSHBUTTON, "Help", "Press", "Alt+H")
    assert button["state"] & (STATE_FOCUSABLE | STATE_FOCUSED) == STATE_FOCUSABLE | STATE_FOCUSED
    assert not button["state"] & STATE_UNAVAILABLE
    frames = [read[c["hwnd"]] for c in tree["children"] if c["class"] == "VantrelFrame"]
    assert [(f["role"], f["name"]) for f in frames] == \
        [(ROLE_GROUPING, "Key Options"), (ROLE_GROUPING, "Startup Options")]
    assert not any(f["state"] & STATE_FOCUSABLE for f in frames), "frames take no focus"
    lists = [read[c["hwnd"]] for c in tree["children"] if c["class"] == "ComboBox"]
    assert [(c["role"], c["name"], c["value"]) for c in lists] == \
        [(ROLE_COMBOBOX, "Modifier keys", "Ctrl + Alt"), (ROLE_COMBOBOX, "Key", "L")]
    checks = [read[c["hwnd"]] for c in tree["children"] if c["class"] == "Button"]
    assert checks[0]["name"] == "Load this software on Windows startup"

    # A new choice is announced once, when the binding has settled it: one live-region change with
    # the new line, and a taken combination is never announced as on first.
    holder = subprocess.Popen(desk.box.command(desk.box.inspect_exe(), "hotkey", 3, ord("E")), env=desk.box.env(),
                              stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
    try:
        assert holder.stdout.readline().strip() == "registered"
        for key, line in [(3, "Software is on. Press Ctrl + Alt + D to lock computer"),
                          (4, "Software is off. Ctrl + Alt + E is already used by another program")]:
            events = json.loads(desk.box.inspect("announce", TITLE, 1, key))
            assert [e for e in events if e["event"] == LIVE_REGION_CHANGED] == \
                [{"event": LIVE_REGION_CHANGED, "object": -4, "class": "Static", "text": line}]
    finally:
        holder.stdin.close()

    # The button's default action is a press: the help box opens.
    desk.box.inspect("do-default", TITLE, "Help")
    box = wait_for(lambda: desk.box.boxes(), what="the help box")[0]
    assert box["text"].startswith("This software will do the same as pressing Ctrl+Alt+Del")
    desk.box.inspect("answer", "OK")


def test_the_keyboard_reaches_every_action(desk):
    desk.start()
    box = desk.box
    box.xdotool("windowfocus", "--sync", wait_for(lambda: box.x_window(TITLE), what="the X window"))

    def shown():
        return {c["text"]: c for c in desk.window()["children"]}

    def help_box_opens_and_closes(keys):
        box.xdotool("key", *keys)
        assert wait_for(lambda: box.boxes(), what=f"the help box after {keys}")
        box.inspect("answer", "OK")
        wait_for(lambda: not box.boxes(), what="the help box to close")
        box.xdotool("windowfocus", "--sync", box.x_window(TITLE))

    help_box_opens_and_closes(["Tab", "Return"])  # from the unseen box onto Help, then Enter
    assert desk.window()["focus"] == shown()["Help"]["hwnd"]
    help_box_opens_and_closes(["space"])
    box.xdotool("key", "alt+t", "alt+l")  # Alt+T first, while its box is hidden: it does nothing
    wait_for(lambda: shown()["Start in system tray"]["visible"], what="Alt+L to tick the start-up box")
    assert shown()["Load this software on Windows startup"]["checked"] == 1
    assert shown()["Start in system tray"]["checked"] == 0
    box.xdotool("key", "alt+t")
    wait_for(lambda: shown()["Start in system tray"]["checked"] == 1, what="Alt+T to tick the tray box")
    assert desk.settings()["Minimized"] == "On"
    help_box_opens_and_closes(["alt+h"])


DARK = {"Window": "0 0 0", "WindowText": "255 255 255", "ButtonFace": "32 32 32",
        "ButtonText": "255 255 255", "GrayText": "160 160 160", "Highlight": "26 235 255",
        "HighlightText": "0 0 0"}
COLORS_KEY = r"HKCU\Control Panel\Colors"


@pytest.fixture
def dark_scheme(box):
    before = box.reg_values(COLORS_KEY)
    for name, value in DARK.items():
        box.reg_add(COLORS_KEY, name, value)
    yield
    for name in DARK:
        if name in before:
            box.reg_add(COLORS_KEY, name, before[name])
        else:
            box.reg_delete_value(COLORS_KEY, name)


def luminance(rgb):
    def channel(c):
        c /= 255
        return c / 12.92 if c <= 0.03928 else ((c + 0.055) / 1.055) ** 2.4
    r, g, b = map(channel, rgb)
    return 0.2126 * r + 0.7152 * g + 0.0722 * b


def contrast(a, b):
    hi, lo = sorted((luminance(a), luminance(b)), reverse=True)
    return (hi + 0.05) / (lo + 0.05)


def text_contrast(shot, x, y, w, h):
    """The contrast of the text in a region against its background: the most common colour is the
    background, the most common clearly different one the text. None where no text is drawn."""
    raw = subprocess.run(["convert", str(shot), "-crop", f"{w}x{h}+{x}+{y}", "+repage", "rgb:-"],
                         capture_output=True, check=True).stdout
    counts = {}
    for i in range(0, len(raw), 3):
        counts[raw[i:i + 3]] = counts.get(raw[i:i + 3], 0) + 1
    back = max(counts, key=counts.get)
    inked = {c: n for c, n in counts.items() if sum(abs(p - q) for p, q in zip(c, back)) > 120}
    if sum(inked.values()) < 15:
        return None
    return contrast(back, max(inked, key=inked.get))


def test_every_text_stays_readable_under_a_dark_scheme(desk, dark_scheme):
    desk.start()
    tree = desk.window()
    ox, oy = tree["origin"]
    shot = desk.box.screenshot(BUILD / "screenshots" / "dark-scheme.png")

    def region(child, left=0, top=0, right=0, bottom=0):
        x, y, w, h = child["rect"]
        return ox + x + left, oy + y + top, w - left - right, h - top - bottom

    help_button = desk.control(tree, cls="VantrelPushButton")
    regions = {
        "Help": region(help_button, 4, 4, 4, 4),
        "status line": region(desk.control(tree, cls="Static"), 2, 2, 2, 2),
        "start-up box": region(desk.control(tree, cls="Button"), 18, 1, 0, 1),
        "modifier list": region(desk.control(tree, cls="ComboBox"), 3, 3, 22, 3),
    }
    for frame in (c for c in tree["children"] if c["class"] == "VantrelFrame"):
        x, y, _, _ = frame["rect"]
        regions[frame["text"]] = (ox + x + 10, oy + y, 60, 14)  # the caption
    for what, (x, y, w, h) in regions.items():
        ratio = text_contrast(shot, x, y, w, h)
        assert ratio is not None, f"{what}: no text can be seen"
        assert ratio >= 4.5, f"{what}: contrast {ratio:.2f} against its background"
