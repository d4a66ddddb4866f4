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

// kernel32's entry point `name`, or null where this Windows lacks it. Tests replace the lookup
// (null puts the system's back) to play an older Windows; the one replaced is returned.
using EntryLookup = FARPROC (*)(const char* name);
FARPROC kernel32Entry(const char* name);
EntryLookup setKernel32Lookup(EntryLookup lookup);

// The kernel32 function `name`, or nullptr where this Windows lacks it.
template <class F>
F kernel32Function(const char* name) {
    return reinterpret_cast<F>(reinterpret_cast<void*>(kernel32Entry(name)));
}

// Whether LoadLibraryEx takes the LOAD_LIBRARY_SEARCH_* flags: Windows 8 on, and Windows 7 with
// KB2533623 or its successor, told apart as the documentation says, by AddDllDirectory. Without
// them the flags are refused as invalid.
bool librarySearchFlags();

// The system DLL `name` (as "uxtheme.dll"), loaded by its full path in the system folder, never
// from beside the program or the current folder; null where it cannot be loaded. Where the
// search flags are missing, the DLL's own imports are looked for from its folder first, not from
// the program's. It stays loaded for the life of the process.
HMODULE systemLibrary(const wchar_t* name);

}  // namespace win
