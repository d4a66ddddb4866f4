#pragma once
// Where typed input goes: the window with the keyboard focus, and the thread whose keyboard layout
// it types with.
#include <windows.h>

namespace win {

// The window with the keyboard focus: the foreground thread's focus window (in a Windows Store
// app that is the app's own window, not the frame host's foreground window), else the foreground
// window; null when there is none.
HWND keyboardFocus();

// The thread whose keyboard layout `window` types with: the window's own thread, except for a
// classic console window, whose thread reports a layout that can be stale; there it is the thread
// of the console's default input method window, where it has one.
DWORD layoutThread(HWND window);

}  // namespace win
