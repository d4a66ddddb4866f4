#include "ui/frame.h"

#include "ui/form.h"
#include "win/win_handles.h"
#include "win/window_class.h"
#include "win/window_text.h"

namespace ui {
namespace {

const wchar_t kFrameClass[] = L"VantrelFrame";

}  // namespace

void Frame::create(Form& form, const wchar_t* caption) {
    win::registerWindowClass(kFrameClass, win::objectWindowProc<Frame>);
    createWindow(form, nullptr, kFrameClass, caption, WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT, this);
}

AccessibleFacts Frame::accessibleFacts() const {
    return {ROLE_SYSTEM_GROUPING,
            win::windowText(hwnd()),
            IsWindowVisible(hwnd()) ? 0 : STATE_SYSTEM_INVISIBLE,
            L"",
            L"",
            L"",
            L""};
}

void Frame::paint(HDC dc) {
    Form* form = this->form();
    const ColorPair colors = form->colors(*this);
    RECT rc;
    GetClientRect(hwnd(), &rc);
    FillRect(dc, &rc, form->brush(colors.back));

    const win::Selection captionFont(dc, form->font(font()));
    const std::wstring caption = win::windowText(hwnd());
    const int length = static_cast<int>(caption.size());
    SIZE text{};
    GetTextExtentPoint32W(dc, caption.c_str(), length, &text);

    // The etched box runs through the middle of the caption line; the caption interrupts it.
    RECT box = rc;
    box.top = text.cy / 2;
    DrawEdge(dc, &box, EDGE_ETCHED, BF_RECT);
    if (length > 0) {
        const int pad = text.cy / 4, left = text.cy / 2;
        RECT label{left, 0, left + text.cx + 2 * pad, text.cy};
        FillRect(dc, &label, form->brush(colors.back));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, colors.text);
        TextOutW(dc, left + pad, 0, caption.c_str(), length);
    }
}

LRESULT Frame::handle(UINT msg, WPARAM wp, LPARAM lp) {
    if (LRESULT result; answerDrawnControlMessage(msg, wp, lp, result)) return result;
    switch (msg) {
        case WM_COMMAND:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_DRAWITEM:
            // The frame only holds the controls; the form handles what they report.
            return SendMessageW(GetAncestor(hwnd(), GA_ROOT), msg, wp, lp);
        case WM_MOUSEMOVE:
            if (onMouseMove) onMouseMove();
            return 0;
        case WM_GETOBJECT:
            if (LRESULT object = answerGetObject(*this, wp, lp)) return object;
            break;
    }
    return DefWindowProcW(hwnd(), msg, wp, lp);
}

}  // namespace ui
