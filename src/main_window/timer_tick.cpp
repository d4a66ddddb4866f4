// The binding tick: registers the chosen combination and hands the thread to the wait loop.
#include <windows.h>

#include "hotkey/catalogue.h"
#include "hotkey/short_cuts.h"
#include "main_window/form1.h"
#include "main_window/status_line.h"
#include "runtime/error_report.h"
#include "runtime/procedure_path.h"

std::wstring Form1::BindHotkey(unsigned modifiers) {
    const int key = hotkey::keyCode(Combo2.text());  // an empty key list fails here
    if (RegisterHotKey(hwnd(), ShortCuts::hotkeyId, modifiers, static_cast<UINT>(key))) {
        held_ = main_window::holdsAnswer(modifiers, static_cast<unsigned>(key));
        return main_window::statusLine(Combo1.text(), Combo2.text());
    }
    // A refused combination must not pass for an active one.
    const main_window::Holder holder =
        HolderOf(GetLastError(), modifiers, static_cast<unsigned>(key));
    return main_window::statusLineOff(Combo1.text(), Combo2.text(), holder);
}

void Form1::Timer1_Timer() {
    runtime::Guard g(runtime::procedurePath(L"Form1", L"Timer1_Timer"));
    bool policy = false;
    // What the line says when this binding registers nothing: it never names a combination that
    // is not there.
    std::wstring line = main_window::kStatusLineNoCombination;
    g.step(100, [] { ShortCuts::stopFlag = false; });
    g.step(102, [&] {
        ShortCuts::hotkeyId = GlobalAddAtomA("A00F1");
        // Only the combination the status line names may lock: withdraw the one before.
        UnregisterHotKey(hwnd(), ShortCuts::hotkeyId);
        held_ = main_window::kBindsNone;
        policy = ShortCuts::LockingDisabledByPolicy();  // then nothing is bound
    });
    if (policy) {
        line = main_window::kStatusLinePolicy;
    } else if (g.test(104, [&] { return Combo1.listIndex() == 0; })) {
        g.step(106, [&] { line = BindHotkey(hotkey::modifierFlags(0)); });
    } else if (g.test(108, [&] { return Combo1.listIndex() == 1; })) {
        g.step(110, [&] { line = BindHotkey(hotkey::modifierFlags(1)); });
    } else if (g.test(112, [&] { return Combo1.listIndex() == 2; })) {
        g.step(114, [&] { line = BindHotkey(hotkey::modifierFlags(2)); });
    }
    // 116: the window keeps no drawn image of its own; the status line says what the binding left.
    // A listener hears it when it differs from what the last binding said (the handlers' lines
    // before it are silent); at the first binding, from what the load said, and only in a shown
    // window: a start in the tray is told by the balloon.
    g.step(116, [&] {
        const bool announce = line != boundLine_ && (!firstBinding_ || visible());
        boundLine_ = line;
        SetStatusLine(line, announce);
    });
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

LRESULT Form1::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_HOTKEY) {
        // A press that a nested loop (a box, the balloon's wait) or the ordinary loop dispatched
        // is answered as in the wait loop, which takes its own presses out of the queue before they
        // get here.
        if (ShortCuts::IsOurHotkey(wp)) ShortCuts::AnswerPress(lp);
        return 0;
    }
    // Another copy asks what this one holds; answered only when asked, so it costs nothing idle.
    if (msg == HolderQuestion()) return held_;
    return Form::handleMessage(msg, wp, lp);
}
