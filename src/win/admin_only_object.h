#pragma once
// Whether only the machine's administrators can change one file or folder, read from its owner
// and its permissions.
#include <windows.h>

namespace win {

// Which rights of a permission entry count.
enum class Reach {
    // The object itself and the folder it lies in: writing, adding, deleting, re-permissioning.
    everything,
    // A folder further up: only what lets someone rename it or take it over, so rebuild the path.
    renaming,
};

// True when `owner` is Administrators, SYSTEM or TrustedInstaller, and every entry of `dacl` that
// allows a right `reach` counts belongs to one of them too. A null DACL (everyone may do all), an
// entry of a kind not understood, or a null owner gives false.
bool onlyAdministratorsChange(PSID owner, const ACL* dacl, Reach reach);

// The same for the object at `path`, its owner and DACL read from the file system; false where
// they cannot be read.
bool onlyAdministratorsChange(const wchar_t* path, Reach reach);

}  // namespace win
