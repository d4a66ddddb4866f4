#include "hotkey/short_cuts.h"

#include <windows.h>

#include "hotkey/alt_gr_typing.h"
#include "runtime/error_report.h"
#include "runtime/procedure_path.h"
#include "ui/message_box.h"
#include "win/message_loop.h"
#include "win/registry.h"
#include "win/services.h"
#include "win/system_text.h"
#include "win/win_handles.h"

namespace ShortCuts {

bool stopFlag = false;
std::int32_t hotkeyId = 0;

namespace {

constexpr wchar_t kPolicyKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";

bool refusalShown = false;  // a lock-refused box is open

bool policySet(HKEY root, REGSAM view) {
    win::OwnedKey key;
    if (RegOpenKeyExW(root, kPolicyKey, 0, KEY_QUERY_VALUE | view, key.receive()) != ERROR_SUCCESS)
        return false;
    DWORD value = 0;
    return win::readDword(key.get(), L"DisableLockWorkstation", value) == ERROR_SUCCESS &&
           value != 0;
}

}  // namespace

void LockDesk() {
    const unsigned long error = win::services().lockWorkStation();
    // A desk left open must never pass for a locked one; one box says so, however often it is
    // pressed.
    if (!error || refusalShown) return;
    refusalShown = true;
    struct Reset {
        ~Reset() { refusalShown = false; }
    } reset;
    ui::messageBox(L"The computer could not be locked.\r\n" + win::systemErrorText(error),
                   MB_OK | MB_ICONWARNING);
}

void AnswerPress(LPARAM modifiersAndKey) {
    if (HandBackTyping(LOWORD(modifiersAndKey), HIWORD(modifiersAndKey)) == Typing::none)
        LockDesk();
}

bool IsOurHotkey(std::uintptr_t wParam) {
    return hotkeyId != 0 && static_cast<std::int32_t>(wParam) == hotkeyId;
}

bool LockingDisabledByPolicy() {
    // Group policy writes the machine's value in the system's own (64-bit) view.
    return policySet(HKEY_CURRENT_USER, 0) || policySet(HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY);
}

void ProcessMessages(HWND mainWindow) {
    runtime::Guard g(runtime::procedurePath(L"ShortCuts", L"ProcessMessages"));
    MSG msg{};
    for (;;) {
        if (g.test(100, [] { return stopFlag; })) return;
        g.step(102, [] { WaitMessage(); });
        bool taken = false;
        g.step(104,
               [&] { taken = PeekMessageA(&msg, mainWindow, WM_HOTKEY, WM_HOTKEY, PM_REMOVE); });
        if (taken && g.test(106, [&] { return IsOurHotkey(msg.wParam); }))
            g.step(108, [&] { AnswerPress(msg.lParam); });
        g.step(110, win::pumpPendingMessages);
    }
}

}  // namespace ShortCuts
