#include "win/restart.h"

#include <windows.h>
#include <shellapi.h>

#include "win/function_lookup.h"

namespace win {

void registerForRestart(const wchar_t* commandLine) {
    using RegisterFn = HRESULT(WINAPI*)(PCWSTR, DWORD);
    if (const auto registerRestart = kernel32Function<RegisterFn>("RegisterApplicationRestart"))
        registerRestart(commandLine, RESTART_NO_CRASH | RESTART_NO_HANG | RESTART_NO_REBOOT);
}

bool startedWith(std::wstring_view mark) {
    int count = 0;
    LPWSTR* const args = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!args) return false;
    const bool marked =
        count > 1 && CompareStringOrdinal(args[count - 1], -1, mark.data(),
                                          static_cast<int>(mark.size()), TRUE) == CSTR_EQUAL;
    LocalFree(args);
    return marked;
}

}  // namespace win
