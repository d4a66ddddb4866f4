// Who holds a combination that the system refused to register.
#include <windows.h>

#include <algorithm>

#include "main_window/form1.h"

UINT Form1::HolderQuestion() {
    static const UINT question = RegisterWindowMessageW(L"VantrelDeskGuard.HeldCombination");
    return question;
}

// The system does not say who holds a combination, so every window of another copy is asked what
// it holds: a copy of this program started earlier (at logon, say), another user's, or one with
// another settings store. A hung copy must not hang this one: 500 ms for each window, 1 s in all.
// Not SMTO_BLOCK: two copies refused at once ask each other, and each must be able to answer while
// it waits.
main_window::Holder Form1::HolderOf(unsigned long error, unsigned modifiers, unsigned key) {
    if (error != ERROR_HOTKEY_ALREADY_REGISTERED) return main_window::Holder::kUnknown;
    constexpr ULONGLONG kPerWindowMs = 500, kInAllMs = 1000;
    const ULONGLONG start = GetTickCount64();
    std::vector<std::uint32_t> answers;
    for (HWND form : ui::Form::formsOfOtherCopies()) {
        const ULONGLONG spent = GetTickCount64() - start;
        if (spent >= kInAllMs) {
            answers.push_back(0);  // no time left to ask: no answer
            continue;
        }
        const ULONGLONG wait = std::min(kPerWindowMs, kInAllMs - spent);
        DWORD_PTR answer = 0;
        SetLastError(0);  // a failure that sets no error must not read an earlier one
        if (SendMessageTimeoutW(form, HolderQuestion(), 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                                static_cast<UINT>(wait), &answer))
            answers.push_back(static_cast<std::uint32_t>(answer));  // 0 from an older copy
        else
            // Timed out over the full wait, or at once where Windows finds the copy hung: it does
            // not lock either. One cut short by the budget may merely be slow, and one that
            // refuses us (an older elevated copy) may lock: both keep the benefit of the doubt.
            answers.push_back(GetLastError() == ERROR_TIMEOUT && wait == kPerWindowMs
                                  ? main_window::kDoesNotRespond
                                  : 0);
    }
    return main_window::holderFromAnswers(main_window::holdsAnswer(modifiers, key), answers);
}
