#include "main_window/skin_step.h"

#include <windows.h>

#include "main_window/form1.h"
#include "win/files.h"
#include "win/services.h"
#include "win/win_handles.h"

namespace main_window {

bool skinFilePresent(const std::wstring& path) {
    WIN32_FIND_DATAW found;
    HANDLE first = FindFirstFileW(path.c_str(), &found);
    if (first == INVALID_HANDLE_VALUE) return false;
    const win::OwnedSearch search(first);  // only the first match is looked at
    // What a search with no attribute options returns: no hidden or system files, no folders.
    constexpr DWORD kNotOrdinary =
        FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY;
    return (found.dwFileAttributes & kNotOrdinary) == 0;
}

void SkinMainWindow(ui::Form& window, skin_engine::SkinEngine& engine, const std::wstring& folder) {
    if (!skinFilePresent(folder + kSkinFile)) return;
    // Under high contrast the user's own colours win: no skin restyles them.
    if (win::services().highContrast()) return;

    window.setBackColor(ui::kButtonFace);
    for (ui::Control* c : window.controls()) {
        switch (c->kind()) {
            case ui::Control::Kind::CheckBox:
            case ui::Control::Kind::Frame:
            case ui::Control::Kind::Label:
                c->setBackColor(ui::kButtonFace);
                break;
            default:  // lists, text box, push button keep their colours
                break;
        }
    }

    engine.loadSkin(folder + kSkinFile, L"");
    engine.setOptions(engine.options() | 1);
    engine.setRestyleControls(true);
    engine.setDrawButtons(true);
    engine.applyTo(window.hwnd());
}

}  // namespace main_window

void SkinMainWindow(Form1& form) {
    main_window::SkinMainWindow(form, form.SkinFramework1, win::programFolder());
}
