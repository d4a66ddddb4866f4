#pragma once
#include <windows.h>

namespace win {

// The DPI a window is shown at: per monitor where the system knows it, else the screen's.
int dpiForWindow(HWND hwnd);

// AdjustWindowRectEx at a given DPI where the system supports it.
void adjustWindowRect(RECT& rect, DWORD style, DWORD exStyle, int dpi);

}  // namespace win
