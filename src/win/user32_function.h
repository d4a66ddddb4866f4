#pragma once
// Entry points of user32 newer than the oldest Windows the program runs on are looked up at run
// time, so the program also starts where they are missing.
#include <windows.h>

namespace win {

// The user32 function `name` as a pointer of type F, or nullptr where this Windows lacks it.
template <class F>
F user32Function(const char* name) {
    return reinterpret_cast<F>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

}  // namespace win
