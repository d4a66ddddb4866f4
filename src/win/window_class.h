#pragma once
// Our own window classes: registered once, and a window procedure that hands each message to
// the C++ object kept in the window's user-data slot.
#include <windows.h>

#include "win/error_sink.h"

namespace win {

// Registers the class on first use; later calls find it registered.
void registerWindowClass(const wchar_t* name, WNDPROC procedure, UINT style = 0);

// The window procedure for objects of T: `T::handle(msg, wp, lp)` answers every message once
// the object is attached to its window; before that the default procedure does. A run-time error
// never unwinds through the system's frames.
template <class T>
LRESULT CALLBACK objectWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    LRESULT result = 0;
    catchAtBoundary([&] { result = self->handle(msg, wp, lp); });
    return result;
}

}  // namespace win
