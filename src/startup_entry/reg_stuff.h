#pragma once
// Writing and deleting the program's value under the Run keys.
#include <windows.h>

#include <string>

namespace RegStuff {

// Writes the start-up value `name` = `data` under the machine-wide Run key and removes the
// same-named value from the user's own Run key; where the machine-wide key refuses the write (a
// standard user), writes it under the user's own Run key instead. Where that refuses too, raises a
// run-time error with the system's reason: the entry is written nowhere.
void AddRunEntry(const std::wstring& name, const std::wstring& data);
// Deletes the value `name` from both Run keys; a value that is not there is no error. A value
// that stays because its key refuses the delete raises a run-time error with the system's reason.
void RemoveRunEntry(const std::wstring& name);

// The machine-wide and the user's roots (HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER unless
// changed); tests point them at a handle that refuses everything.
void setMachineRoot(HKEY root);
void setUserRoot(HKEY root);

}  // namespace RegStuff
