#pragma once
// Typing that looks like the hotkey: Windows reports AltGr as Ctrl + Alt, so on layouts with AltGr
// characters the Ctrl + Alt combination also fires while the user types.

namespace ShortCuts {

// What became of a press that may be typing.
enum class Typing {
    none,  // not typing, or in doubt: the press locks
    sent,  // the character went on to the program with the focus
};

// Decides a press of the hotkey (its modifier flags and key, as the hotkey message carries them)
// from the keys held when it is handled. A focus window of a program above ours (one whose level
// cannot be read counts as above) is decided first: Windows reads every key as up to us there
// and drops what we send, so which Alt key is down cannot be told, and the press locks.
// Elsewhere the left Alt key is the combination the user chose; with neither Alt key down any
// more, the press is in doubt: both lock. With the right Alt key down and the left one up, AltGr
// is down: if AltGr with the key types a character (or starts a dead key) in the focused thread's
// layout, with the Caps Lock toggle applied, that character goes on to the program with the focus
// as Unicode input (a dead key as its spacing accent).
// Unicode input matches no hotkey, so the combination stays registered throughout.
Typing HandBackTyping(unsigned modifiers, unsigned virtualKey);

}  // namespace ShortCuts
