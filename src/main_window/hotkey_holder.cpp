// Who holds a combination that the system refused to register.
#include <windows.h>

#include "main_window/form1.h"

// The program's window in another process: a copy of this program started earlier (at logon,
// say). Only a copy with the same stored choice holds this very combination, and a second start
// reads the same settings, so the copy is named as its holder.
main_window::Holder Form1::HolderOf(unsigned long error) {
    if (error != ERROR_HOTKEY_ALREADY_REGISTERED) return main_window::Holder::kUnknown;
    return formOfAnotherProcess() ? main_window::Holder::kRunningCopy
                                  : main_window::Holder::kAnotherProgram;
}
