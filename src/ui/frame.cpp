#include "ui/frame.h"

#include "ui/form.h"
#include "win/win_handles.h"
#include "win/window_class.h"

namespace ui {
namespace {

const wchar_t kFrameClass[] = L"VantrelFrame";

}  // namespace

void Frame::create(Form& form, const wchar_t* caption) {
    win::registerWindowClass(kFrameClass, win::objectWindowProc<Frame>);
    createWindow(form, nullptr, kFrameClass, caption, WS_CLIPSIBLINGS, WS_EX_CONTROLPARENT, this);
}

void Frame::paint(HDC dc) {
    Form* form = this->form();
    RECT rc;
    GetClientRect(hwnd(), &rc);
    FillRect(dc, &rc, form->brush(backColor()));

    const win::Selection captionFont(dc, form->font(font()));
    wchar_t caption[128];
    const int length = GetWindowTextW(hwnd(), caption, 128);
    SIZE text{};
    GetTextExtentPoint32W(dc, caption, length, &text);

    // The etched box runs through the middle of the caption line; the caption interrupts it.
    RECT box = rc;
    box.top = text.cy / 2;
    DrawEdge(dc, &box, EDGE_ETCHED, BF_RECT);
    if (length > 0) {
        const int pad = text.cy / 4, left = text.cy / 2;
        RECT label{left, 0, left + text.cx + 2 * pad, text.cy};
        FillRect(dc, &label, form->brush(backColor()));
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, form->rgb(foreColor()));
        TextOutW(dc, left + pad, 0, caption, length);
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
    }
    return DefWindowProcW(hwnd(), msg, wp, lp);
}

}  // namespace ui
