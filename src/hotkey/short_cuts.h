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

// Answers a press of the hotkey, whose message's second parameter carries its modifier flags and
// key: a press that is the user typing goes on to the program with the focus, any other locks.
void AnswerPress(LPARAM modifiersAndKey);

// Asks the system to lock the desk. A refusal is reported in a box; while that box is open a
// further refusal opens no second one.
void LockDesk();

// True when a hotkey message's first parameter is the id the hotkey was registered under.
bool IsOurHotkey(std::uintptr_t wParam);

// True when a system policy disables locking: DisableLockWorkstation set (a DWORD other than 0)
// under Software\Microsoft\Windows\CurrentVersion\Policies\System of the user or the machine.
bool LockingDisabledByPolicy();

}  // namespace ShortCuts
