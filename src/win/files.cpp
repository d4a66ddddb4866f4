#include "win/files.h"

#include <windows.h>

#include "win/win_handles.h"

namespace win {

std::wstring programPath() {
    return modulePath(nullptr);
}

std::wstring modulePath(HMODULE module) {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = GetModuleFileNameW(module, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            return path;
        }
        path.resize(path.size() * 2);
    }
}

std::optional<std::wstring> processImagePath(DWORD processId) {
    const OwnedHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    std::wstring path(32768, L'\0');  // the longest path the system has
    DWORD size = static_cast<DWORD>(path.size());
    if (!process || !QueryFullProcessImageNameW(process.get(), 0, path.data(), &size))
        return std::nullopt;
    path.resize(size);
    return path;
}

bool sameFileName(const std::wstring& a, const std::wstring& b) {
    const auto name = [](const std::wstring& path) {
        return path.substr(path.find_last_of(L"\\/") + 1);  // npos + 1: the whole path
    };
    const std::wstring x = name(a), y = name(b);
    return CompareStringOrdinal(x.c_str(), static_cast<int>(x.size()), y.c_str(),
                                static_cast<int>(y.size()), TRUE) == CSTR_EQUAL;
}

std::wstring programFolder() {
    std::wstring path = programPath();
    const size_t slash = path.find_last_of(L"\\/");
    if (slash == std::wstring::npos) return L"";
    // A drive root keeps its separator: "C:\".
    path.resize(slash == 2 && path[1] == L':' ? slash + 1 : slash);
    return path;
}

namespace {

std::wstring folderFrom(UINT(WINAPI* get)(LPWSTR, UINT)) {
    wchar_t folder[MAX_PATH];
    const UINT length = get(folder, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(folder, length) : std::wstring();
}

}  // namespace

std::wstring systemFolder() {
    return folderFrom(GetSystemDirectoryW);
}

// Not GetWindowsDirectoryW: on a terminal server it gives a program that does not declare itself
// aware of terminal servers (ours does not) a private folder of the user's own.
std::wstring windowsFolder() {
    return folderFrom(GetSystemWindowsDirectoryW);
}

bool fileExists(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    return GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data) != FALSE;
}

}  // namespace win
