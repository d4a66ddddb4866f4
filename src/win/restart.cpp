#include "win/restart.h"

#include <windows.h>

#include "win/function_lookup.h"

namespace win {

void registerForRestart(const wchar_t* commandLine) {
    using RegisterFn = HRESULT(WINAPI*)(PCWSTR, DWORD);
    if (const auto registerRestart = kernel32Function<RegisterFn>("RegisterApplicationRestart"))
        registerRestart(commandLine, RESTART_NO_CRASH | RESTART_NO_HANG | RESTART_NO_REBOOT);
}

bool startedWith(std::wstring_view mark) {
    std::wstring_view line = GetCommandLineW();
    // The program's name comes first, quoted or up to the first blank.
    size_t end = line.empty() || line[0] != L'"' ? line.find_first_of(L" \t") : line.find(L'"', 1);
    line.remove_prefix(end == std::wstring_view::npos ? line.size() : end + (line[0] == L'"'));
    const size_t first = line.find_first_not_of(L" \t");
    if (first == std::wstring_view::npos) return false;
    line = line.substr(first, line.find_last_not_of(L" \t") - first + 1);
    return CompareStringOrdinal(line.data(), static_cast<int>(line.size()), mark.data(),
                                static_cast<int>(mark.size()), TRUE) == CSTR_EQUAL;
}

}  // namespace win
