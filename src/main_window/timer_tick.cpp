// The binding tick: registers the chosen combination and hands the thread to the wait loop.
#include <windows.h>

#include "hotkey/catalogue.h"
#include "hotkey/short_cuts.h"
#include "main_window/form1.h"
#include "main_window/status_line.h"
#include "runtime/error_report.h"

namespace {

constexpr std::wstring_view kPath = L"in Vantrel2021/08/31.Form1.Timer1_Timer ";

}  // namespace

void Form1::BindHotkey(unsigned modifiers) {
    const int key = hotkey::keyCode(Combo2.text());  // an empty key list fails here
    if (RegisterHotKey(hwnd(), ShortCuts::hotkeyId, modifiers, static_cast<UINT>(key))) {
        Label1.setCaption(main_window::statusLine(Combo1.text(), Combo2.text()));
    } else {
        // A refused combination must not pass for an active one.
        const bool taken = GetLastError() == ERROR_HOTKEY_ALREADY_REGISTERED;
        Label1.setCaption(main_window::statusLineOff(Combo1.text(), Combo2.text(), taken));
    }
}

void Form1::Timer1_Timer() {
    runtime::Guard g(kPath);
    g.step(100, [] { ShortCuts::stopFlag = false; });
    g.step(102, [&] {
        ShortCuts::hotkeyId = GlobalAddAtomA("A00F1");
        // Only the combination the status line names may lock: withdraw the one before.
        UnregisterHotKey(hwnd(), ShortCuts::hotkeyId);
    });
    if (g.test(104, [&] { return Combo1.listIndex() == 0; })) {
        g.step(106, [&] { BindHotkey(hotkey::modifierFlags(0)); });
    } else if (g.test(108, [&] { return Combo1.listIndex() == 1; })) {
        g.step(110, [&] { BindHotkey(hotkey::modifierFlags(1)); });
    } else if (g.test(112, [&] { return Combo1.listIndex() == 2; })) {
        g.step(114, [&] { BindHotkey(hotkey::modifierFlags(2)); });
    }
    // 116: the window keeps no drawn image of its own, so there is nothing to make persistent.
    g.step(118, [&] {
        // A start hidden into the tray stays there; later bindings show the window.
        if (!(firstBinding_ && hiddenInTray)) show();
        firstBinding_ = false;
    });
    g.step(120, [&] {
        // Nothing ticks while the loop holds the thread: the idle program never wakes up.
        Timer1.setEnabled(false);
        ShortCuts::ProcessMessages(hwnd());
        Timer1.setEnabled(true);
    });
}
