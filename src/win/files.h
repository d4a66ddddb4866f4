#pragma once
// The program's folder and the files beside it, and the system's own folders.
#include <windows.h>

#include <optional>
#include <string>

namespace win {

// The running program's own file, and the file a loaded module came from (empty where the system
// cannot say).
std::wstring programPath();
std::wstring modulePath(HMODULE module);

// The file process `processId` runs, asked with the least access a process grants (so across
// integrity levels, for the same user); nullopt where the process cannot be opened or does not
// say.
std::optional<std::wstring> processImagePath(DWORD processId);
// True when two paths end in the same file name, compared as the file system compares names
// (case aside); their folders do not matter.
bool sameFileName(const std::wstring& a, const std::wstring& b);

// The executable's folder, without a trailing separator except at a drive root ("C:\").
std::wstring programFolder();

// The system folder (System32, or SysWOW64 for a 32-bit program on 64-bit Windows) and the
// Windows folder shared by all users; empty where the system cannot say.
std::wstring systemFolder();
std::wstring windowsFolder();

// True when the path's last-modification time can be read; any failure gives false.
bool fileExists(const std::wstring& path);

}  // namespace win
