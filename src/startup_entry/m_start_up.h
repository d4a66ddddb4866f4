#pragma once
// Adding the program to, and removing it from, the programs Windows starts at logon, and what
// Windows will do at this user's next logon.
#include "startup_entry/reg_stuff.h"

namespace mStartUp {

// A value under the machine's Run key only where only administrators can change the program file
// and the path to it; else under the user's own.
void AddToStartup();
// `stayingReported`: the values this user may not delete were reported already.
void RemoveFromStartup(bool stayingReported = false);
RegStuff::StartupEntry StartupState();
// Where a machine value (in either view) or a policy's starts this program, this user's own would
// start a second copy: it goes. Nothing else is written. Returns what Windows will start then.
RegStuff::StartupEntry DropSecondValue();
// Where this user's own value names the installed program in the other Program Files folder (or
// this one) and that file is gone, as after a switch between the 32-bit and the 64-bit package,
// it names this program instead. Run by Active Setup at logon; reports nothing.
void MendStartup();

}  // namespace mStartUp
