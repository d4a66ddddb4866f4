#pragma once
// Typing that looks like the hotkey: Windows reports AltGr as Ctrl + Alt, so on layouts with AltGr
// characters the Ctrl + Alt combination also fires while the user types.
#include <windows.h>

namespace ShortCuts {

// True when a press of the hotkey (its modifier flags and key, as the hotkey message carries them)
// is the user typing: Ctrl + Alt with the right Alt key down, and a key that AltGr makes type a
// character, or start a dead key, in the layout of the program with the focus. Such a press is
// handed on to that program: the combination is withdrawn while the key is sent again, then
// registered again at once. Where that registration is refused, the stop flag is raised so that
// the next binding says why the software is off.
bool HandBackTyping(HWND mainWindow, unsigned modifiers, unsigned virtualKey);

}  // namespace ShortCuts
