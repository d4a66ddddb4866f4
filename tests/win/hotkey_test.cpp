// The binding tick and the wait loop on real windows and a real message queue.
#include <windows.h>
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "hotkey/short_cuts.h"
#include "input_queue_model.h"
#include "main_window/form1.h"
#include "runtime/procedure_path.h"
#include "win/files.h"
#include "win/integrity.h"
#include "win/keyboard_focus.h"
#include "win/services.h"
#include "win/unicode_input.h"
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
    messageBoxPresenter.set(
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

// Waits for `object` while answering what other threads send this one.
void waitAnswering(HANDLE object) {
    MSG msg;
    while (MsgWaitForMultipleObjects(1, &object, FALSE, 10000, QS_SENDMESSAGE) == WAIT_OBJECT_0 + 1)
        PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
}

// A focus window on a thread of its own inside the form, as a Windows Store app's window sits in
// the frame host's foreground window.
struct FocusOnAnotherThread {
    explicit FocusOnAnotherThread(HWND frame) : frame(frame) {
        thread = CreateThread(nullptr, 0, run, this, 0, &id);
        waitAnswering(ready);
    }
    ~FocusOnAnotherThread() {
        SetEvent(done);
        waitAnswering(thread);
        for (HANDLE h : {thread, ready, done}) CloseHandle(h);
    }
    static DWORD WINAPI run(void* p) {
        auto* self = static_cast<FocusOnAnotherThread*>(p);
        AttachThreadInput(self->id, GetWindowThreadProcessId(self->frame, nullptr), TRUE);
        SetFocus(
            CreateWindowW(L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 0, 9, 9, self->frame, 0, 0, 0));
        SetEvent(self->ready);
        waitAnswering(self->done);
        return 0;  // the window goes with its thread
    }
    HWND frame;
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE thread = nullptr;
    DWORD id = 0;
};

// Every press on Windows' input queue (input_queue_model.h): the user's keys as they go down
// (and up, negative) before the chosen key, its presses, the keys that change before the
// program handles them, and those the user changes while the program's own input waits.
TEST_F(HotkeyTest, AnAltGrCharacterGoesOnOnceThroughWindowsInputQueueAndEveryOtherPressLocks) {
    constexpr int LC = VK_LCONTROL, LA = VK_LMENU, RA = VK_RMENU, LS = VK_LSHIFT, CAPS = VK_CAPITAL;
    struct Row {
        const char* what;
        unsigned modifiers, key;
        std::vector<int> before;
        int presses;
        std::vector<int> later, meanwhile;
        bool plainLayout, focusOnAnotherThread, elevated, locks;
        std::wstring typed;
    };
    // clang-format off
    const Row rows[] = {
        {"right Alt, the layout types a character", 3, 'L', {LC, RA}, 1, {}, {}, 0, 0, 0, 0, L"ł"},
        {"right Alt, the layout types nothing", 3, 'L', {LC, RA}, 1, {}, {}, 1, 0, 0, 1, L""},
        {"left Alt", 3, 'L', {LC, LA}, 1, {}, {}, 0, 0, 0, 1, L""},
        {"left Alt, the right one down too", 3, 'L', {LC, LA, RA}, 1, {}, {}, 0, 0, 0, 1, L""},
        {"Ctrl + Shift, AltGr down when handled", 6, 'L', {LC, LS}, 1, {RA}, {}, 0, 0, 0, 1, L""},
        {"Alt + Shift, AltGr down when handled", 5, 'L', {RA, LS}, 1, {LC}, {}, 0, 0, 0, 1, L""},
        {"a focus window on another thread with another layout", 3, 'L', {LC, RA}, 1, {}, {}, 1, 1, 0, 0, L"ł"},
        {"both Alt keys up when the press is handled", 3, 'L', {LC, RA}, 1, {-RA, -LC}, {}, 0, 0, 0, 1, L""},
        {"Caps Lock on", 3, 'L', {CAPS, -CAPS, LC, RA}, 1, {}, {}, 0, 0, 0, 0, L"Ł"},
        {"an elevated focus window", 3, 'L', {LC, RA}, 1, {}, {}, 0, 0, 1, 1, L""},
        {"fifty presses in a row, as the key repeats", 3, 'L', {LC, RA}, 50, {}, {}, 0, 0, 0, 0, std::wstring(50, L'ł')},
        {"AltGr let go while the sent character waits", 3, 'L', {LC, RA}, 1, {}, {-'L', -RA, -LC}, 0, 0, 0, 0, L"ł"},
        {"a dead key, then a letter", 3, '2', {LC, RA}, 1, {}, {-'2', -RA, -LC, 'E', -'E'}, 0, 0, 0, 0, L"ˇe"},
        {"a real key queued before the sent character", 3, 'L', {LC, RA}, 1, {'A'}, {}, 0, 0, 0, 0, L"ął"},
    };
    // clang-format on
    form.show();
    form.focusWindow();
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        ASSERT_TRUE(RegisterHotKey(form.hwnd(), ShortCuts::hotkeyId, row.modifiers, row.key));
        std::optional<FocusOnAnotherThread> other;
        test_support::InputQueueModel windows(form.hwnd());
        if (row.plainLayout) windows.layout = test_support::kPlainLayout;
        if (row.focusOnAnotherThread)
            windows.threadLayouts[other.emplace(form.hwnd()).id] = test_support::kAltGrLayout;
        windows.elevated = row.elevated;
        windows.meanwhile = [&] { windows.user(row.meanwhile); };
        windows.user(row.before);
        windows.user(std::vector<int>(row.presses, static_cast<int>(row.key)));
        windows.user(row.later);
        const int before = locks;
        runLoopUntilStopped();
        EXPECT_EQ(locks - before, row.locks ? 1 : 0);
        EXPECT_EQ(windows.delivered, row.typed);
        EXPECT_EQ(windows.hotkeysFromSent, 0) << "nothing the program sent matched the hotkey";
        UnregisterHotKey(form.hwnd(), ShortCuts::hotkeyId);
    }
}

// The real calls, as Wine runs them: the focus, its level and a process's file are read, and
// Unicode input reaches a window of ours as its characters.
TEST(RealCalls, ReadTheFocusAndAProcessAndTypeUnicodeIntoAWindow) {
    EXPECT_EQ(win::processImagePath(GetCurrentProcessId()), win::programPath());
    EXPECT_TRUE(win::sameFileName(L"C:\\VantrelDeskGuard.exe", L"d:\\b\\VANTRELDESKGUARD.exe"));
    EXPECT_FALSE(win::sameFileName(L"C:\\VantrelDeskGuard.exe", L"C:\\VantrelDeskGuard.exe.old"));
    HWND edit = CreateWindowW(L"EDIT", L"", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 60,
                              nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(edit);
    SetFocus(edit);
    EXPECT_EQ(win::keyboardFocus(), edit);
    EXPECT_FALSE(win::aboveOurIntegrity(edit)) << "a window of this process";
    EXPECT_TRUE(win::aboveOurIntegrity(nullptr)) << "a level that cannot be read counts as above";
    win::services().sendInput(win::unicodeInput(L"ł\U0001D11E"));
    wchar_t text[8]{};
    for (const DWORD end = GetTickCount() + 10000;
         std::wstring(text) != L"ł\U0001D11E" && static_cast<LONG>(end - GetTickCount()) > 0;
         GetWindowTextW(edit, text, 8))
        test_support::pumpFor(20);
    EXPECT_EQ(std::wstring(text), L"ł\U0001D11E");
    DestroyWindow(edit);
}

}  // namespace
