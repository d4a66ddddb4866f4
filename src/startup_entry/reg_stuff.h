#pragma once
// Writing and deleting the program's value under the Run keys.
#include <windows.h>

#include <string>

namespace RegStuff {

// Writes the start-up value `name` = `data` under the machine-wide Run key and removes the
// same-named value from the user's own Run key; where the machine-wide key refuses the write (a
// standard user), writes it under the user's own Run key instead.
void AddRunEntry(const std::wstring& name, const std::wstring& data);
// Deletes the value `name` from both Run keys; a value that is not there is no error.
void RemoveRunEntry(const std::wstring& name);

// Opens `subkey`, writes one value, closes it; returns the registry's status.
LSTATUS PutValue(HKEY root, const std::wstring& subkey, const std::wstring& name,
                 const std::wstring& value, DWORD type);
// Writes one value to an open key: REG_SZ as text, REG_DWORD as the text's number; any other
// type writes nothing and returns 0.
LSTATUS WriteValue(HKEY key, const std::wstring& name, DWORD type, const std::wstring& value);
// Opens `subkey`, deletes one value, closes it; returns the registry's status.
LSTATUS RemoveValue(HKEY root, const std::wstring& subkey, const std::wstring& name);

// The machine-wide root; tests point it at a handle that refuses writes.
void setMachineRoot(HKEY root);

}  // namespace RegStuff
