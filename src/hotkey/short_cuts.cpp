#include "hotkey/short_cuts.h"

#include <windows.h>

#include "runtime/error_report.h"
#include "ui/message_box.h"
#include "win/message_loop.h"
#include "win/services.h"
#include "win/system_text.h"

namespace ShortCuts {

bool stopFlag = false;
std::int32_t hotkeyId = 0;

namespace {

constexpr std::wstring_view kPath = L"in Vantrel2021/08/31.ShortCuts.ProcessMessages ";

void lock() {
    // A desk left open must never pass for a locked one.
    if (const unsigned long error = win::services().lockWorkStation()) {
        ui::messageBox(L"The computer could not be locked.\r\n" + win::systemErrorText(error),
                       MB_OK | MB_ICONWARNING);
    }
}

}  // namespace

void ProcessMessages(HWND mainWindow) {
    runtime::Guard g(kPath);
    MSG msg{};
    for (;;) {
        if (g.test(100, [] { return stopFlag; })) return;
        g.step(102, [] { WaitMessage(); });
        bool taken = false;
        g.step(104,
               [&] { taken = PeekMessageA(&msg, mainWindow, WM_HOTKEY, WM_HOTKEY, PM_REMOVE); });
        if (taken && g.test(106, [&] { return static_cast<std::int32_t>(msg.wParam) == hotkeyId; }))
            g.step(108, lock);
        g.step(110, win::pumpPendingMessages);
    }
}

}  // namespace ShortCuts
