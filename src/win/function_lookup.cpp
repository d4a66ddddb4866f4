#include "win/function_lookup.h"

#include "win/files.h"

namespace win {

HMODULE systemLibrary(const wchar_t* name) {
    const std::wstring folder = systemFolder();
    if (folder.empty()) return nullptr;
    return LoadLibraryW((folder + L"\\" + name).c_str());
}

}  // namespace win
