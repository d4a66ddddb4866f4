#pragma once
// Window positions are designed in twips (1/1440 inch); the screen works in pixels at some DPI.

namespace ui {

inline constexpr int kTwipsPerInch = 1440;

// Rounds to the nearest pixel, as the platform's MulDiv does.
constexpr int twipsToPixels(int twips, int dpi) {
    const long long scaled = static_cast<long long>(twips) * dpi;
    return static_cast<int>(scaled >= 0 ? (scaled + kTwipsPerInch / 2) / kTwipsPerInch
                                        : -((-scaled + kTwipsPerInch / 2) / kTwipsPerInch));
}

// The pixel height of a font of `points` at `dpi`, as a negative character height.
constexpr int fontHeight(double points, int dpi) {
    return -static_cast<int>(points * dpi / 72.0 + 0.5);
}

struct TwipsRect {
    int left, top, width, height;
};

}  // namespace ui
