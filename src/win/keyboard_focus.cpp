#include "win/keyboard_focus.h"

#include <cwchar>

#include "win/function_lookup.h"

namespace win {

HWND keyboardFocus() {
    const HWND foreground = GetForegroundWindow();
    if (!foreground) return nullptr;
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(foreground, nullptr), &info) && info.hwndFocus)
        return info.hwndFocus;
    return foreground;
}

DWORD layoutThread(HWND window) {
    wchar_t name[32];
    if (GetClassNameW(window, name, 32) && std::wcscmp(name, L"ConsoleWindowClass") == 0) {
        // imm32 is looked up only when a console has the focus.
        using DefaultImeWindow = HWND(WINAPI*)(HWND);
        static const auto imeWindow =
            moduleFunction<DefaultImeWindow>(systemLibrary(L"imm32.dll"), "ImmGetDefaultIMEWnd");
        if (const HWND ime = imeWindow ? imeWindow(window) : nullptr)
            return GetWindowThreadProcessId(ime, nullptr);
    }
    return GetWindowThreadProcessId(window, nullptr);
}

}  // namespace win
