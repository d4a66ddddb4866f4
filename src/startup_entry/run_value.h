#pragma once
// The Windows start-up entry for a program file: its value name and its command line, and the
// keys Windows reads beside the Run keys.
#include <string>
#include <string_view>

namespace startup_entry {

inline constexpr const wchar_t* kRunSubkey = L"SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\RUN\\";
// Where Task Manager and Settings mark a Run value disabled, in the Run key's own hive: "Run" for
// the user's and the machine's own Run key, "Run32" for the 32-bit view of the machine's.
inline constexpr const wchar_t* kMarksRun =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";
inline constexpr const wchar_t* kMarksRun32 =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run32";
// The policies DisableLocalMachineRun and DisableCurrentUserRun, which switch a Run key off.
inline constexpr const wchar_t* kExplorerPolicies =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
// The policy "Run these programs at user logon": a list of command lines, in either hive.
inline constexpr const wchar_t* kPolicyRun =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer\\Run";
// The longest command line a Run value may hold ("Run and RunOnce Registry Keys").
inline constexpr size_t kMaxRunCommand = 260;
// A mark that enables its value under every observed reading: 02 and eleven zero bytes.
inline constexpr std::string_view kEnabledMark("\x02\0\0\0\0\0\0\0\0\0\0\0", 12);

// Where the installer puts the program in a Program Files folder (as the environment names it,
// without a closing backslash).
inline constexpr std::wstring_view kInstalledTail =
    L"\\Tamberlin\\Vantrel Desk Guard\\VantrelDeskGuard.exe";

// The file name of a full path: what follows its last backslash.
std::wstring runValueName(std::wstring_view programPath);

// The full path in double quotation marks, so a path with blanks starts this program and no other.
std::wstring runValueData(std::wstring_view programPath);

// The program a value's command line starts: the path in its leading quotation marks (what
// follows are arguments), or else the whole text.
std::wstring_view runValuePath(std::wstring_view data);

// Whether a start-up mark's bytes disable its Run value. The format is not documented: marks
// written by Task Manager and Settings have been observed to start with 02 or 06 when enabled and
// with 03 when disabled, so an odd first byte reads as disabled, and no bytes as enabled.
bool markDisables(std::string_view bytes);

}  // namespace startup_entry
