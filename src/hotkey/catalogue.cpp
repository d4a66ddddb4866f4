#include "hotkey/catalogue.h"

#include "runtime/run_error.h"

namespace hotkey {

std::array<std::wstring, 36> keyTexts() {
    std::array<std::wstring, 36> keys;
    size_t i = 0;
    for (wchar_t c = L'A'; c <= L'Z'; ++c) keys[i++] = std::wstring(1, c);
    for (wchar_t c = L'1'; c <= L'9'; ++c) keys[i++] = std::wstring(1, c);
    keys[i] = L"0";
    return keys;
}

int keyCode(const std::wstring& keyText) {
    if (keyText.empty()) throw runtime::Error(runtime::kInvalidCall);
    return static_cast<int>(keyText[0]);
}

unsigned modifierFlags(int index) {
    return kModifierPairs[static_cast<size_t>(index)].flags;
}

}  // namespace hotkey
