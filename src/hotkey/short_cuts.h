#pragma once
// The hotkey wait loop and the state it shares with the binding tick and the list handlers.
#include <windows.h>

#include <cstdint>

namespace ShortCuts {

// Raised by the list handlers to make the wait loop return so the tick binds the new choice;
// lowered by the tick before it binds.
extern bool stopFlag;
// The global atom for "A00F1": the id the hotkey is registered under.
extern std::int32_t hotkeyId;

// Waits for messages, locks the desk on each hotkey message to `mainWindow` carrying the hotkey
// id, and pumps everything else, until the stop flag is raised.
void ProcessMessages(HWND mainWindow);

}  // namespace ShortCuts
