// Vantrel Desk Guard: one window, one hotkey, one key press to lock the desk.
#include <windows.h>
#include <commctrl.h>
#include <imm.h>

#include "app/report_box.h"
#include "main_window/form1.h"
#include "win/message_loop.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // Nothing in the program takes typed text (its lists are pick-only and its one text box is
    // never seen), so it needs no input method: without one, no COM runtime is loaded for it.
    ImmDisableIME(static_cast<DWORD>(-1));
    app::installReportBoxes();
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);

    static Form1 form;  // lives for the whole process, which ends from its close handler
    form.create();
    form.Form_Load();
    form.show();
    return win::runMessageLoop();
}
