#pragma once
// Our own window classes and how a window is bound to the C++ object behind it: registered once,
// created with a check, and one window procedure that hands each message to the object. System
// controls that need a word of their own are subclassed through one helper.
#include <windows.h>

#include "win/error_sink.h"

namespace win {

// Registers the class on first use; later calls find it registered.
void registerWindowClass(const wchar_t* name, WNDPROC procedure, UINT style = 0);

// CreateWindowExW; `object` arrives as lpCreateParams. A window the system refuses to create is
// a run-time error naming the class, never a null handle used later.
HWND createWindow(DWORD exStyle, const wchar_t* windowClass, const wchar_t* text, DWORD style,
                  int x, int y, int width, int height, HWND parent, void* object = nullptr);

// Unbinds a window from its object ahead of its destruction, for an object that goes first.
void detachObject(HWND hwnd);

// The window procedure of every window class of ours, for objects of T. The object comes in
// through lpCreateParams (createWindow's `object`), is bound to the window on WM_NCCREATE and
// unbound on WM_NCDESTROY, so every message in between reaches it:
//   T::attachWindow(HWND) is called once, on WM_NCCREATE, before anything else;
//   T::handle(msg, wp, lp) answers every message from WM_NCCREATE on.
// A run-time error never unwinds through the system's frames.
template <class T>
LRESULT CALLBACK objectWindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* created = static_cast<T*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
        if (created) created->attachWindow(hwnd);
    }
    auto* self = reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));  // not owned
    if (msg == WM_NCDESTROY) detachObject(hwnd);
    if (!self || msg == WM_NCDESTROY) return DefWindowProcW(hwnd, msg, wp, lp);
    LRESULT result = 0;
    catchAtBoundary([&] { result = self->handle(msg, wp, lp); });
    return result;
}

// The object of type T bound to `hwnd`, or null when the window is none of T's.
template <class T>
T* boundObject(HWND hwnd) {
    const auto procedure = reinterpret_cast<LONG_PTR>(objectWindowProc<T>);
    if (!hwnd || GetWindowLongPtrW(hwnd, GWLP_WNDPROC) != procedure) return nullptr;
    return reinterpret_cast<T*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

// Subclasses a system control's window: `procedure` sees each of its messages first, with
// `data`, and passes them on with win::defSubclassProc (win/common_controls.h). It comes off again
// when the window goes; subclassing again with the same procedure only replaces the data.
using SubclassProcedure = LRESULT (*)(HWND, UINT, WPARAM, LPARAM, DWORD_PTR data);
void subclassWindow(HWND hwnd, SubclassProcedure procedure, DWORD_PTR data);

}  // namespace win
