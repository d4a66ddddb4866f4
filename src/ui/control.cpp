#include "ui/control.h"

#include <commctrl.h>

#include "ui/form.h"
#include "ui/twips.h"

namespace ui {

Control::~Control() {
    if (form_) form_->unregisterControl(*this);
    if (hwnd_) DestroyWindow(hwnd_);
}

void Control::createWindow(Form& form, Control* container, const wchar_t* windowClass,
                           const wchar_t* text, DWORD style, DWORD exStyle, void* object) {
    form_ = &form;
    const int dpi = form.dpi();
    const RECT r = pixelPlace(dpi);
    hwnd_ =
        win::createWindow(exStyle, windowClass, text, WS_CHILD | WS_VISIBLE | style, r.left, r.top,
                          r.right, r.bottom, container ? container->hwnd() : form.hwnd(), object);
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(form.font(font_)), FALSE);
    form.registerControl(*this);
}

RECT Control::pixelPlace(int dpi) const {
    return {twipsToPixels(place_.left, dpi), twipsToPixels(place_.top, dpi),
            twipsToPixels(place_.width, dpi), windowHeight(twipsToPixels(place_.height, dpi))};
}

bool Control::unseen() const {
    HWND parent = GetParent(hwnd_);
    RECT box, client, overlap;
    GetWindowRect(hwnd_, &box);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&box), 2);
    GetClientRect(parent, &client);
    return !IntersectRect(&overlap, &box, &client);
}

bool Control::visible() const {
    return (GetWindowLongPtrW(hwnd_, GWL_STYLE) & WS_VISIBLE) != 0;
}

void Control::setVisible(bool visible) {
    ShowWindow(hwnd_, visible ? SW_SHOWNA : SW_HIDE);
}

void Control::setEnabled(bool enabled) {
    EnableWindow(hwnd_, enabled ? TRUE : FALSE);
}

void Control::setBackColor(Color c) {
    back_ = c;
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void Control::setForeColor(Color c) {
    fore_ = c;
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void Control::setFont(const FontSpec& font) {
    font_ = font;
    if (hwnd_ && form_)
        SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(form_->font(font_)), TRUE);
}

bool Control::answerDrawnControlMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
        case WM_GETFONT:
            result = form_ ? reinterpret_cast<LRESULT>(form_->font(font_)) : 0;
            return true;
        case WM_ERASEBKGND:
            result = 1;  // paint() covers every pixel
            return true;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd_, &ps);
            if (form_) paint(dc);
            EndPaint(hwnd_, &ps);
            result = 0;
            return true;
        }
        case WM_SETTEXT:
            result = DefWindowProcW(hwnd_, msg, wp, lp);
            InvalidateRect(hwnd_, nullptr, FALSE);
            return true;
    }
    return false;
}

}  // namespace ui
