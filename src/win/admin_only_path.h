#pragma once
// Whether only the machine's administrators can change a program file and the path to it: the
// test before anything that every user runs may name it.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "win/admin_only_object.h"

namespace win {

// What the walk asks of the system; tests replace it, since Wine enforces no file permissions.
struct PathView {
    // The file attributes of `path`, or nothing where they cannot be read.
    std::function<std::optional<DWORD>(const std::wstring& path)> attributes;
    // GetDriveTypeW of a root such as "C:\".
    std::function<UINT(const std::wstring& root)> driveType;
    // Whether a drive such as "C:" is a substituted folder (subst), which belongs to one session.
    std::function<bool(const std::wstring& drive)> substituted;
    // The file system flags of the volume at a root; 0 where they cannot be read.
    std::function<DWORD(const std::wstring& root)> volumeFlags;
    // The one object's verdict (admin_only_object.h).
    std::function<bool(const std::wstring& path, Reach reach)> onlyAdministrators;
};

PathView& pathView();

// True when `programPath` ("C:\...\x.exe") lies on a local fixed drive that keeps permissions,
// with no reparse point on the way, and only administrators can change the file or its folder
// in any way, or rename or take over a folder above it. Any doubt gives false.
bool onlyAdministratorsCanChange(const std::wstring& programPath);

}  // namespace win
