#include "hotkey/alt_gr_typing.h"

#include <windows.h>

#include <string>

#include "win/keyboard_focus.h"
#include "win/services.h"
#include "win/unicode_input.h"

namespace ShortCuts {
namespace {

// What AltGr with the key types in `layout`: its characters, a dead key's spacing accent, or
// nothing.
std::wstring altGrText(HKL layout, unsigned virtualKey, bool capsLock) {
    auto& s = win::services();
    // AltGr reaches a layout as the left Ctrl and the right Alt. Caps Lock is applied here because
    // the character is sent as it is, not typed by the program that receives it.
    BYTE state[256]{};
    state[VK_CONTROL] = state[VK_LCONTROL] = state[VK_MENU] = state[VK_RMENU] = 0x80;
    state[VK_CAPITAL] = capsLock ? 1 : 0;
    wchar_t typed[8];
    const int n = s.toUnicode(virtualKey, state, typed, 8, layout);
    if (n < 0) {
        const wchar_t accent = typed[0];
        // Where the system ignores the request to leave its dead-key state alone, the first call
        // started a dead key; a second one ends it.
        s.toUnicode(virtualKey, state, typed, 8, layout);
        return std::wstring(1, accent);
    }
    // A control character is no typing: Ctrl with a letter gives one on some layouts.
    return n > 0 && typed[0] >= L' ' ? std::wstring(typed, static_cast<std::size_t>(n))
                                     : std::wstring();
}

}  // namespace

Typing HandBackTyping(unsigned modifiers, unsigned virtualKey) {
    if ((modifiers & (MOD_CONTROL | MOD_ALT | MOD_SHIFT)) != (MOD_CONTROL | MOD_ALT))
        return Typing::none;
    auto& s = win::services();
    // First, so that the key state Windows hides from us there never passes for a user who let go.
    const HWND focus = win::keyboardFocus();
    if (!focus || s.aboveUs(focus)) return Typing::none;
    if (s.keyDown(VK_LMENU) || !s.keyDown(VK_RMENU)) return Typing::none;
    const std::wstring text =
        altGrText(s.keyboardLayout(win::layoutThread(focus)), virtualKey, s.capsLockOn());
    if (text.empty()) return Typing::none;
    s.sendInput(win::unicodeInput(text));
    return Typing::sent;
}

}  // namespace ShortCuts
