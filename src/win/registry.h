#pragma once
// The one way values go into and come out of the registry; keys are held by win::OwnedKey
// (win_handles.h).
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace win {

// Stores `value` as the REG_SZ value `name` of an open key, its byte count including the
// terminating NUL. Returns the registry's status.
LSTATUS writeString(HKEY key, const std::wstring& name, const std::wstring& value);

// Stores `bytes` as the REG_BINARY value `name` of an open key. Returns the registry's status.
LSTATUS writeBytes(HKEY key, const std::wstring& name, std::string_view bytes);

// Creates `subkey` under `root` where it does not exist yet, and stores `value` in it as
// writeString does. Returns the registry's status.
LSTATUS createAndWriteString(HKEY root, const wchar_t* subkey, const std::wstring& name,
                             const std::wstring& value);

// The REG_SZ value `name` of `subkey` under `key` (null: of `key` itself), or nothing where the
// key or value is missing, is not text, or cannot be read.
std::optional<std::wstring> readString(HKEY key, const wchar_t* subkey, const std::wstring& name);

// The texts of every text value of an open key, in the key's order; values of other types and
// values that cannot be read are left out.
std::vector<std::wstring> readStrings(HKEY key);

// Reads the REG_DWORD value `name` of an open key into `value`. Returns the registry's status:
// ERROR_FILE_NOT_FOUND where there is no such value, ERROR_UNSUPPORTED_TYPE where it is no
// REG_DWORD.
LSTATUS readDword(HKEY key, const std::wstring& name, DWORD& value);

// The bytes of the value `name` of an open key, of any type; empty where it is missing, empty or
// cannot be read.
std::string readBytes(HKEY key, const std::wstring& name);

// Whether an open key holds a value `name`, of any type: ERROR_SUCCESS where it does,
// ERROR_FILE_NOT_FOUND where it does not, otherwise why that cannot be told.
LSTATUS findValue(HKEY key, const std::wstring& name);

}  // namespace win
