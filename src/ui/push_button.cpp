#include "ui/push_button.h"

#include <windowsx.h>

#include "ui/form.h"
#include "ui/mnemonic.h"
#include "win/win_handles.h"
#include "win/window_class.h"
#include "win/window_text.h"

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
    redraw();
}

void PushButton::click() {
    if (onClick) onClick();
}

AccessibleFacts PushButton::accessibleFacts() const {
    const std::wstring caption = win::windowText(hwnd());
    long state = 0;
    if (!IsWindowEnabled(hwnd()))
        state |= STATE_SYSTEM_UNAVAILABLE;
    else
        state |= STATE_SYSTEM_FOCUSABLE;
    if (GetFocus() == hwnd()) state |= STATE_SYSTEM_FOCUSED;
    if (pressed()) state |= STATE_SYSTEM_PRESSED;
    if (hot_) state |= STATE_SYSTEM_HOTTRACKED;
    if (!IsWindowVisible(hwnd())) state |= STATE_SYSTEM_INVISIBLE;
    return {ROLE_SYSTEM_PUSHBUTTON,
            withoutMnemonic(caption),
            state,
            L"Press",
            mnemonicShortcut(caption),
            L"",
            L""};
}

bool PushButton::doDefaultAction() {
    // Posted, as a system button does: the reader's call returns before the click's work (a
    // modal box) begins.
    if (!IsWindowEnabled(hwnd())) return false;  // an unavailable button cannot be pressed
    PostMessageW(hwnd(), BM_CLICK, 0, 0);
    return true;
}

// The face and text colours for the current state. Under high contrast the hover and pressed
// faces take the highlight pair; otherwise they are shades of the face toward the highlight, or
// the skin's look.
ColorPair PushButton::faceColors() const {
    Form* form = this->form();
    ColorPair pair = form->colors(*this);
    const bool active = pressed() || hot_;
    if (form->highContrast()) {
        if (active) pair = {form->rgb(kHighlightText), form->rgb(kHighlight)};
    } else if (hasLook_) {
        if (pressed())
            pair.back = form->rgb(look_.pressed);
        else if (hot_)
            pair.back = form->rgb(look_.hover);
    } else if (active) {
        pair.back = mixColors(pair.back, standardSystemColor(COLOR_HIGHLIGHT), pressed() ? 35 : 15);
    }
    return pair;
}

void PushButton::paint(HDC dc) {
    Form* form = this->form();
    RECT rc;
    GetClientRect(hwnd(), &rc);
    const ColorPair colors = faceColors();
    const COLORREF border = form->highContrast() ? colors.text
                            : hasLook_           ? form->rgb(look_.border)
                                                 : mixColors(colors.back, colors.text, 45);
    const LRESULT cues = SendMessageW(hwnd(), WM_QUERYUISTATE, 0, 0);

    // Paint off-screen so hovering never flickers.
    const win::OwnedDC memory(CreateCompatibleDC(dc));
    const win::OwnedBitmap bitmap(CreateCompatibleBitmap(dc, rc.right, rc.bottom));
    HDC mem = memory.get();
    const win::Selection offScreen(mem, bitmap.get());
    FillRect(mem, &rc, form->brush(colors.back));
    FrameRect(mem, &rc, form->brush(border));

    const std::wstring caption = win::windowText(hwnd());
    const win::Selection captionFont(mem, form->font(font()));
    SetBkMode(mem, TRANSPARENT);
    SetTextColor(mem, colors.text);
    RECT textRect = rc;
    if (pressed()) OffsetRect(&textRect, 1, 1);
    DrawTextW(
        mem, caption.c_str(), static_cast<int>(caption.size()), &textRect,
        DT_CENTER | DT_VCENTER | DT_SINGLELINE | ((cues & UISF_HIDEACCEL) ? DT_HIDEPREFIX : 0));
    if (GetFocus() == hwnd() && !(cues & UISF_HIDEFOCUS)) {
        RECT focus = rc;
        InflateRect(&focus, -3, -3);
        SetTextColor(mem, colors.text);
        SetBkColor(mem, colors.back);
        DrawFocusRect(mem, &focus);
    }
    BitBlt(dc, 0, 0, rc.right, rc.bottom, mem, 0, 0, SRCCOPY);
}

void PushButton::redraw() {
    InvalidateRect(hwnd(), nullptr, FALSE);
}

// A click on a left-button release inside the button; the face follows the mouse.
bool PushButton::handleMouse(UINT msg, LPARAM lp) {
    switch (msg) {
        case WM_MOUSEMOVE: {
            RECT rc;
            GetClientRect(hwnd(), &rc);
            const POINT pt{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
            setHot(PtInRect(&rc, pt) != FALSE);
            if (onMouseMove) onMouseMove();
            return true;
        }
        case WM_MOUSELEAVE:
            setHot(false);
            return true;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
            SetFocus(hwnd());
            SetCapture(hwnd());
            pressed_ = true;
            redraw();
            return true;
        case WM_LBUTTONUP: {
            const bool inside = pressed_ && hot_;
            pressed_ = false;
            if (GetCapture() == hwnd()) ReleaseCapture();
            redraw();
            if (inside) click();
            return true;
        }
        case WM_CAPTURECHANGED:
            pressed_ = false;
            redraw();
            return true;
    }
    return false;
}

// Space clicks on its release, as a system button does; Enter clicks at once.
bool PushButton::handleKey(UINT msg, WPARAM key) {
    if (msg == WM_KEYDOWN && key == VK_SPACE) {
        spaceDown_ = true;
        redraw();
        return true;
    }
    if (msg == WM_KEYDOWN && key == VK_RETURN) {
        click();
        return true;
    }
    if (msg == WM_KEYUP && key == VK_SPACE && spaceDown_) {
        spaceDown_ = false;
        redraw();
        click();
        return true;
    }
    return msg == WM_KEYUP;
}

LRESULT PushButton::handle(UINT msg, WPARAM wp, LPARAM lp) {
    if (LRESULT result; answerDrawnControlMessage(msg, wp, lp, result)) return result;
    if (handleMouse(msg, lp) || handleKey(msg, wp)) return 0;
    switch (msg) {
        case WM_GETDLGCODE: {
            // Enter presses the focused button: the dialog keys would otherwise take it to look
            // for a default button.
            const MSG* key = reinterpret_cast<const MSG*>(lp);
            const bool enter = key && key->message == WM_KEYDOWN && key->wParam == VK_RETURN;
            return DLGC_BUTTON | DLGC_UNDEFPUSHBUTTON | (enter ? DLGC_WANTMESSAGE : 0);
        }
        case WM_GETOBJECT:
            if (LRESULT object = answerGetObject(*this, wp, lp)) return object;
            break;
        case BM_CLICK:  // what a shortcut or a reader's default action sends to press it
            SetFocus(hwnd());
            click();
            return 0;
        case WM_KILLFOCUS:
            spaceDown_ = false;
            [[fallthrough]];
        case WM_SETFOCUS:
        case WM_UPDATEUISTATE:
        case WM_ENABLE:
            redraw();
            break;
    }
    return DefWindowProcW(hwnd(), msg, wp, lp);
}

}  // namespace ui
