#pragma once
#include <cstddef>
#include <string>

#include "main_window/app_title.h"

namespace main_window {

// The status line for the two lists' texts (either may be empty).
inline std::wstring statusLine(const std::wstring& modifierText, const std::wstring& keyText) {
    return L"Software is on. Press " + modifierText + L" + " + keyText + L" to lock computer";
}

// Who holds a combination the system refused to register, as far as the program can tell.
enum class Holder {
    kUnknown,            // refused for another reason, or the holder is not known
    kAnotherProgram,     // some other program registered it
    kRunningCopy,        // a copy of this program runs already and says it holds this one
    kCopyNotResponding,  // a copy runs, did not respond in time, and so does not lock either
};

// The status line when the system refused to register the combination.
inline std::wstring statusLineOff(const std::wstring& modifierText, const std::wstring& keyText,
                                  Holder holder) {
    const std::wstring combination = modifierText + L" + " + keyText;
    switch (holder) {
        case Holder::kRunningCopy:
            return L"Software is off. " + std::wstring(kProductTitle) +
                   L" is already running and holds " + combination;
        case Holder::kCopyNotResponding:
            return L"Software is off. " + std::wstring(kProductTitle) +
                   L" is already running but does not respond";
        case Holder::kAnotherProgram:
            return L"Software is off. " + combination + L" is already used by another program";
        case Holder::kUnknown:
            break;
    }
    return L"Software is off. " + combination + L" could not be registered";
}

// The status line when a system policy disables locking: nothing is bound then.
inline constexpr const wchar_t* kStatusLinePolicy =
    L"Software is off. Locking is disabled by a system policy";
// The status line when a binding registered nothing because the choice is incomplete.
inline constexpr const wchar_t* kStatusLineNoCombination =
    L"Software is off. Choose a modifier pair and a key";

// The status line before the binding has run: off for the policy or a list without a choice,
// else the combination the binding is about to register.
inline std::wstring statusLineBeforeBinding(bool disabledByPolicy, const std::wstring& modifierText,
                                            const std::wstring& keyText) {
    if (disabledByPolicy) return kStatusLinePolicy;
    if (modifierText.empty() || keyText.empty()) return kStatusLineNoCombination;
    return statusLine(modifierText, keyText);
}

// Why the software is off, as the status line gives it; empty while it is on.
inline std::wstring offReason(const std::wstring& line) {
    const std::wstring off = L"Software is off. ";
    return line.compare(0, off.size(), off) == 0 ? line.substr(off.size()) : std::wstring();
}

// The most the tray's tooltip holds: 128 bytes with the closing NUL, one byte a character for
// the plain ASCII of these texts.
inline constexpr std::size_t kTrayTipChars = 127;

// The tray's tooltip, on one line (Windows 11 has been seen to show only a tooltip's first): the
// product title, and while the software is off " is off: " and the reason. A reason too long for
// the tooltip is shortened, never the title.
inline std::wstring trayTip(const std::wstring& reason) {
    std::wstring tip(kProductTitle);
    if (reason.empty()) return tip;
    tip += L" is off: ";
    const std::size_t room = kTrayTipChars - tip.size();
    return tip + (reason.size() <= room ? reason : reason.substr(0, room - 3) + L"...");
}

}  // namespace main_window
