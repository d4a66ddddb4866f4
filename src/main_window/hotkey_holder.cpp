// Who holds a combination that the system refused to register.
#include <windows.h>

#include <algorithm>

#include "main_window/form1.h"

UINT Form1::HolderQuestion() {
    static const UINT question = RegisterWindowMessageW(L"VantrelDeskGuard.HeldCombination");
    return question;
}

// The system does not say who holds a combination, so every window of ours in another process is
// asked what it holds: a copy of this program started earlier (at logon, say), another user's, or
// one with another settings store. A hung copy must not hang this one: 500 ms for each window,
// 1 s in all. Not SMTO_BLOCK: two copies refused at once ask each other, and each must be able
// to answer while it waits.
main_window::Holder Form1::HolderOf(unsigned long error, unsigned modifiers, unsigned key) {
    if (error != ERROR_HOTKEY_ALREADY_REGISTERED) return main_window::Holder::kUnknown;
    constexpr ULONGLONG kPerWindowMs = 500, kInAllMs = 1000;
    const ULONGLONG start = GetTickCount64();
    std::vector<std::uint32_t> answers;
    for (HWND form : ui::Form::formsOfOtherProcesses()) {
        const ULONGLONG spent = GetTickCount64() - start;
        DWORD_PTR answer = 0;  // no answer: a time-out, access refused, or an older copy
        if (spent < kInAllMs)
            SendMessageTimeoutW(form, HolderQuestion(), 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG,
                                static_cast<UINT>(std::min(kPerWindowMs, kInAllMs - spent)),
                                &answer);
        answers.push_back(static_cast<std::uint32_t>(answer));
    }
    return main_window::holderFromAnswers(main_window::holdsAnswer(modifiers, key), answers);
}
