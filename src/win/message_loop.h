#pragma once
// The program's message loops. Both share one keyboard pre-processing: Tab and the arrow keys move
// between the controls of a form.
#include <windows.h>

namespace win {

// Pre-processes one message; true when it was handled and must not be dispatched again.
bool preTranslate(MSG& msg);

// One pumping pass: every message waiting in the thread's queue is removed and dispatched, then
// control returns. A quit message is put back for the outer loop.
void pumpPendingMessages();

// The ordinary loop, until the quit message; returns its exit code.
int runMessageLoop();

}  // namespace win
