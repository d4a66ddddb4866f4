#include "hotkey/alt_gr_typing.h"

#include "hotkey/short_cuts.h"
#include "win/services.h"

namespace ShortCuts {

bool HandBackTyping(HWND mainWindow, unsigned modifiers, unsigned virtualKey) {
    // The left Alt key, or any other pair, is the combination the user chose: it always locks.
    if ((modifiers & (MOD_CONTROL | MOD_ALT | MOD_SHIFT)) != (MOD_CONTROL | MOD_ALT)) return false;
    auto& s = win::services();
    if (!s.keyDown(VK_RMENU) || s.altGrKey(virtualKey) == win::AltGrKey::typesNothing) return false;
    // The system took the key's press for us; its release and its repeats still reach the
    // program, so the press alone is sent on, with the user's modifiers still down. The system
    // passes sent input through its hotkey check before SendInput returns, so the key goes to
    // the program, not to us, and the combination is ours again before the next repeat.
    UnregisterHotKey(mainWindow, hotkeyId);
    s.sendKeyPress(virtualKey);
    if (!RegisterHotKey(mainWindow, hotkeyId, modifiers, virtualKey)) stopFlag = true;
    return true;
}

}  // namespace ShortCuts
