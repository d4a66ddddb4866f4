"""The combinations a user can pick, in the order of the main window's two lists: the modifier
pairs of the left list and the keys of the right one. The bench and the end-to-end tests take
them from here."""
from __future__ import annotations

from typing import NamedTuple


class Pair(NamedTuple):
    text: str  # as the list shows it
    flags: int  # RegisterHotKey's modifiers: MOD_ALT 1, MOD_CONTROL 2, MOD_SHIFT 4
    keys: str  # the held keys as xdotool names them


MODIFIER_PAIRS = [Pair("Ctrl + Alt", 3, "ctrl+alt"), Pair("Ctrl + Shift", 6, "ctrl+shift"),
                  Pair("Alt + Shift", 5, "alt+shift")]
KEYS = [chr(c) for c in range(ord("A"), ord("Z") + 1)] + [str(d) for d in range(1, 10)] + ["0"]

