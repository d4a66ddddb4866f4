#pragma once
// The program's values under the Run keys, what Windows makes of them at logon, and writing and
// deleting them.
#include <windows.h>

#include <string>

namespace RegStuff {

// One Run key (the user's, or the machine's in the program's view) as it stands for this program.
struct RunPlace {
    bool names = false;          // it holds the value `name`, and that starts this program file
    std::wstring data;           // that value's text, as stored
    bool listRuns = true;        // no policy keeps Windows from processing this Run key
    bool markedOff = false;      // the start-up mark of `name` paired with this Run key disables it
    bool removable = false;      // this user may delete values of this Run key
    bool markRemovable = false;  // ... and of its marks
    bool starts() const { return names && listRuns && !markedOff; }
};

struct StartupEntry {
    RunPlace user, machine;
    // Whether Windows starts the program for this user at the next logon.
    bool startsAtLogon() const { return user.starts() || machine.starts(); }
    // An administrator's machine-wide value starts it, and this user may not delete that value.
    bool setForAllUsers() const { return machine.starts() && !machine.removable; }
    // Policy lets Windows process neither Run key: nothing can make the program start.
    bool noRunListRuns() const { return !user.listRuns && !machine.listRuns; }
};

// Reads both Run keys, their marks and the policies for the value `name` of `programPath`.
StartupEntry ReadStartup(const std::wstring& name, const std::wstring& programPath);

// Makes Windows start `programPath` at logon under the value `name`. Machine-wide only where
// `machineAllowed` (only administrators can change the file), the machine's Run key runs and takes
// the value, and a mark that disables it can be deleted; the same-named value of the user's own
// Run key then goes. Otherwise the user's own value, its disabling mark deleted; a machine value
// of this program that this user may delete moves there. A mark is never written: no mark means
// enabled. Where no value can be made to start, raises a run-time error with the reason.
void AddRunEntry(const std::wstring& name, const std::wstring& programPath, bool machineAllowed);
// Deletes the user's value `name`, and the machine's where it starts this program and this user
// may delete it. Where a value that starts the program stays, raises a run-time error with the
// system's reason, except for a machine value whose refusal `machineReported` says was reported
// already; a value that is not there is no error.
void RemoveRunEntry(const std::wstring& name, const std::wstring& programPath,
                    bool machineReported);
// Deletes the user's own value `name` only; a refusal is left unreported.
void RemoveUserValue(const std::wstring& name);

// The machine-wide and the user's roots (HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER unless
// changed): the Run keys, their marks and the run-list policies are read under them. Tests point
// them at keys of their own, or at a handle that refuses everything.
void setMachineRoot(HKEY root);
void setUserRoot(HKEY root);
// Where the machine's value of this program lies: the system's own view, or the 32-bit view of a
// 32-bit program on 64-bit Windows, whose marks are kept under "Run32". Detected unless a test
// sets it.
enum class MachineView { native, wow64 };
void setMachineView(MachineView view);

}  // namespace RegStuff
