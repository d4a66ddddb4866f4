#pragma once
// Entry points looked up at run time: user32's and kernel32's newer than the oldest Windows the
// program runs on, so the program also starts where they are missing, and those of libraries
// loaded on demand.
#include <windows.h>

namespace win {

// The function `name` of `module` as a pointer of type F, or nullptr where it has none (or the
// module is null).
template <class F>
F moduleFunction(HMODULE module, const char* name) {
    if (!module) return nullptr;
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

// The user32 function `name`, or nullptr where this Windows lacks it.
template <class F>
F user32Function(const char* name) {
    return moduleFunction<F>(GetModuleHandleW(L"user32.dll"), name);
}

// The kernel32 function `name`, or nullptr where this Windows lacks it.
template <class F>
F kernel32Function(const char* name) {
    return moduleFunction<F>(GetModuleHandleW(L"kernel32.dll"), name);
}

}  // namespace win
