#pragma once
// Input that types characters rather than pressing keys.
#include <windows.h>

#include <string_view>
#include <vector>

namespace win {

// The input that types `text`: a key-down and a key-up carrying each UTF-16 unit (a surrogate
// pair as its two units). It arrives as VK_PACKET, which no hotkey matches.
std::vector<INPUT> unicodeInput(std::wstring_view text);

}  // namespace win
