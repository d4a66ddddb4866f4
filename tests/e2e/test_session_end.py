"""The end of the session, as Windows and an installer's Restart Manager ask for it from another
process: a question that may still be cancelled, then the answer."""
import pytest

from conftest import TITLE
from test_hotkey import REFUSED, TRACE, registrations
from winebox import wait_for

WM_QUERYENDSESSION, WM_ENDSESSION = 0x11, 0x16
ENDSESSION_CLOSEAPP = 0x1
RESTART_NO_CRASH, RESTART_NO_HANG, RESTART_NO_REBOOT = 0x1, 0x2, 0x8
NIM_DELETE = 2
CLICK_STARTUP = ("click", TITLE, "Load this software on Windows startup")


def restart_requests(program):
    """(command line, flags) of each RegisterApplicationRestart; the relay shows a string's pointer and text."""
    calls = program.calls("KERNEL32.RegisterApplicationRestart")
    return [(line.split(" ", 1)[-1], int(flags, 16)) for line, flags in (c.rsplit(",", 1) for c in calls)]


# ENDSESSION_CLOSEAPP is read from a pointer-sized lParam; RegisterApplicationRestart is looked up at run time.
@pytest.mark.both_builds
def test_a_cancelled_end_keeps_the_lock_and_a_real_one_ends_the_program(desk, box):
    program = desk.start(trace=TRACE + ["shell32.Shell_NotifyIconA", "kernel32.RegisterApplicationRestart"])
    wait_for(lambda: registrations(program), what="a registration")
    window = desk.window()["hwnd"]

    def send(message, wparam, lparam):
        return box.inspect("send", f"#{window}", message, wparam, lparam).strip()

    # Restarted by the system after an upgrade closes it, or at sign-in after the user's restart, marked as such;
    # never after a crash, a hang or an update's restart (Wine names the module in capitals).
    flags = RESTART_NO_CRASH | RESTART_NO_HANG | RESTART_NO_REBOOT
    assert restart_requests(program) == [('L"/restarted"', flags)]

    # An installer asks to close it, and the installation (or another program) cancels.
    assert send(WM_QUERYENDSESSION, 0, ENDSESSION_CLOSEAPP) == "1"
    assert restart_requests(program)[1:] == [('L"/upgraded"', flags)], "the upgrade's restart always runs it"
    assert send(WM_ENDSESSION, 0, ENDSESSION_CLOSEAPP) == "0"
    assert restart_requests(program)[2:] == [('L"/restarted"', flags)], "the sign-in's request is back"
    assert program.alive() and desk.window()["visible"]
    assert NIM_DELETE not in program.notify_operations(), "the icon stays"
    assert len(registrations(program)) == 1 and program.calls("user32.UnregisterHotKey")[1:] == [], \
        "the hotkey is held as it was"

    box.xdotool("windowfocus", "--sync", wait_for(lambda: box.x_window(TITLE), what="the main window's X window"))
    box.xdotool("key", "ctrl+alt+l")
    wait_for(lambda: program.calls("user32.LockWorkStation"), what="the lock request after the cancelled end")
    wait_for(lambda: any(b["text"].startswith(REFUSED) for b in box.boxes()), what="Wine's refusal")
    box.inspect("answer", "OK")
    wait_for(lambda: box.boxes() == [], what="the refusal answered")

    # The session ends for real: the close handler takes the icon away and the process ends.
    assert send(WM_QUERYENDSESSION, 0, 0) == "1"
    assert restart_requests(program)[3:] == [('L"/restarted"', flags)], "WM_ENDSESSION(FALSE) is not promised"
    assert program.alive()
    send(WM_ENDSESSION, 1, 0)  # no answer comes: the process ends inside the handler
    assert program.wait(10) == 0
    assert program.notify_operations()[-1] == NIM_DELETE


def test_a_copy_restarted_at_sign_in_gives_way_to_the_one_the_run_value_starts(desk, box):
    def launch(*args):
        program = box.launch(desk.exe, *args, trace=["user32.CreateWindowExW"])
        desk.running.append(program)
        return program

    # Nothing starts it at logon: the restarted copy is the one that runs.
    launch("/restarted")
    wait_for(lambda: (t := desk.window()) and t["visible"], timeout=30, what="the restarted copy's window")
    box.inspect(*CLICK_STARTUP)
    desk.stop_all()
    # Now the Run value starts a copy at this logon: the restarted one ends before it makes any window. Modelled: an
    # undocumented restart line naming the program unquoted, so that its path's blanks leave pieces before the mark.
    restarted = launch("Desk", "Guard\\VantrelDeskGuard.exe", "/restarted")
    assert restarted.wait(30) == 0
    assert restarted.calls("user32.CreateWindowExW") == []
    # Any other command line is ignored.
    launch("/upgraded")
    wait_for(lambda: (t := desk.window()) and t["visible"], timeout=30, what="the upgraded copy's window")
