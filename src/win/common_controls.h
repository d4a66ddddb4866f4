#pragma once
// The common controls (comctl32), loaded at run time rather than imported. comctl32 is no
// KnownDLL, and as it starts it loads uxtheme, which is none either: as an import of ours both
// would be looked for in the program's folder first, before any code of ours has run. Loaded
// after SetDefaultDllDirectories, they come from the system only.
#include <windows.h>
#include <commctrl.h>

namespace win {

// Loads comctl32 on first use (version 6 from the side-by-side store, as the manifest asks) and
// registers the classes of `classes`; false where it cannot.
bool initCommonControls(DWORD classes);

// comctl32's subclassing calls; where comctl32 is missing nothing is subclassed.
BOOL setWindowSubclass(HWND hwnd, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data);
BOOL removeWindowSubclass(HWND hwnd, SUBCLASSPROC procedure, UINT_PTR id);
LRESULT defSubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

}  // namespace win
