#pragma once
// Being started again by the system, and telling such a start from the user's.
#include <string_view>

namespace win {

// Asks the system to start the program again with `commandLine` when an installer (through
// Restart Manager) closes it, or at sign-in after the user's restart; not after a crash or a hang,
// nor after an update's restart. Where the system has no such request (before Windows Vista)
// nothing happens. A later request replaces an earlier one.
void registerForRestart(const wchar_t* commandLine);

// Whether the last argument of the process's command line, after the program's own name, is
// `mark` (in any case). The line is split as the system splits it (`CommandLineToArgvW`): the
// form of the line the system restarts the program with is undocumented, and where it names the
// program unquoted, a path with blanks leaves its pieces as arguments before the mark.
bool startedWith(std::wstring_view mark);

}  // namespace win
