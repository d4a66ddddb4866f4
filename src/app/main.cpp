// Vantrel Desk Guard: one window, one hotkey, one key press to lock the desk.
#include <windows.h>
#include <commctrl.h>
#include <imm.h>

#include <optional>

#include "app/report_box.h"
#include "main_window/form1.h"
#include "win/error_sink.h"
#include "win/message_loop.h"
#include "win/restart.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // Nothing in the program takes typed text (its lists are pick-only and its one text box is
    // never seen), so it needs no input method: without one, no COM runtime is loaded for it.
    ImmDisableIME(static_cast<DWORD>(-1));
    app::installReportBoxes();
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);

    // The window lives for the whole process, which ends from its close handler. Without it there
    // is no program: a window the system refuses to create is reported, and the program ends.
    static std::optional<Form1> form;
    bool created = false;
    win::catchAtBoundary([&] {
        form.emplace();
        form->create();
        created = true;
    });
    if (!created) return 1;
    win::registerForRestart();  // an upgrade that closes the program starts it again
    form->Form_Load();
    form->show();
    return win::runMessageLoop();
}
