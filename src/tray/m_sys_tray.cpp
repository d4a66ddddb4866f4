#include "tray/m_sys_tray.h"

#include <cstdint>

#include "tray/notify_icon_record.h"
#include "tray/sys_tray.h"
#include "win/error_sink.h"

namespace mSysTray {
namespace {

// The procedure the hook replaced. One per process: every control window has the same class
// procedure, so it is the same value whichever control is hooked.
WNDPROC PrevWndProc = nullptr;

}  // namespace

void Install(HWND window, tray::cSysTray* control) {
    PrevWndProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(TrayWindowProc)));
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(control));
}

void Remove(HWND window) {
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PrevWndProc));
}

LRESULT CALLBACK TrayWindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam) {
    if (uMsg == tray::kTrayCallbackMessage) {
        // not owned
        auto* control = reinterpret_cast<tray::cSysTray*>(GetWindowLongPtrW(hWnd, GWLP_USERDATA));
        if (control)
            win::catchAtBoundary([&] {
                control->DispatchTrayMessage(static_cast<std::int32_t>(lParam),
                                             static_cast<std::int32_t>(wParam));
            });
    }
    return CallWindowProcW(PrevWndProc, hWnd, uMsg, wParam, lParam);
}

}  // namespace mSysTray
