#pragma once
// The per-user settings: text values under application "Tamberlin", section "Vantrel Desk Guard",
// kept where the platform's own settings functions keep them.
#include <windows.h>

#include <string>
#include <string_view>

namespace settings {

inline constexpr const wchar_t* kSettingsKey =
    L"Software\\VB and VBA Program Settings\\Tamberlin\\Vantrel Desk Guard";

// The stored text, or `fallback` when the value (or its key) does not exist. Never fails.
std::wstring getSetting(std::wstring_view key, std::wstring_view fallback);

// Stores the text, creating the keys as needed. A refused write raises a run-time error that
// names the value and the system's reason.
void saveSetting(std::wstring_view key, std::wstring_view value);

// Deletes the value where it exists; a refusal leaves it, unreported.
void removeSetting(std::wstring_view key);

// The registry root the settings live under (HKEY_CURRENT_USER unless changed); tests point it at
// a handle that refuses everything. Returns the root it replaced.
HKEY setSettingsRoot(HKEY root);

}  // namespace settings
