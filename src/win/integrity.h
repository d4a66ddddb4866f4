#pragma once
// Integrity levels: the system drops input that a program sends to a window of a program above
// it (one run as administrator, from an ordinary one), and SendInput does not say so.
#include <windows.h>

namespace win {

// True when `window` belongs to a process of a higher integrity level than ours. A window whose
// level cannot be read counts as higher.
bool aboveOurIntegrity(HWND window);

}  // namespace win
