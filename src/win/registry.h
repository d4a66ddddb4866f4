#pragma once
// The one way text goes into the registry; keys are held by win::OwnedKey (win_handles.h).
#include <windows.h>

#include <optional>
#include <string>

namespace win {

// Stores `value` as the REG_SZ value `name` of an open key, its byte count including the
// terminating NUL. Returns the registry's status.
LSTATUS writeString(HKEY key, const std::wstring& name, const std::wstring& value);

// The REG_SZ value `name` of `subkey` under `key` (null: of `key` itself), or nothing where the
// key or value is missing, is not text, or cannot be read.
std::optional<std::wstring> readString(HKEY key, const wchar_t* subkey, const std::wstring& name);

}  // namespace win
