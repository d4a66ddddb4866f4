#pragma once
// The Windows start-up entry for a program file: its value name and its command line.
#include <string>
#include <string_view>

namespace startup_entry {

inline constexpr const wchar_t* kRunSubkey = L"SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\RUN\\";

// The file name of a full path: what follows its last backslash.
std::wstring runValueName(std::wstring_view programPath);

// The full path in double quotation marks, so a path with blanks starts this program and no other.
std::wstring runValueData(std::wstring_view programPath);

}  // namespace startup_entry
