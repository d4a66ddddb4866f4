#include "win/function_lookup.h"

#include <utility>

#include "win/files.h"

namespace win {
namespace {

FARPROC systemKernel32Entry(const char* name) {
    return GetProcAddress(GetModuleHandleW(L"kernel32.dll"), name);
}

EntryLookup kernel32Lookup = systemKernel32Entry;

}  // namespace

FARPROC kernel32Entry(const char* name) {
    return kernel32Lookup(name);
}

EntryLookup setKernel32Lookup(EntryLookup lookup) {
    return std::exchange(kernel32Lookup, lookup ? lookup : systemKernel32Entry);
}

bool librarySearchFlags() {
    return kernel32Entry("AddDllDirectory") != nullptr;
}

HMODULE systemLibrary(const wchar_t* name) {
    const std::wstring folder = systemFolder();
    if (folder.empty()) return nullptr;
    // Where the flags are there, SetDefaultDllDirectories has kept every search to System32.
    const DWORD flags = librarySearchFlags() ? 0 : LOAD_WITH_ALTERED_SEARCH_PATH;
    return LoadLibraryExW((folder + L"\\" + name).c_str(), nullptr, flags);
}

}  // namespace win
