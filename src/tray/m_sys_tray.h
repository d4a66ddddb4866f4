#pragma once
// mSysTray: the hook on the tray control's own window. While the icon is in the tray it takes
// the shell's callback message out to the control's DispatchTrayMessage, and passes every
// message, that one included, on to the window's previous procedure.
#include <windows.h>

namespace tray {
class cSysTray;
}

namespace mSysTray {

// Replaces the window's procedure with TrayWindowProc and stores the control in the window's
// user-data slot (a plain pointer: the window does not own the control).
void Install(HWND window, tray::cSysTray* control);
// Puts the previous procedure back. The user-data slot keeps its value.
void Remove(HWND window);

LRESULT CALLBACK TrayWindowProc(HWND hWnd, UINT uMsg, WPARAM wParam, LPARAM lParam);

}  // namespace mSysTray
