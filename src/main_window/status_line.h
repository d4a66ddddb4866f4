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

}  // namespace main_window
