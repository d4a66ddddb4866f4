"""Skins as a user installs them: a file "x\\o.cjs" beside the program restyles the main window."""
import random
import re
import subprocess
import time
from pathlib import Path

import pytest

from conftest import DOC_SHOTS, TITLE
from winebox import ROOT, wait_for

SKINS = sorted((ROOT / "skins").glob("*.cjs"))
LOAD_LINE_102 = "\r\nin Vantrel2021/08/31.Form1.Form_Load at line 102"
REPORT_TAIL = "\r\rPlease email screenshot of this message to support@tamberlin.example"
WHITE = (255, 255, 255)

# Points in the client area, at 96 dpi (see the layout in test_startup.py).
WINDOW_BACKGROUND = (3, 95)   # the margin left of the status line
STATUS_LINE = (14, 103)       # inside the status line, left of its centred text
STATUS_BORDER = (8, 107)      # the status line's left border
FRAME_BACKGROUND = (268, 40)  # "Key Options", above its etched line
HELP_FACE = (20, 14)          # the Help button's face, left of its caption


def skin_value(path: Path, section: str, key: str):
    """A colour of a skin file as (r, g, b), or None when the skin does not set it."""
    current = None
    for line in path.read_text(encoding="utf-8-sig").splitlines():
        line = line.strip()
        if line.startswith("["):
            current = line.strip("[]").strip().lower()
        elif "=" in line and current == section:
            name, value = (part.strip() for part in line.split("=", 1))
            if name.lower() == key:
                if value.startswith("#"):
                    return tuple(int(value[i:i + 2], 16) for i in (1, 3, 5))
                return tuple(int(n) for n in re.findall(r"\d+", value))
    return None


class Screen:
    """One screenshot of the main window, read in client coordinates."""

    def __init__(self, desk):
        tree = desk.window()
        self.x, self.y, self.w, self.h = tree["rect"]
        client_w, client_h = tree["client"][2:]
        border = (self.w - client_w) // 2
        self.client = (self.x + border, self.y + self.h - client_h - border)
        self.shot = desk.box.screenshot(ROOT / "build" / "screenshots" / f"skins-{time.monotonic_ns()}.png")

    def window_pixels(self) -> bytes:
        return subprocess.run(["convert", str(self.shot), "-crop", f"{self.w}x{self.h}+{self.x}+{self.y}",
                               "-depth", "8", "rgb:-"], check=True, capture_output=True).stdout

    def pixel(self, point):
        x, y = self.client[0] + point[0], self.client[1] + point[1]
        out = subprocess.run(["convert", str(self.shot), "-crop", f"1x1+{x}+{y}", "-depth", "8", "txt:-"],
                             check=True, capture_output=True, text=True).stdout
        return tuple(int(v, 16) for v in re.findall(r"#([0-9A-Fa-f]{2})([0-9A-Fa-f]{2})([0-9A-Fa-f]{2})", out)[0])


def settled_screen(desk, save_as=None, shows=None):
    """A screenshot of the window once its paint is done: once `shows` (a point and its colour) is
    on screen, or, where no colour is known ahead, once two shots in a row are the same."""
    last = []

    def settled():
        screen = Screen(desk)
        if shows:
            return screen if screen.pixel(shows[0]) == shows[1] else None
        pixels = screen.window_pixels()
        same = last == [pixels]
        last[:] = [pixels]
        return screen if same else None

    screen = wait_for(settled, timeout=15, interval=0.2, what="the window painted")
    if save_as:
        desk.box.save_window_shot(desk.window()["rect"], save_as)
    return screen


def button_face(box):
    return tuple(int(n) for n in box.reg_values(r"HKCU\Control Panel\Colors")["ButtonFace"].split())


def install(desk, data: bytes | None = None, folder=False):
    target = desk.folder / "x" / "o.cjs"
    target.parent.mkdir(exist_ok=True)
    if folder:
        target.mkdir()
    else:
        target.write_bytes(data)
    return target


@pytest.mark.parametrize("skin", SKINS, ids=[s.stem for s in SKINS])
def test_each_sample_skin_restyles_the_window(desk, skin):
    desk.box.xdotool("mousemove", 1, 1)  # off the window
    install(desk, skin.read_bytes())
    program = desk.start()
    assert desk.box.boxes() == []
    screen = settled_screen(desk, DOC_SHOTS / f"skin-{skin.stem}.png")

    background = screen.pixel(WINDOW_BACKGROUND)
    assert background != WHITE
    assert background == skin_value(skin, "window", "background")
    assert screen.pixel(FRAME_BACKGROUND) == skin_value(skin, "frame", "background")
    assert screen.pixel(HELP_FACE) == skin_value(skin, "button", "face")
    assert screen.pixel(STATUS_LINE) == WHITE, "the program's own white stays"
    if border := skin_value(skin, "status", "border"):
        assert screen.pixel(STATUS_BORDER) == border

    # The Help button under the pointer, and held down (released off the button: no click).
    box, (cx, cy) = desk.box, screen.client
    try:
        box.xdotool("mousemove", cx + HELP_FACE[0], cy + HELP_FACE[1])
        # Each wait fails at its deadline unless the face takes the colour.
        settled_screen(desk, shows=(HELP_FACE, skin_value(skin, "button", "hover")))
        box.xdotool("mousedown", "1")
        settled_screen(desk, shows=(HELP_FACE, skin_value(skin, "button", "pressed")))
    finally:
        box.xdotool("mousemove", 1, 1)
        box.xdotool("mouseup", "1")
    settled_screen(desk, shows=(HELP_FACE, skin_value(skin, "button", "face")))
    assert desk.box.boxes() == []
    assert program.alive()


def test_without_a_skin_the_window_keeps_its_white_background(desk):
    desk.start()
    screen = settled_screen(desk)
    assert screen.pixel(WINDOW_BACKGROUND) == WHITE
    assert screen.pixel(FRAME_BACKGROUND) == WHITE
    assert desk.box.boxes() == []


@pytest.mark.parametrize("how", ["folder named o.cjs", "hidden file"])
def test_what_does_not_count_as_a_skin(desk, how):
    if how == "folder named o.cjs":
        install(desk, folder=True)
    else:
        target = install(desk, (SKINS[0]).read_bytes())
        windows_path = "Z:" + str(target).replace("/", "\\")
        desk.box.run("attrib", "+h", windows_path, timeout=60, check=True,
                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        listing = desk.box.run("attrib", windows_path, timeout=60, capture_output=True, text=True).stdout
        assert "H" in listing.split("Z:")[0], f"the file is not hidden: {listing!r}"
    program = desk.start()
    screen = settled_screen(desk)
    assert screen.pixel(WINDOW_BACKGROUND) == WHITE
    assert desk.box.boxes() == []
    assert program.alive()


def test_a_skin_file_of_random_bytes_is_reported_at_line_102_and_start_up_goes_on(desk):
    install(desk, random.Random(102).randbytes(700))
    program = desk.start(wait_window=False)
    boxes = wait_for(lambda: desk.box.boxes(), timeout=30, what="the error report box")
    assert boxes[0]["title"] == "Application Error"
    text = boxes[0]["text"]
    skin_path = "Z:" + str(desk.folder).replace("/", "\\") + "\\x\\o.cjs"
    first_line = text.split("\r\n")[0]
    assert re.fullmatch(re.escape(f"Skin file {skin_path}") + r"(, line \d+)?: \S.*", first_line), first_line
    assert text == first_line + LOAD_LINE_102 + REPORT_TAIL

    desk.box.inspect("answer", "OK")
    wait_for(lambda: (t := desk.window()) and t["visible"], timeout=30, what="the window after the box")
    screen = settled_screen(desk)
    assert screen.pixel(WINDOW_BACKGROUND) == button_face(desk.box)
    assert screen.pixel(FRAME_BACKGROUND) == button_face(desk.box)
    assert screen.pixel(STATUS_LINE) == WHITE
    assert desk.box.boxes() == []
    assert program.alive()
