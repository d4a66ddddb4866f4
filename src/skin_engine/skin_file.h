#pragma once
// Our skin file: a small versioned text format (docs/skins.md) read into plain data that the
// window painter applies. Every colour or font value left out keeps the window's own look.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace skin_engine {

struct Rgb {
    std::uint8_t r = 0;
    std::uint8_t g = 0;
    std::uint8_t b = 0;

    // The platform's colour value layout, 0x00BBGGRR.
    constexpr std::uint32_t colorref() const {
        return std::uint32_t{r} | std::uint32_t{g} << 8 | std::uint32_t{b} << 16;
    }
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Nothing means "keep the control's own colour".
using Colour = std::optional<Rgb>;

struct Skin {
    struct Surface {
        Colour background;
        Colour text;
    };
    struct StatusLine {  // its background stays the window's white whatever the skin says
        Colour text;
        Colour border;
    };
    struct Button {
        Colour face;
        Colour text;
        Colour hover;    // face while the pointer is over the button
        Colour pressed;  // face while the button is held down
        Colour border;
    };
    struct Font {
        std::wstring face;             // empty: keep the designed face
        std::optional<double> points;  // 1 to 72, in steps of 0.01
        std::optional<int> weight;     // 100 to 900 in steps of 100; normal 400, bold 700
    };

    int version = 1;
    Surface window;     // [window]
    Surface frame;      // [frame]: both frames, background and caption
    Surface checkBox;   // [checkbox]
    Surface list;       // [list]: both drop-down lists
    StatusLine status;  // [status]
    Button button;      // [button]: the Help button
    Font font;          // [font]
};

inline constexpr int kSkinVersion = 1;
inline constexpr std::size_t kMaxSkinFileBytes = 64 * 1024;

// Reads a whole skin file. The first fault, top to bottom, raises runtime::Error(kBadSkinFile)
// whose description names the file, the line and what is wrong, for example
//   Skin file C:\app\x\o.cjs, line 7: unknown key "facecolour" in section [button] (...)
// Faults of the whole file (too long, no version line, a required section missing) name no line.
Skin parseSkin(std::string_view bytes, std::wstring_view fileNameForMessages);

}  // namespace skin_engine
