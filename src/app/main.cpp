// Vantrel Desk Guard: one window, one hotkey, one key press to lock the desk.
#include <windows.h>
#include <imm.h>

#include <optional>

#include "app/report_box.h"
#include "main_window/form1.h"
#include "startup_entry/m_start_up.h"
#include "win/common_controls.h"
#include "win/error_sink.h"
#include "win/function_lookup.h"
#include "win/message_loop.h"
#include "win/restart.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // From here on every DLL load, ours and those Windows' own DLLs make for us, looks in System32
    // only: never in the program's folder, which is wherever its user put it, nor the current one.
    // Looked up: Windows 7 without update KB2533623 has neither the call nor the flag, and there
    // the program still starts, on the loader's older search.
    if (const auto setDefaultDllDirectories =
            win::kernel32Function<decltype(&::SetDefaultDllDirectories)>(
                "SetDefaultDllDirectories"))
        setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Active Setup runs this once per user at logon after the package was installed: mend that
    // user's start-up value, then end at once. The logon waits for it, and nothing is shown.
    if (win::startedWith(L"/migrate-startup")) {
        try {
            mStartUp::MendStartup();
        } catch (...) {
        }
        return 0;
    }
    // Windows starts a program that asked for a restart again at sign-in, alongside the Run values
    // of the same logon: where the start-up box would show ticked, the Run value's copy runs, and
    // this one ends before it makes any window.
    if (win::startedWith(L"/restarted") && mStartUp::StartupState().startsAtLogon()) return 0;
    // Nothing in the program takes typed text (its lists are pick-only and its one text box is
    // never seen), so it needs no input method: without one, no COM runtime is loaded for it.
    ImmDisableIME(static_cast<DWORD>(-1));
    app::installReportBoxes();
    win::initCommonControls(ICC_STANDARD_CLASSES);

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
    win::registerForRestart(L"/restarted");  // back after an upgrade or the user's restart
    form->Form_Load();
    form->show();
    return win::runMessageLoop();
}
