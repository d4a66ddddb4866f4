#pragma once
// Being started again by the system.

namespace win {

// Asks the system to start the program again when an installer (through Restart Manager) or an
// update closes it; not after a crash or a hang, and with no command line. Where the system has
// no such request (before Windows Vista) nothing happens.
void registerForRestart();

}  // namespace win
