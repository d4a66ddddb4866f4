#pragma once
// The skin engine that sits on the main window: it loads one skin file (skin_file.h) and applies
// it to a form, through the form's own colour and font machinery, so that every later repaint
// shows the skin. docs/skins.md describes what each operation does to the window.
#include <optional>

#include "skin_engine/skin_engine.h"
#include "skin_engine/skin_file.h"

namespace skin_engine {

class SkinFramework : public SkinEngine {
  public:
    void loadSkin(const std::wstring& path, const std::wstring& displayName) override;
    int options() const override { return options_; }
    void setOptions(int bits) override { options_ = bits; }
    void setRestyleControls(bool on) override { restyleControls_ = on; }
    void setDrawButtons(bool on) override { drawButtons_ = on; }
    void applyTo(HWND window) override;

    const std::optional<Skin>& skin() const { return skin_; }

  private:
    std::optional<Skin> skin_;
    int options_ = 0;
    bool restyleControls_ = false;
    bool drawButtons_ = false;
};

// The bytes of a skin file, at most kMaxSkinFileBytes + 1 of them, so that the reader still sees
// that a longer file is too long. A file that cannot be opened or read raises runtime::Error
// (Path/File access error) naming `displayName` and the system's reason.
std::string readSkinBytes(const std::wstring& path, const std::wstring& displayName);

}  // namespace skin_engine
