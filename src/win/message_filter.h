#pragma once
// The message filter of an elevated program's windows, which refuse most messages from programs
// of a lower integrity level.
#include <windows.h>

namespace win {

// Lets `message` reach `window` from any program, whatever its integrity level. The call exists
// from Windows 7 on; where it is missing, nothing is filtered.
void admitMessage(HWND window, UINT message);

}  // namespace win
