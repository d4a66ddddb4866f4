#include "win/unicode_input.h"

namespace win {

std::vector<INPUT> unicodeInput(std::wstring_view text) {
    std::vector<INPUT> input;
    for (const wchar_t unit : text) {
        for (const DWORD up : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
            INPUT event{};
            event.type = INPUT_KEYBOARD;
            event.ki.wScan = unit;
            event.ki.dwFlags = KEYEVENTF_UNICODE | up;
            input.push_back(event);
        }
    }
    return input;
}

}  // namespace win
