#include "win/restart.h"

#include <windows.h>

#include "win/function_lookup.h"

namespace win {

void registerForRestart() {
    using RegisterFn = HRESULT(WINAPI*)(PCWSTR, DWORD);
    if (const auto registerRestart = kernel32Function<RegisterFn>("RegisterApplicationRestart"))
        registerRestart(nullptr, RESTART_NO_CRASH | RESTART_NO_HANG);
}

}  // namespace win
