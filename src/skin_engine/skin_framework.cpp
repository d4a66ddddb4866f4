#include "skin_engine/skin_framework.h"

#include <windows.h>
#include <uxtheme.h>

#include "runtime/run_error.h"
#include "ui/form.h"
#include "ui/push_button.h"
#include "win/common_controls.h"
#include "win/function_lookup.h"
#include "win/system_text.h"
#include "win/win_handles.h"
#include "win/window_class.h"

namespace skin_engine {
namespace {

// The colour a surface takes: the skin's where it names one, unless the surface carries a colour
// the program set explicitly and the engine is told to keep those.
ui::Color take(ui::Color current, const Colour& skin, bool keepExplicit) {
    if (!skin || (keepExplicit && !ui::isSystemColor(current))) return current;
    return skin->colorref();
}

const Colour& either(const Colour& own, const Colour& fallback) {
    return own ? own : fallback;
}

ui::FontSpec skinned(ui::FontSpec wanted, const Skin::Font& font, bool keepSize) {
    if (!font.face.empty()) wanted.face = font.face;
    if (font.points && !keepSize) wanted.points = *font.points;
    if (font.weight) {
        wanted.weight = *font.weight;
        wanted.bold = *font.weight >= FW_SEMIBOLD;
    }
    return wanted;
}

// The button's look: the skin's colours, the button's own face and text where the skin names
// none, and hover, pressed and border shades mixed from face and text where those are left out.
ui::ButtonLook buttonLook(const Skin::Button& b, const ui::Control& button, const ui::Form& form) {
    const ui::ColorPair own = form.colors(button);
    const ui::Color face = b.face ? b.face->colorref() : own.back;
    const ui::Color text = b.text ? b.text->colorref() : own.text;
    return {face, text, b.hover ? b.hover->colorref() : ui::mixColors(face, text, 15),
            b.pressed ? b.pressed->colorref() : ui::mixColors(face, text, 30),
            b.border ? b.border->colorref() : ui::mixColors(face, text, 45)};
}

// Labels draw their one-pixel border in the colour kept as the subclass's data.
LRESULT borderProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, DWORD_PTR colour) {
    const ui::Form* form = ui::Form::fromHwnd(GetAncestor(hwnd, GA_ROOT));
    const bool skinned = form && !form->highContrast();  // high contrast: the system's border
    if (msg == WM_NCPAINT && skinned && (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_BORDER)) {
        HDC dc = GetWindowDC(hwnd);
        RECT rc;
        GetWindowRect(hwnd, &rc);
        OffsetRect(&rc, -rc.left, -rc.top);
        FrameRect(dc, &rc, win::OwnedBrush(CreateSolidBrush(static_cast<COLORREF>(colour))).get());
        ReleaseDC(hwnd, dc);
        return 0;
    }
    return win::defSubclassProc(hwnd, msg, wp, lp);
}

// Visual styles draw check boxes and lists in the theme's colours whatever the form answers to
// WM_CTLCOLOR*; a control that takes skin colours is drawn without them. uxtheme is not imported
// (it is no KnownDLL, so an import would be looked for beside the program first): it is loaded
// from the system folder on the first skinned control.
void drawUnthemed(const ui::Control& c) {
    static const auto setWindowTheme = win::moduleFunction<decltype(&::SetWindowTheme)>(
        win::systemLibrary(L"uxtheme.dll"), "SetWindowTheme");
    if (setWindowTheme) setWindowTheme(c.hwnd(), L"", L"");
}

}  // namespace

std::string readSkinBytes(const std::wstring& path, const std::wstring& displayName) {
    auto fail = [&](DWORD code) {
        return runtime::Error(runtime::kPathFileAccess, L"Skin file " + displayName +
                                                            L": cannot be read (" +
                                                            win::systemErrorText(code) + L")");
    };
    HANDLE opened = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (opened == INVALID_HANDLE_VALUE) throw fail(GetLastError());
    const win::OwnedFile file(opened);
    std::string bytes;
    char buffer[16384];
    DWORD got = 0;
    DWORD error = 0;
    while (bytes.size() <= kMaxSkinFileBytes) {
        if (!ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) {
            error = GetLastError();
            break;
        }
        if (got == 0) break;
        bytes.append(buffer, got);
    }
    if (error) throw fail(error);
    if (bytes.size() > kMaxSkinFileBytes + 1) bytes.resize(kMaxSkinFileBytes + 1);
    return bytes;
}

void SkinFramework::loadSkin(const std::wstring& path, const std::wstring& displayName) {
    skin_.reset();
    const std::wstring& name = displayName.empty() ? path : displayName;
    skin_ = parseSkin(readSkinBytes(path, name), name);
}

void SkinFramework::applyTo(HWND window) {
    ui::Form* form = ui::Form::fromHwnd(window);
    if (!form || !skin_) throw runtime::Error(runtime::kInvalidCall);
    const Skin& s = *skin_;
    const bool keep = (options_ & kKeepExplicitColours) != 0;

    form->setBackColor(take(form->backColor(), s.window.background, keep));
    for (ui::Control* c : form->controls()) {
        const ui::Control::Kind kind = c->kind();
        if (kind == ui::Control::Kind::PushButton) {
            if (!drawButtons_) continue;
            static_cast<ui::PushButton*>(c)->setLook(buttonLook(s.button, *c, *form));
            c->setFont(skinned(c->font(), s.font, /*keepSize=*/true));
            continue;
        }
        if (!restyleControls_) continue;
        switch (kind) {
            case ui::Control::Kind::Frame:
            case ui::Control::Kind::CheckBox: {
                // Both sit on the window's background: what their own section leaves out, they
                // take from [window].
                const Skin::Surface& own = kind == ui::Control::Kind::Frame ? s.frame : s.checkBox;
                c->setBackColor(
                    take(c->backColor(), either(own.background, s.window.background), keep));
                c->setForeColor(take(c->foreColor(), either(own.text, s.window.text), keep));
                if (kind == ui::Control::Kind::CheckBox) drawUnthemed(*c);
                break;
            }
            case ui::Control::Kind::ComboBox:
                c->setBackColor(take(c->backColor(), s.list.background, keep));
                c->setForeColor(take(c->foreColor(), s.list.text, keep));
                if (s.list.background || s.list.text) drawUnthemed(*c);
                break;
            case ui::Control::Kind::Label:
                c->setForeColor(take(c->foreColor(), s.status.text, keep));
                if (s.status.border)
                    win::subclassWindow(c->hwnd(), borderProc, s.status.border->colorref());
                break;
            default:
                break;
        }
        c->setFont(skinned(c->font(), s.font, /*keepSize=*/false));
    }
    form->repaintAll();
}

}  // namespace skin_engine
