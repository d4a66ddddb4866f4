"""The notification-area icon as a user meets it: tooltip, minimize to tray with a balloon once,
restore on a click, the help box, the shell's restart, closing, starting hidden in the tray, and
the icon and tip that tell when the software is off."""
import subprocess

import pytest

from conftest import TITLE
from winebox import ROOT, wait_for

NOTIFY = ["shell32.Shell_NotifyIconA"]
ADD, MODIFY, DELETE = 0, 1, 2
BALLOON_TEXT = ("has been minimized to the system tray.\r\n"
                "Click on the blue 'T' icon (T for Tamberlin) to bring the software back.")
HELP_TEXT = ("This software will do the same as pressing Ctrl+Alt+Del and clicking Lock in one key press."
             "\r\n\r\nThis software minimizes to the bottom-right corner of the screen."
             "\r\n\r\nQuestions? Please contact Team Tamberlin at https://www.tamberlin.example/contact/")
TRAY_BLUE = (7, 162, 254)
OFF_SLASH = (170, 0, 0)  # the "off" icon's slash


def hidden(desk):
    tree = desk.window()
    return tree is not None and not tree["visible"]


def shown_normal_with_focus(desk):
    tree = desk.window()
    return tree and tree["visible"] and not tree["iconic"] and tree["foreground"] and tree["focus"]


def balloons(box):
    return [t for t in box.tooltips() if t["balloon"]]


# The notify-icon record's layout and the window hook's offsets differ by word size.
@pytest.mark.both_builds
def test_icon_enters_the_tray_once_at_start_with_the_product_title_as_tip(desk):
    program = desk.start(trace=NOTIFY)
    box = desk.box
    assert program.notify_operations() == [ADD]
    shot = ROOT / "build" / "screenshots" / "tray.png"
    assert wait_for(lambda: box.tray_icon_pixels(shot, TRAY_BLUE) >= 20, timeout=10,
                    what="the blue T drawn in the tray")
    box.point_at_tray_icon()
    tips = wait_for(lambda: [t["text"] for t in box.tooltips() if not t["balloon"]], timeout=10,
                    what="the tooltip")
    assert tips == [TITLE]


def test_a_combination_taken_by_another_program_shows_the_off_icon_and_the_reason(desk, box):
    def tip():
        def pointed():  # away and back: the tip shows as it is now
            box.xdotool("mousemove", 600, 700, "sleep", "0.5")
            box.point_at_tray_icon()
            box.xdotool("mousemove_relative", "--", 2, 2, "sleep", "0.2", "mousemove_relative", "--", -2, -2)
            try:
                return wait_for(lambda: [t["text"] for t in box.tooltips() if not t["balloon"]], timeout=3)
            except TimeoutError:
                return None
        return wait_for(pointed, timeout=20, what="the tooltip")

    shot = ROOT / "build" / "screenshots" / "tray-off.png"
    holder = subprocess.Popen(box.command(box.inspect_exe(), "hotkey", "3", str(0x4C)), env=box.env(),
                              stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
    try:
        assert holder.stdout.readline().strip() == "registered"
        box.xdotool("mousemove", 600, 700)  # not over the icon as it enters
        desk.start()
        wait_for(lambda: box.tray_icon_pixels(shot, OFF_SLASH) >= 20, timeout=15, what="the off icon")
        assert box.tray_icon_pixels(shot, TRAY_BLUE) == 0
        [text] = tip()
        assert text.startswith(TITLE + " is off: ") and text.endswith("is already used by another program")
    finally:
        holder.stdin.close()
        holder.wait(10)
    box.inspect("select", TITLE, 1, 12)  # "M", then "L" again: bound now that it is free
    box.inspect("select", TITLE, 1, 11)
    wait_for(lambda: box.tray_icon_pixels(shot, TRAY_BLUE) >= 20, timeout=15, what="the design's icon")
    assert box.tray_icon_pixels(shot, OFF_SLASH) == 0
    wait_for(lambda: tip() == [TITLE], timeout=15, what="the plain title")


# The balloon's fields in the record, and the callback's parameters, sit at other offsets per word size.
@pytest.mark.both_builds
def test_minimize_hides_with_one_balloon_and_a_release_on_the_icon_restores(desk):
    program = desk.start(trace=NOTIFY)
    box = desk.box
    box.xdotool("mousemove", 600, 700)  # away from the icon: no tooltip in the way
    box.inspect("minimize", TITLE)
    wait_for(lambda: hidden(desk), what="the window hidden into the tray")
    shown = wait_for(lambda: balloons(box), timeout=10, what="the balloon")
    assert [b["text"] for b in shown] == [BALLOON_TEXT]
    assert program.notify_operations()[:2] == [ADD, MODIFY], "the icon stays; the balloon is a modify"

    # A left release during the balloon's wait restores at once, in the normal state, focused.
    box.click_tray_icon(1)
    wait_for(lambda: shown_normal_with_focus(desk), timeout=10, what="the window back with the focus")
    # The wait runs out (Wine reports no balloon events) and the balloon is cleared.
    wait_for(lambda: program.notify_operations() == [ADD, MODIFY, MODIFY], timeout=10,
             what="the clear-balloon request")
    wait_for(lambda: not balloons(box), timeout=10, what="the balloon gone")

    # The second minimize hides silently; a right release brings the window back.
    box.inspect("minimize", TITLE)
    wait_for(lambda: hidden(desk), what="the window hidden again")
    box.click_tray_icon(3)
    wait_for(lambda: shown_normal_with_focus(desk), timeout=10, what="the window back after a right click")
    assert program.notify_operations() == [ADD, MODIFY, MODIFY], "no second balloon"
    assert balloons(box) == []


def test_help_button_shows_the_three_sentences_under_the_application_title(desk):
    program = desk.start()
    box = desk.box
    box.inspect("click", TITLE, "Help")
    shown = wait_for(lambda: box.boxes(), timeout=10, what="the help box")
    assert shown == [{"title": "Vantrel Desk", "text": HELP_TEXT, "buttons": ["OK"],
                      "has_icon": False, "owner_pid": shown[0]["owner_pid"]}]
    box.inspect("answer", "OK")
    wait_for(lambda: box.boxes() == [], timeout=10, what="the box dismissed")
    assert program.alive()


# The record sent again, and the registered message's filter call, per word size.
@pytest.mark.both_builds
def test_taskbar_created_puts_the_icon_back(desk):
    program = desk.start(trace=NOTIFY + ["user32.ChangeWindowMessageFilterEx"])
    box = desk.box
    # Admitted on the tray control's own window, so an elevated program hears it too; the form
    # admits only the question a second copy asks it.
    admitted = [tuple(int(a, 16) for a in c.split(",")) for c in program.calls("user32.ChangeWindowMessageFilterEx")]
    form = desk.window()["hwnd"]
    [(message, action, info)] = [(m, a, i) for w, m, a, i in admitted if w != form]
    assert 0xC000 <= message <= 0xFFFF and (action, info) == (1, 0)
    assert [w for w, *_ in admitted].count(form) == 1
    box.inspect("broadcast", "TaskbarCreated")
    wait_for(lambda: program.notify_operations() == [ADD, DELETE, ADD], timeout=10,
             what="delete and add again")
    shot = ROOT / "build" / "screenshots" / "tray-after-restart.png"
    assert wait_for(lambda: box.tray_icon_pixels(shot, TRAY_BLUE) >= 20, timeout=10,
                    what="the icon drawn again")


def test_closing_removes_the_icon_before_the_process_ends(desk):
    program = desk.start(trace=NOTIFY)
    desk.box.inspect("close", TITLE)
    program.wait(10)
    assert program.notify_operations() == [ADD, DELETE]


def test_start_options_on_start_hidden_in_the_tray_and_a_click_shows_the_window(desk):
    desk.store(Windows_Startup="On", Minimized="On")
    desk.start_at_logon()
    program = desk.start(trace=NOTIFY + ["user32.RegisterHotKey", "user32.WaitMessage"], wait_window=False)
    box = desk.box
    wait_for(lambda: desk.window(), timeout=30, what="the main window")
    wait_for(lambda: program.notify_operations()[:2] == [ADD, MODIFY], timeout=20,
             what="the icon, then the minimized-to-tray balloon")
    assert hidden(desk)
    # The first binding runs inside the balloon's wait and leaves the window where it is.
    wait_for(lambda: program.calls("user32.RegisterHotKey"), timeout=15, what="the hotkey's binding")
    # The binding's wait loop starts after the step that would show the window.
    wait_for(lambda: program.calls("user32.WaitMessage"), timeout=15, what="the wait loop")
    assert hidden(desk)
    box.click_tray_icon(1)
    wait_for(lambda: shown_normal_with_focus(desk), timeout=10, what="the window shown by the click")

