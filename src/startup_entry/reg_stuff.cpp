#include "startup_entry/reg_stuff.h"

#include "runtime/run_error.h"
#include "startup_entry/run_value.h"
#include "win/registry.h"
#include "win/system_text.h"
#include "win/win_handles.h"

namespace RegStuff {
namespace {

using startup_entry::kRunSubkey;

HKEY machineRoot = HKEY_LOCAL_MACHINE;
HKEY userRoot = HKEY_CURRENT_USER;

MachineView detectedView() {
    BOOL wow64 = FALSE;
    return IsWow64Process(GetCurrentProcess(), &wow64) && wow64 ? MachineView::wow64
                                                                : MachineView::native;
}
MachineView machineView = detectedView();

// One hive's keys: its Run key in the program's view; its marks and policies, which a 32-bit
// program reaches in the 64-bit view.
struct Hive {
    HKEY root;
    const wchar_t* marks;
    const wchar_t* policy;  // the DWORD that switches this Run key off
};
Hive userHive() {
    return {userRoot, startup_entry::kMarksRun, L"DisableCurrentUserRun"};
}
Hive machineHive() {
    return {
        machineRoot,
        machineView == MachineView::wow64 ? startup_entry::kMarksRun32 : startup_entry::kMarksRun,
        L"DisableLocalMachineRun"};
}

// Opening for KEY_SET_VALUE is what deleting a value of the key needs; nothing changes here.
bool mayChange(HKEY root, const wchar_t* subkey, REGSAM view) {
    win::OwnedKey key;
    return RegOpenKeyExW(root, subkey, 0, KEY_SET_VALUE | view, key.receive()) == ERROR_SUCCESS;
}

// Either hive's policies may switch either Run key off.
bool policySwitchesOff(const Hive& hive) {
    for (const HKEY root : {machineRoot, userRoot}) {
        win::OwnedKey key;
        DWORD off = 0;
        if (RegOpenKeyExW(root, startup_entry::kExplorerPolicies, 0,
                          KEY_QUERY_VALUE | KEY_WOW64_64KEY, key.receive()) == ERROR_SUCCESS &&
            win::readDword(key.get(), hive.policy, off) == ERROR_SUCCESS && off != 0)
            return true;
    }
    return false;
}

RunPlace readPlace(const Hive& hive, const std::wstring& name, const std::wstring& programPath) {
    RunPlace place;
    win::OwnedKey run, marks;
    if (RegOpenKeyExW(hive.root, kRunSubkey, 0, KEY_QUERY_VALUE, run.receive()) == ERROR_SUCCESS) {
        if (auto data = win::readString(run.get(), nullptr, name)) {
            place.data = *data;
            const std::wstring_view path = startup_entry::runValuePath(*data);
            place.names = CompareStringOrdinal(
                              path.data(), static_cast<int>(path.size()), programPath.c_str(),
                              static_cast<int>(programPath.size()), TRUE) == CSTR_EQUAL;
        }
    }
    place.removable = mayChange(hive.root, kRunSubkey, 0);
    place.listRuns = !policySwitchesOff(hive);
    if (RegOpenKeyExW(hive.root, hive.marks, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY,
                      marks.receive()) == ERROR_SUCCESS)
        place.markedOff = startup_entry::markDisables(win::readBytes(marks.get(), name));
    place.markRemovable = mayChange(hive.root, hive.marks, KEY_WOW64_64KEY);
    return place;
}

// True only when the Run key under `root` can be read and holds no value `name`; a key that cannot
// be read may still hold it.
bool valueMissing(HKEY root, const std::wstring& name) {
    win::OwnedKey key;
    LSTATUS status = RegOpenKeyExW(root, kRunSubkey, 0, KEY_QUERY_VALUE, key.receive());
    if (status == ERROR_SUCCESS) status = win::findValue(key.get(), name);
    return status == ERROR_FILE_NOT_FOUND;
}

// Opens the Run key under `root`, writes one text value, closes it; returns the registry's status.
LSTATUS PutValue(HKEY root, const std::wstring& name, const std::wstring& value) {
    win::OwnedKey key;
    const LSTATUS status = RegOpenKeyExW(root, kRunSubkey, 0, KEY_SET_VALUE, key.receive());
    if (status != ERROR_SUCCESS) return status;
    return win::writeString(key.get(), name, value);
}

// Opens the Run key under `root`, deletes one value, closes it; returns the registry's status,
// ERROR_SUCCESS when the value is gone or never was.
LSTATUS RemoveValue(HKEY root, const std::wstring& name) {
    win::OwnedKey key;
    LSTATUS status = RegOpenKeyExW(root, kRunSubkey, 0, KEY_SET_VALUE, key.receive());
    if (status == ERROR_SUCCESS) status = RegDeleteValueW(key.get(), name.c_str());
    // A standard user may not delete under the machine-wide key, yet it rarely holds the value.
    if (status != ERROR_SUCCESS && valueMissing(root, name)) return ERROR_SUCCESS;
    return status;
}

// Deletes the start-up mark `name` of a hive: the value it pairs with is then enabled.
LSTATUS RemoveMark(const Hive& hive, const std::wstring& name) {
    win::OwnedKey key;
    LSTATUS status =
        RegOpenKeyExW(hive.root, hive.marks, 0, KEY_SET_VALUE | KEY_WOW64_64KEY, key.receive());
    if (status == ERROR_SUCCESS) status = RegDeleteValueW(key.get(), name.c_str());
    return status == ERROR_FILE_NOT_FOUND ? ERROR_SUCCESS : status;
}

[[noreturn]] void raise(const std::wstring& name, const wchar_t* what, const std::wstring& why) {
    throw runtime::Error(runtime::kPathFileAccess, L"The start-up entry \"" + name +
                                                       L"\" could not be " + what + L". " + why);
}
[[noreturn]] void raise(const std::wstring& name, const wchar_t* what, LSTATUS status) {
    raise(name, what, win::systemErrorText(static_cast<unsigned long>(status)));
}

}  // namespace

void setMachineRoot(HKEY root) {
    machineRoot = root;
}

void setUserRoot(HKEY root) {
    userRoot = root;
}

void setMachineView(MachineView view) {
    machineView = view;
}

StartupEntry ReadStartup(const std::wstring& name, const std::wstring& programPath) {
    return {readPlace(userHive(), name, programPath), readPlace(machineHive(), name, programPath)};
}

void AddRunEntry(const std::wstring& name, const std::wstring& programPath, bool machineAllowed) {
    const StartupEntry now = ReadStartup(name, programPath);
    const RunPlace& machine = now.machine;
    // Started from one place only: the user's value goes where the machine's starts the program.
    if (machine.starts() && (machineAllowed || !machine.removable)) return RemoveUserValue(name);
    const std::wstring data = startup_entry::runValueData(programPath);
    if (machineAllowed && machine.listRuns && (!machine.markedOff || machine.markRemovable) &&
        PutValue(machineRoot, name, data) == ERROR_SUCCESS &&
        (!machine.markedOff || RemoveMark(machineHive(), name) == ERROR_SUCCESS))
        return RemoveUserValue(name);
    if (!now.user.listRuns)
        raise(name, L"written",
              L"A policy lets Windows start no program from this user's own start-up list, and "
              L"only a program file that only administrators can change may start for all users.");
    // The user's own Run key always exists for its owner; create it where it does not yet.
    LSTATUS status = win::createAndWriteString(userRoot, kRunSubkey, name, data);
    if (status == ERROR_SUCCESS && now.user.markedOff) status = RemoveMark(userHive(), name);
    if (status != ERROR_SUCCESS) raise(name, L"written", status);
    // A machine value for a file that others can change is moved here, where it starts for this
    // user only.
    if (!machineAllowed && machine.names && machine.removable) RemoveValue(machineRoot, name);
}

void RemoveRunEntry(const std::wstring& name, const std::wstring& programPath,
                    bool machineReported) {
    const StartupEntry now = ReadStartup(name, programPath);
    const LSTATUS user = RemoveValue(userRoot, name);
    LSTATUS machine = ERROR_SUCCESS;
    if (now.machine.names && now.machine.removable)
        machine = RemoveValue(machineRoot, name);
    else if (now.machine.starts() && !machineReported)
        machine = ERROR_ACCESS_DENIED;  // an administrator's, for every user
    if (machine != ERROR_SUCCESS) raise(name, L"removed", machine);
    if (user != ERROR_SUCCESS) raise(name, L"removed", user);
}

void RemoveUserValue(const std::wstring& name) {
    RemoveValue(userRoot, name);
}

}  // namespace RegStuff
