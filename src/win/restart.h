#pragma once
// Being started again by the system, and telling such a start from the user's.
#include <string_view>

namespace win {

// Asks the system to start the program again with `commandLine` when an installer (through
// Restart Manager) closes it, or at sign-in after the user's restart; not after a crash or a hang,
// nor after an update's restart. Where the system has no such request (before Windows Vista)
// nothing happens. A later request replaces an earlier one.
void registerForRestart(const wchar_t* commandLine);

// Whether the process's command line, after the program's own name, is exactly `mark`; any other
// command line is ignored.
bool startedWith(std::wstring_view mark);

}  // namespace win
