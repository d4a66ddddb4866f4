#pragma once
#include <string>

namespace main_window {

// The status line for the two lists' texts (either may be empty).
inline std::wstring statusLine(const std::wstring& modifierText, const std::wstring& keyText) {
    return L"Software is on. Press " + modifierText + L" + " + keyText + L" to lock computer";
}

// The status line when the system refused to register the combination: `alreadyUsed` when
// another program holds it.
inline std::wstring statusLineOff(const std::wstring& modifierText, const std::wstring& keyText,
                                  bool alreadyUsed) {
    return L"Software is off. " + modifierText + L" + " + keyText +
           (alreadyUsed ? L" is already used by another program" : L" could not be registered");
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

}  // namespace main_window
