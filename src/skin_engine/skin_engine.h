#pragma once
// The five operations the skin step of the start-up drives, in the order it drives them:
// load a skin, read and write the option bits, switch the two kinds of restyling on, apply.
// SkinFramework (skin_framework.h) is the real engine; tests put a recorder in its place.
#include <windows.h>

#include <string>

namespace skin_engine {

// Option bit 1: a colour that the program set explicitly (a fixed RGB value) stays; the skin only
// takes the place of the system colours the window and its controls carry.
inline constexpr int kKeepExplicitColours = 1;

class SkinEngine {
  public:
    virtual ~SkinEngine() = default;

    // Reads and checks the skin file at `path`. `displayName` is how error descriptions name the
    // file; empty means the path itself. Any fault raises runtime::Error and leaves no skin loaded.
    virtual void loadSkin(const std::wstring& path, const std::wstring& displayName) = 0;

    // Option bits (kKeepExplicitColours); bits this engine does not know are kept as written.
    virtual int options() const = 0;
    virtual void setOptions(int bits) = 0;

    // Restyle the window's child controls (frames, check boxes, labels, lists) and their fonts,
    // not only the window's own background.
    virtual void setRestyleControls(bool on) = 0;
    // Draw push buttons in the skin's face, text, hover, pressed and border colours.
    virtual void setDrawButtons(bool on) = 0;

    // Restyles the form whose window is `window`.
    virtual void applyTo(HWND window) = 0;
};

}  // namespace skin_engine
