// The binding tick and the wait loop on real windows and a real message queue.
#include <windows.h>
#include <gtest/gtest.h>

#include <vector>

#include "hotkey/short_cuts.h"
#include "main_window/form1.h"
#include "runtime/procedure_path.h"
#include "win/services.h"
#include "win_test_support.h"

namespace {

int dispatched = 0;

// Counts the test's own messages, and raises the stop flag at the first: posted behind what a test
// queued, it ends the wait loop after the pumping pass that dispatches it.
LRESULT CALLBACK raiserProc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_APP) {
        if (++dispatched == 1) ShortCuts::stopFlag = true;
        return 0;
    }
    return DefWindowProcW(h, m, w, l);
}

HWND stopFlagRaiser() {
    static HWND raiser = [] {
        WNDCLASSW wc{};
        wc.lpfnWndProc = raiserProc;
        wc.lpszClassName = L"StopFlagRaiser";
        RegisterClassW(&wc);
        return CreateWindowW(L"StopFlagRaiser", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                             nullptr);
    }();
    return raiser;
}

// Ends the next wait loop once it has pumped everything queued so far.
void stopLoopAfterQueued() {
    dispatched = 0;
    PostMessageW(stopFlagRaiser(), WM_APP, 0, 0);
}

const std::wstring kNothingBound = L"Software is off. Choose a modifier pair and a key";

class HotkeyTest : public test_support::CapturedBoxes {
  protected:
    void SetUp() override {
        CapturedBoxes::SetUp();
        win::services().lockWorkStation = [this]() -> unsigned long {
            ++locks;
            return lockResult;
        };
        form.create();
        form.Form_Load();
        form.Timer1.setEnabled(false);  // the tests run the tick themselves
        ShortCuts::stopFlag = false;
        ShortCuts::hotkeyId = GlobalAddAtomA("A00F1");
    }
    void TearDown() override {
        UnregisterHotKey(form.hwnd(), ShortCuts::hotkeyId);
        win::resetServices();
        CapturedBoxes::TearDown();
    }
    void runLoopUntilStopped() {
        ShortCuts::stopFlag = false;
        stopLoopAfterQueued();
        ShortCuts::ProcessMessages(form.hwnd());
    }
    Form1 form;
    int locks = 0;
    unsigned long lockResult = 0;
};

TEST_F(HotkeyTest, AHotkeyMessageWithTheIdLocksAndOneWithAnotherIdIsDropped) {
    PostMessageW(form.hwnd(), WM_HOTKEY, ShortCuts::hotkeyId, MAKELPARAM(3, 'L'));
    runLoopUntilStopped();
    EXPECT_EQ(locks, 1);

    PostMessageW(form.hwnd(), WM_HOTKEY, ShortCuts::hotkeyId + 1, MAKELPARAM(3, 'L'));
    runLoopUntilStopped();
    EXPECT_EQ(locks, 1);
    MSG left;
    EXPECT_FALSE(PeekMessageW(&left, form.hwnd(), WM_HOTKEY, WM_HOTKEY, PM_NOREMOVE))
        << "taken out of the queue";
    EXPECT_TRUE(boxes.empty());
}

TEST_F(HotkeyTest, ARefusedLockIsReportedInABox) {
    lockResult = ERROR_ACCESS_DENIED;
    PostMessageW(form.hwnd(), WM_HOTKEY, ShortCuts::hotkeyId, 0);
    runLoopUntilStopped();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, L"Vantrel Desk");
    EXPECT_EQ(boxes[0].text.rfind(L"The computer could not be locked.\r\n", 0), 0u);
    EXPECT_GT(boxes[0].text.size(), std::wstring(L"The computer could not be locked.\r\n").size());
    EXPECT_TRUE(boxes[0].flags & MB_ICONWARNING);
}

TEST_F(HotkeyTest, ARaisedStopFlagEndsTheLoopAfterThePumpingPass) {
    // Three messages wait; the first one's handler raises the flag. All three are dispatched
    // in that pass, and the loop returns without waiting again.
    dispatched = 0;
    for (int i = 0; i < 3; ++i) PostMessageW(stopFlagRaiser(), WM_APP, 0, 0);
    ShortCuts::ProcessMessages(form.hwnd());
    EXPECT_EQ(dispatched, 3);
}

TEST_F(HotkeyTest, ThePumpingPassMovesTheFocusWithTab) {
    form.show();
    test_support::pumpFor(30);
    SetFocus(form.PushButton1.hwnd());
    PostMessageW(form.PushButton1.hwnd(), WM_KEYDOWN, VK_TAB, 0);
    runLoopUntilStopped();
    EXPECT_EQ(GetFocus(), form.Combo1.hwnd());
}

TEST_F(HotkeyTest, TheTickBindsShowsAndWaitsWithItsTimerStopped) {
    bool timerOnInLoop = true;
    form.Timer1.setEnabled(true);
    form.Combo1.onClick = [&] { timerOnInLoop = form.Timer1.enabled(); };
    PostMessageW(form.Frame1.hwnd(), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(form.Combo1.hwnd()));
    stopLoopAfterQueued();
    ShortCuts::stopFlag = true;  // lowered by the tick before it binds
    form.Timer1_Timer();
    EXPECT_FALSE(timerOnInLoop) << "no ticks while the loop holds the thread";
    EXPECT_TRUE(form.Timer1.enabled()) << "ticking again once the loop returned";
    EXPECT_TRUE(form.visible());
    EXPECT_EQ(ShortCuts::hotkeyId, GlobalAddAtomA("A00F1")) << "the same atom on every tick";
    EXPECT_GE(ShortCuts::hotkeyId, 0xC000);
    // The combination is ours now: another window cannot take it.
    HWND other = CreateWindowW(L"STATIC", L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    EXPECT_FALSE(RegisterHotKey(other, 7, MOD_ALT | MOD_CONTROL, 'L'));
    DestroyWindow(other);
    EXPECT_TRUE(reports.empty());
}

TEST_F(HotkeyTest, ARefusedRegistrationTurnsTheStatusLineOffUntilABindingSucceeds) {
    HWND other = CreateWindowW(L"STATIC", L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(RegisterHotKey(other, 7, MOD_ALT | MOD_CONTROL, 'L'));
    stopLoopAfterQueued();
    form.Timer1_Timer();
    EXPECT_EQ(form.Label1.caption(),
              L"Software is off. Ctrl + Alt + L is already used by another program");
    UnregisterHotKey(other, 7);
    stopLoopAfterQueued();
    form.Timer1_Timer();
    EXPECT_EQ(form.Label1.caption(), L"Software is on. Press Ctrl + Alt + L to lock computer");

    // Taken while an AltGr character went on to the focused program: the press ends the wait
    // loop, and the next binding says so.
    win::services().keyDown = [](int key) { return key == VK_RMENU; };
    win::services().altGrKey = [](unsigned) { return win::AltGrKey::typesCharacter; };
    win::services().sendKeyPress = [&](unsigned key) { RegisterHotKey(other, 7, 3, key); };
    ShortCuts::stopFlag = false;
    SendMessageW(form.hwnd(), WM_HOTKEY, ShortCuts::hotkeyId, MAKELPARAM(3, 'L'));
    EXPECT_EQ(locks, 0);
    EXPECT_TRUE(ShortCuts::stopFlag);
    stopLoopAfterQueued();
    form.Timer1_Timer();
    EXPECT_EQ(form.Label1.caption(),
              L"Software is off. Ctrl + Alt + L is already used by another program");
    UnregisterHotKey(other, 7);
    DestroyWindow(other);
}

TEST_F(HotkeyTest, WithoutAKeyEveryBindingIsReportedAndTheLoopStillRuns) {
    form.Combo2.setListIndex(-1);
    for (int pass = 0; pass < 2; ++pass) {
        stopLoopAfterQueued();
        form.Timer1_Timer();
    }
    ASSERT_EQ(reports.size(), 2u);
    for (const auto& r : reports)
        EXPECT_EQ(r.substr(0, r.find(L"\r\r")),
                  L"Invalid procedure call or argument\r\n" +
                      runtime::procedurePath(L"Form1", L"Timer1_Timer") + L"at line 106");
    EXPECT_TRUE(form.visible());
    EXPECT_EQ(form.Label1.caption(), kNothingBound);
}

TEST_F(HotkeyTest, WithoutAModifierPairNothingIsBoundOrReported) {
    form.Combo1.setListIndex(-1);
    stopLoopAfterQueued();
    form.Timer1_Timer();
    EXPECT_TRUE(reports.empty());
    EXPECT_EQ(form.Label1.caption(), kNothingBound);
    HWND other = CreateWindowW(L"STATIC", L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    EXPECT_TRUE(RegisterHotKey(other, 7, MOD_ALT | MOD_CONTROL, 'L'))
        << "the combination stays free";
    UnregisterHotKey(other, 7);
    DestroyWindow(other);
}

TEST_F(HotkeyTest, TheFirstBindingLeavesAWindowHiddenInTheTrayHidden) {
    form.hiddenInTray = true;
    stopLoopAfterQueued();
    form.Timer1_Timer();
    EXPECT_FALSE(form.visible());
    stopLoopAfterQueued();
    form.Timer1_Timer();
    EXPECT_TRUE(form.visible()) << "later bindings show the window";
}

TEST_F(HotkeyTest, APressThatANestedLoopDispatchesLocksOnceAndARefusalOpensOneBoxAtATime) {
    // The help box, the balloon's wait and the other nested loops dispatch a press to the window.
    SendMessageW(form.hwnd(), WM_HOTKEY, ShortCuts::hotkeyId, 0);
    EXPECT_EQ(locks, 1);
    SendMessageW(form.hwnd(), WM_HOTKEY, ShortCuts::hotkeyId + 1, 0);
    EXPECT_EQ(locks, 1) << "another id locks nothing";
    PostMessageW(form.hwnd(), WM_HOTKEY, ShortCuts::hotkeyId, 0);
    runLoopUntilStopped();
    EXPECT_EQ(locks, 2) << "a press the wait loop took is not dispatched again";

    // Refused: a press while the refusal box is open requests the lock but opens no second box.
    lockResult = ERROR_ACCESS_DENIED;
    ui::setMessageBoxPresenter(
        [this](const std::wstring& text, unsigned flags, const std::wstring& caption) {
            boxes.push_back({text, flags, caption});
            SendMessageW(form.hwnd(), WM_HOTKEY, ShortCuts::hotkeyId, 0);
            return IDOK;
        });
    SendMessageW(form.hwnd(), WM_HOTKEY, ShortCuts::hotkeyId, 0);
    EXPECT_EQ(locks, 4);
    EXPECT_EQ(boxes.size(), 1u);
    SendMessageW(form.hwnd(), WM_HOTKEY, ShortCuts::hotkeyId, 0);
    EXPECT_EQ(boxes.size(), 2u) << "once the box is closed, the next refusal is reported again";
}

// True when the combination is held by some window, so another cannot register it.
bool held(unsigned modifiers, unsigned key) {
    HWND other = CreateWindowW(L"STATIC", L"", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    const bool free = RegisterHotKey(other, 7, modifiers, key);
    UnregisterHotKey(other, 7);
    DestroyWindow(other);
    return !free;
}

TEST_F(HotkeyTest, AnAltGrCharacterGoesOnToTheFocusedProgramAndEveryOtherPressLocks) {
    using win::AltGrKey;
    struct Row {
        const char* what;
        unsigned modifiers;
        bool rightAlt;
        AltGrKey layout;
        bool locks;
    };
    const Row rows[] = {
        {"right Alt, the layout types a character", 3, true, AltGrKey::typesCharacter, false},
        {"right Alt, the layout starts a dead key", 3, true, AltGrKey::startsDeadKey, false},
        {"right Alt, the layout types nothing", 3, true, AltGrKey::typesNothing, true},
        {"left Alt", 3, false, AltGrKey::typesCharacter, true},
        {"Ctrl + Shift", 6, true, AltGrKey::typesCharacter, true},
        {"Alt + Shift", 5, true, AltGrKey::typesCharacter, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ASSERT_TRUE(RegisterHotKey(form.hwnd(), ShortCuts::hotkeyId, row.modifiers, 'L'));
        std::vector<unsigned> sent;
        bool heldWhileSent = true;
        win::services().keyDown = [&](int key) { return key == VK_RMENU && row.rightAlt; };
        win::services().altGrKey = [&](unsigned key) {
            return key == 'L' ? row.layout : AltGrKey::typesNothing;
        };
        win::services().sendKeyPress = [&](unsigned key) {
            sent.push_back(key);
            heldWhileSent = held(row.modifiers, 'L');
        };
        const int before = locks;
        PostMessageW(form.hwnd(), WM_HOTKEY, ShortCuts::hotkeyId, MAKELPARAM(row.modifiers, 'L'));
        runLoopUntilStopped();
        EXPECT_EQ(locks - before, row.locks ? 1 : 0);
        EXPECT_EQ(sent, row.locks ? std::vector<unsigned>{} : std::vector<unsigned>{'L'});
        if (!row.locks) {
            EXPECT_FALSE(heldWhileSent) << "free while the key is sent on";
        }
        EXPECT_TRUE(held(row.modifiers, 'L')) << "ours again after the press";
        UnregisterHotKey(form.hwnd(), ShortCuts::hotkeyId);
    }
}

}  // namespace
