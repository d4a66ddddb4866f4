#pragma once
// The program's values under the Run keys, what Windows makes of them at logon, and writing and
// deleting them.
#include <windows.h>

#include <string>
#include <vector>

namespace RegStuff {

// One Run key (the user's, or the machine's in one registry view) as it stands for this program.
struct RunPlace {
    bool names = false;          // it holds the value `name`, and that starts this program file
    std::wstring data;           // that value's text, as stored
    bool listRuns = true;        // no policy keeps Windows from processing this Run key
    bool markedOff = false;      // the start-up mark of `name` paired with this Run key disables it
    bool removable = false;      // this user may delete values of this Run key
    bool marksWritable = false;  // ... and change its marks
    bool starts() const { return names && listRuns && !markedOff; }
    // It starts the program, and this user may not delete it: an administrator's, for all users.
    bool stays() const { return starts() && !removable; }
};

// On 64-bit Windows the machine has two Run keys, one per registry view, and Windows runs both:
// the system's own (`native`, the only one on 32-bit Windows) and the 32-bit view (`wow64`,
// under WOW6432Node), whose marks are kept under "Run32".
enum class MachineView { native, wow64 };

struct StartupEntry {
    RunPlace user, machine, machine32;  // machine32: the 32-bit view of 64-bit Windows
    // A value of a policy's Run list ("Run these programs at user logon", either hive) names this
    // program file. The program never writes there.
    bool byPolicy = false;
    std::wstring policyData;  // that value's text
    bool machineStarts() const { return machine.starts() || machine32.starts(); }
    // Whether Windows starts the program for this user at the next logon.
    bool startsAtLogon() const { return byPolicy || user.starts() || machineStarts(); }
    // An administrator's machine-wide value starts it, and this user may not delete that value.
    bool setForAllUsers() const { return machine.stays() || machine32.stays(); }
    // Policy lets Windows process neither Run key: nothing can make the program start.
    bool noRunListRuns() const { return !user.listRuns && !machine.listRuns; }
    // The texts of the values that start the program and that this user cannot delete, one to a
    // line; empty where there are none.
    std::wstring staying() const;
    const RunPlace& place(MachineView view) const {
        return view == MachineView::wow64 ? machine32 : machine;
    }
};

// Reads the Run keys, their marks, the policies' Run lists and the run-list policies for the
// value `name` of `programPath`. A command line longer than Windows runs starts nothing.
StartupEntry ReadStartup(const std::wstring& name, const std::wstring& programPath);

// Makes Windows start `programPath` at logon under the value `name`. Machine-wide (in the
// program's own view) only where `machineAllowed` (only administrators can change the file), the
// machine's Run key runs and takes the value, and a mark that disables it can be changed; the
// same-named value of the user's own Run key then goes. Otherwise the user's own value; a machine
// value of this program that this user may delete, in either view, moves there. A mark that
// disables the value written is overwritten with the enabled form rather than deleted, as some
// Windows versions may read a missing mark of the 32-bit view as disabled; where there is no mark
// none is written. Where no value can be made to start, or the command line would be too long for
// Windows to run, raises a run-time error with the reason.
void AddRunEntry(const std::wstring& name, const std::wstring& programPath, bool machineAllowed);
// Deletes the user's value `name`, and the machine's in each view where it names this program and
// this user may delete it. Where a value that starts the program stays (a machine value, a
// policy's), raises a run-time error with the reason, unless `stayingReported` says it was
// reported already; a value that is not there is no error.
void RemoveRunEntry(const std::wstring& name, const std::wstring& programPath,
                    bool stayingReported);
// Where this user's own value `name` starts one of `installedPaths` (compared as startsProgram
// does, unquoted) and that file is gone, points the value at `programPath`, quoted: the copy an
// installer replaced by one in the other Program Files folder. Any other value is left alone,
// one naming a copy that exists and one elsewhere, on a drive that may not be mapped yet. Reports
// nothing; returns whether the value was rewritten.
bool MendUserValue(const std::wstring& name, const std::wstring& programPath,
                   const std::vector<std::wstring>& installedPaths);
// Deletes the user's own value `name` only; a refusal is left unreported.
void RemoveUserValue(const std::wstring& name);

// The machine-wide and the user's roots (HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER unless
// changed): the Run keys, their marks and the policies are read under them. Tests point them at
// keys of their own, or at a handle that refuses everything. The one-argument form sets every
// view this system has; a view's own root is for tests, whose keys WOW64 does not redirect (null:
// no such view, as on 32-bit Windows). Each returns what it replaced.
struct MachineRoots {
    HKEY native, wow64;
};
MachineRoots setMachineRoot(HKEY root);
HKEY setMachineRoot(MachineView view, HKEY root);
HKEY setUserRoot(HKEY root);
// The program's own view, where it writes the machine's value: the 32-bit one for a 32-bit
// program on 64-bit Windows. Detected unless a test sets it; returns the view it replaced.
MachineView setMachineView(MachineView view);

}  // namespace RegStuff
