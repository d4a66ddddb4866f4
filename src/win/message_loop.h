#pragma once
// The program's message loops. Both share one keyboard pre-processing: Tab and the arrow keys move
// between the controls of the windows that ask for it (the forms).
#include <windows.h>

namespace win {

// Whether a top-level window takes Tab and the arrow keys as moves between its controls. The
// forms layer names its windows this way; until it does, no window does.
using DialogWindowTest = bool (*)(HWND root);
void setDialogWindowTest(DialogWindowTest test);

// One pumping pass: every message waiting in the thread's queue is removed and dispatched, then
// control returns. A quit message is put back for the outer loop.
void pumpPendingMessages();

// The ordinary loop, until the quit message; returns its exit code.
int runMessageLoop();

}  // namespace win
