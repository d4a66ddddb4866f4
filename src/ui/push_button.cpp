#include "ui/push_button.h"

#include <windowsx.h>

#include "ui/form.h"
#include "win/win_handles.h"
#include "win/window_class.h"

namespace ui {
namespace {

const wchar_t kButtonClass[] = L"VantrelPushButton";

}  // namespace

void PushButton::create(Form& form, const wchar_t* caption) {
    win::registerWindowClass(kButtonClass, win::objectWindowProc<PushButton>,
                             CS_HREDRAW | CS_VREDRAW);
    createWindow(form, nullptr, kButtonClass, caption, WS_TABSTOP, 0, this);
}

void PushButton::setLook(const ButtonLook& look) {
    look_ = look;
    hasLook_ = true;
    setBackColor(look.face);
    setForeColor(look.text);
}

void PushButton::setHot(bool hot) {
    if (hot == hot_) return;
    hot_ = hot;
    if (hot) {
        TRACKMOUSEEVENT tme{sizeof tme, TME_LEAVE, hwnd(), 0};
        TrackMouseEvent(&tme);
    }
    InvalidateRect(hwnd(), nullptr, FALSE);
}

void PushButton::click() {
    if (onClick) onClick();
}

void PushButton::paint(HDC dc) {
    Form* form = this->form();
    RECT rc;
    GetClientRect(hwnd(), &rc);
    const COLORREF face = form->rgb(backColor());
    const COLORREF text = form->rgb(foreColor());
    COLORREF fill = face, border = mixColors(face, text, 45);
    if (hasLook_) {
        border = form->rgb(look_.border);
        if (pressed())
            fill = form->rgb(look_.pressed);
        else if (hot_)
            fill = form->rgb(look_.hover);
    } else if (pressed()) {
        fill = mixColors(face, form->rgb(kSystemColorFlag | COLOR_HIGHLIGHT), 35);
    } else if (hot_) {
        fill = mixColors(face, form->rgb(kSystemColorFlag | COLOR_HIGHLIGHT), 15);
    }

    // Paint off-screen so hovering never flickers.
    const win::OwnedDC memory(CreateCompatibleDC(dc));
    const win::OwnedBitmap bitmap(CreateCompatibleBitmap(dc, rc.right, rc.bottom));
    HDC mem = memory.get();
    const win::Selection offScreen(mem, bitmap.get());
    FillRect(mem, &rc, win::OwnedBrush(CreateSolidBrush(fill)).get());
    FrameRect(mem, &rc, win::OwnedBrush(CreateSolidBrush(border)).get());

    wchar_t caption[128];
    const int length = GetWindowTextW(hwnd(), caption, 128);
    const win::Selection captionFont(mem, form->font(font()));
    SetBkMode(mem, TRANSPARENT);
    SetTextColor(mem, text);
    RECT textRect = rc;
    if (pressed()) OffsetRect(&textRect, 1, 1);
    DrawTextW(mem, caption, length, &textRect,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (GetFocus() == hwnd() && !(SendMessageW(hwnd(), WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS)) {
        RECT focus = rc;
        InflateRect(&focus, -3, -3);
        DrawFocusRect(mem, &focus);
    }
    BitBlt(dc, 0, 0, rc.right, rc.bottom, mem, 0, 0, SRCCOPY);
}

LRESULT PushButton::handle(UINT msg, WPARAM wp, LPARAM lp) {
    if (LRESULT result; answerDrawnControlMessage(msg, wp, lp, result)) return result;
    switch (msg) {
        case WM_GETDLGCODE:
            return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON;
        case BM_CLICK:  // what the system and accessibility tools send to press a button
            click();
            return 0;
        case WM_MOUSEMOVE: {
            RECT rc;
            GetClientRect(hwnd(), &rc);
            const POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            setHot(PtInRect(&rc, pt) != FALSE);
            if (onMouseMove) onMouseMove();
            return 0;
        }
        case WM_MOUSELEAVE:
            setHot(false);
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            SetFocus(hwnd());
            SetCapture(hwnd());
            pressed_ = true;
            InvalidateRect(hwnd(), nullptr, FALSE);
            return 0;
        case WM_LBUTTONUP: {
            const bool inside = pressed();
            pressed_ = false;
            if (GetCapture() == hwnd()) ReleaseCapture();
            InvalidateRect(hwnd(), nullptr, FALSE);
            if (inside) click();
            return 0;
        }
        case WM_CAPTURECHANGED:
            pressed_ = false;
            InvalidateRect(hwnd(), nullptr, FALSE);
            return 0;
        case WM_KEYDOWN:
            if (wp == VK_SPACE) {
                spaceDown_ = true;
                return 0;
            }
            if (wp == VK_RETURN) {
                click();
                return 0;
            }
            break;
        case WM_KEYUP:
            if (wp == VK_SPACE && spaceDown_) {
                spaceDown_ = false;
                click();
            }
            return 0;
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case WM_UPDATEUISTATE:
        case WM_ENABLE:
            InvalidateRect(hwnd(), nullptr, FALSE);
            break;
    }
    return DefWindowProcW(hwnd(), msg, wp, lp);
}

}  // namespace ui
