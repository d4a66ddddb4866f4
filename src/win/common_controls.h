#pragma once
// The common controls (comctl32), loaded at run time rather than imported. comctl32 is no
// KnownDLL, and as it starts it loads uxtheme, which is none either: as an import of ours both
// would be looked for in the program's folder first, before any code of ours has run. Loaded
// after SetDefaultDllDirectories, they come from the system only.
#include <windows.h>
#include <commctrl.h>

namespace win {

// Loads comctl32 version 6 from the side-by-side store, as the activation context in force names
// it. Where the system lacks the library search flags: null where the context does not name it,
// or where what loaded is not version 6 from %SystemRoot%\WinSxS\. Each call asks again (tests
// run it in other contexts); the program's own copy is commonControlsModule's.
HMODULE loadCommonControls();

// The comctl32 the program uses, loaded on first use; null where there is none, and then
// nothing of the common controls is used.
HMODULE commonControlsModule();

// Registers the classes of `classes`; false where comctl32 is missing or refuses.
bool initCommonControls(DWORD classes);

// comctl32's subclassing calls; where comctl32 is missing nothing is subclassed.
BOOL setWindowSubclass(HWND hwnd, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data);
BOOL removeWindowSubclass(HWND hwnd, SUBCLASSPROC procedure, UINT_PTR id);
LRESULT defSubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

}  // namespace win
