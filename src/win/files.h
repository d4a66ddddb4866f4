#pragma once
// The program's folder and the files beside it.
#include <string>

namespace win {

// The running program's own file.
std::wstring programPath();

// The executable's folder, without a trailing separator except at a drive root ("C:\").
std::wstring programFolder();

// True when the path's last-modification time can be read; any failure gives false.
bool fileExists(const std::wstring& path);

}  // namespace win
