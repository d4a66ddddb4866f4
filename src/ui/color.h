#pragma once
// Colours as the window designer stores them: 0x00BBGGRR for a fixed colour, or the system-colour
// flag 0x80000000 plus a system colour index, which follows the user's colour scheme.
#include <cstdint>

namespace ui {

using Color = std::uint32_t;

inline constexpr Color kSystemColorFlag = 0x80000000u;
inline constexpr Color kWhite = 0x00FFFFFFu;
inline constexpr Color kButtonFace = kSystemColorFlag | 15u;     // COLOR_BTNFACE
inline constexpr Color kButtonText = kSystemColorFlag | 18u;     // COLOR_BTNTEXT
inline constexpr Color kWindowText = kSystemColorFlag | 8u;      // COLOR_WINDOWTEXT
inline constexpr Color kWindowBack = kSystemColorFlag | 5u;      // COLOR_WINDOW
inline constexpr Color kHighlight = kSystemColorFlag | 13u;      // COLOR_HIGHLIGHT
inline constexpr Color kHighlightText = kSystemColorFlag | 14u;  // COLOR_HIGHLIGHTTEXT

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

// A system colour as Windows' standard scheme has it: the look the window was designed in.
constexpr std::uint32_t standardSystemColor(int index) {
    switch (index) {
        case 5:   // window
        case 14:  // highlight text
            return 0xFFFFFFu;
        case 13:  // highlight: RGB 0, 120, 215
            return 0xD77800u;
        case 15:  // button face
            return 0xF0F0F0u;
        default:  // the text colours
            return 0x000000u;
    }
}

struct ColorPair {
    std::uint32_t text, back;  // fixed colours 0x00BBGGRR
};

// The colours a surface paints its text and its background with, both from one source, so that
// text stays readable under any colour scheme:
// - under high contrast, or where the system draws the control (disabled, in its own grey), the
//   system's own pair for the surface (`systemText`, `systemBack`);
// - where text and background both follow the system, or are both fixed, those two;
// - where one is fixed and the other follows the system, the designed look: the system colour
//   as the standard scheme has it, never the user's (which could be white text on a fixed white).
template <class SystemColor>
ColorPair surfaceColors(Color text, Color back, Color systemText, Color systemBack, bool systemPair,
                        SystemColor systemColor) {
    if (systemPair) text = systemText, back = systemBack;
    if (isSystemColor(text) == isSystemColor(back))
        return {resolveColor(text, systemColor), resolveColor(back, systemColor)};
    return {resolveColor(text, standardSystemColor), resolveColor(back, standardSystemColor)};
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
