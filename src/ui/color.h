#pragma once
// Colours as the window designer stores them: 0x00BBGGRR for a fixed colour, or the system-colour
// flag 0x80000000 plus a system colour index, which follows the user's colour scheme.
#include <cstdint>

namespace ui {

using Color = std::uint32_t;

inline constexpr Color kSystemColorFlag = 0x80000000u;
inline constexpr Color kWhite = 0x00FFFFFFu;
inline constexpr Color kButtonFace = kSystemColorFlag | 15u;  // COLOR_BTNFACE
inline constexpr Color kButtonText = kSystemColorFlag | 18u;  // COLOR_BTNTEXT
inline constexpr Color kWindowText = kSystemColorFlag | 8u;   // COLOR_WINDOWTEXT
inline constexpr Color kWindowBack = kSystemColorFlag | 5u;   // COLOR_WINDOW

constexpr bool isSystemColor(Color c) {
    return (c & kSystemColorFlag) != 0;
}
constexpr int systemColorIndex(Color c) {
    return static_cast<int>(c & 0xFFu);
}

// The fixed colour for `c`, asking `systemColor(index)` for system colours.
template <class SystemColor>
std::uint32_t resolveColor(Color c, SystemColor systemColor) {
    return isSystemColor(c) ? systemColor(systemColorIndex(c)) : (c & 0x00FFFFFFu);
}

// `b` mixed into `a` by `percentB` percent, channel by channel (fixed colours 0x00BBGGRR).
constexpr std::uint32_t mixColors(std::uint32_t a, std::uint32_t b, int percentB) {
    std::uint32_t mixed = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const int x = static_cast<int>((a >> shift) & 0xFF),
                  y = static_cast<int>((b >> shift) & 0xFF);
        mixed |= static_cast<std::uint32_t>((x * (100 - percentB) + y * percentB) / 100) << shift;
    }
    return mixed;
}

}  // namespace ui
