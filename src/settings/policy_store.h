#pragma once
// Options an administrator presets and locks for every user: the per-user store's value names and
// meanings, under the machine's policy key (the system's own view, where Group Policy writes).
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

namespace settings {

inline constexpr const wchar_t* kPolicyKey = L"SOFTWARE\\Policies\\Tamberlin\\Vantrel Desk Guard";

// The text the policy sets for `key`, or nothing when it sets none. A number (REG_DWORD) reads as
// its decimal text; a value of any other type reads as text no option accepts, so it is reported.
std::optional<std::wstring> policySetting(std::wstring_view key);

// The machine's root of the policy key (HKEY_LOCAL_MACHINE unless changed); tests point it
// elsewhere. Returns the root it replaced.
HKEY setPolicyRoot(HKEY root);

}  // namespace settings
