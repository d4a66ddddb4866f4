#pragma once
// Entry points looked up at run time: those newer than the oldest Windows the program runs on, so
// the program also starts where they are missing, and those of system DLLs the program does not
// import, loaded from the system folder when first needed.
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

// The system DLL `name` (as "uxtheme.dll"), loaded by its full path in the system folder, never
// from beside the program or the current folder; null where it cannot be loaded. It stays loaded
// for the life of the process.
HMODULE systemLibrary(const wchar_t* name);

}  // namespace win
