#pragma once
// Icons at the size a DPI asks for: the notification area's at the taskbar's DPI, a window's at
// its own. Each icon is loaded for its caller alone (never from the shared cache, which answers
// with the first size it loaded) and is the caller's to destroy.
#include <windows.h>

namespace win {

// The DPI the taskbar draws at now, as the system reports it on Windows 10 1607 and later; 0
// where it cannot tell (older Windows, or no taskbar).
int realTaskbarDpi();

// The small and the big icon size at `dpi`; before Windows 10 1607, 16 and 32 scaled by it.
int smallIconSize(int dpi);
int bigIconSize(int dpi);

// The size the notification area draws our icon at: the small icon at the taskbar's DPI
// (services().taskbarDpi); where that is unknown, the system's small icon, which older taskbars
// keep until the user signs out.
int trayIconSize();

// The icon resource `resourceId` of this program at `size` pixels, scaled down from a larger image
// where it has none of that size; null where it cannot be loaded.
HICON loadIcon(int resourceId, int size);

}  // namespace win
