#pragma once
#include <string>

namespace main_window {

// The status line for the two lists' texts (either may be empty).
inline std::wstring statusLine(const std::wstring& modifierText, const std::wstring& keyText) {
    return L"Software is on. Press " + modifierText + L" + " + keyText + L" to lock computer";
}

}  // namespace main_window
