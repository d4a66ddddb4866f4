#pragma once
// Captions carry their keyboard shortcut the Windows way: "&Help" shows "Help" with the H
// underlined once the keyboard is in use, and Alt+H presses it; "&&" stands for one "&".
#include <cwctype>
#include <string>

namespace ui {

// The caption as it is shown and read aloud: without the marks.
inline std::wstring withoutMnemonic(const std::wstring& caption) {
    std::wstring shown;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == L'&' && i + 1 < caption.size()) ++i;
        shown += caption[i];
    }
    return shown;
}

// "Alt+H" for "&Help"; empty when the caption marks no key.
inline std::wstring mnemonicShortcut(const std::wstring& caption) {
    for (size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != L'&') continue;
        if (caption[i + 1] != L'&')
            return L"Alt+" + std::wstring(1, static_cast<wchar_t>(std::towupper(caption[i + 1])));
        ++i;
    }
    return L"";
}

}  // namespace ui
