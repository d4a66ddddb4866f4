#include "startup_entry/reg_stuff.h"

#include <array>
#include <optional>
#include <utility>

#include "runtime/run_error.h"
#include "startup_entry/run_value.h"
#include "win/registry.h"
#include "win/system_text.h"
#include "win/win_handles.h"

namespace RegStuff {
namespace {

using startup_entry::kRunSubkey;

bool on64BitWindows() {
    BOOL wow64 = FALSE;
    return sizeof(void*) == 8 || (IsWow64Process(GetCurrentProcess(), &wow64) && wow64);
}
// By MachineView; the 32-bit view exists on 64-bit Windows only.
HKEY machineRoots[2] = {HKEY_LOCAL_MACHINE, on64BitWindows() ? HKEY_LOCAL_MACHINE : nullptr};
HKEY userRoot = HKEY_CURRENT_USER;
MachineView ownView =
    sizeof(void*) == 4 && on64BitWindows() ? MachineView::wow64 : MachineView::native;

HKEY machineRoot(MachineView view) {
    return machineRoots[view == MachineView::wow64];
}

// One Run key: where it lies, and where its marks are, which are kept in the 64-bit view.
struct Hive {
    HKEY root;
    REGSAM view;
    HKEY marksRoot;
    const wchar_t* marks;
    const wchar_t* policy;  // the DWORD that switches this Run key off
};
Hive userHive() {
    return {userRoot, 0, userRoot, startup_entry::kMarksRun, L"DisableCurrentUserRun"};
}
Hive machineHive(MachineView view) {
    const bool wow64 = view == MachineView::wow64;
    return {machineRoot(view), REGSAM(wow64 ? KEY_WOW64_32KEY : KEY_WOW64_64KEY),
            machineRoot(MachineView::native),
            wow64 ? startup_entry::kMarksRun32 : startup_entry::kMarksRun,
            L"DisableLocalMachineRun"};
}

// Opening for KEY_SET_VALUE is what deleting a value of the key needs; nothing changes here.
bool mayChange(HKEY root, const wchar_t* subkey, REGSAM view) {
    win::OwnedKey key;
    return RegOpenKeyExW(root, subkey, 0, KEY_SET_VALUE | view, key.receive()) == ERROR_SUCCESS;
}

// Paths compared as the file system compares names: ordinal, any case.
bool samePath(std::wstring_view a, const std::wstring& b) {
    return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.c_str(),
                                static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

// Whether Windows starts `programPath` from a command line: one longer than Windows runs starts
// nothing.
bool startsProgram(const std::wstring& data, const std::wstring& programPath) {
    return data.size() <= startup_entry::kMaxRunCommand &&
           samePath(startup_entry::runValuePath(data), programPath);
}

// The keys Windows reads beside the Run keys: the machine's in the 64-bit view.
std::array<HKEY, 2> policyRoots() {
    return {machineRoot(MachineView::native), userRoot};
}

// Either hive's policies may switch either Run key off.
bool policySwitchesOff(const Hive& hive) {
    for (const HKEY root : policyRoots()) {
        win::OwnedKey key;
        DWORD off = 0;
        if (RegOpenKeyExW(root, startup_entry::kExplorerPolicies, 0,
                          KEY_QUERY_VALUE | KEY_WOW64_64KEY, key.receive()) == ERROR_SUCCESS &&
            win::readDword(key.get(), hive.policy, off) == ERROR_SUCCESS && off != 0)
            return true;
    }
    return false;
}

// The first value of either hive's policy Run list that starts `programPath`. Group Policy names
// them "1", "2", ...; every value is read.
bool policyRuns(const std::wstring& programPath, std::wstring& data) {
    for (const HKEY root : policyRoots()) {
        win::OwnedKey key;
        if (RegOpenKeyExW(root, startup_entry::kPolicyRun, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY,
                          key.receive()) != ERROR_SUCCESS)
            continue;
        for (std::wstring& text : win::readStrings(key.get()))
            if (startsProgram(text, programPath)) {
                data = std::move(text);
                return true;
            }
    }
    return false;
}

RunPlace readPlace(const Hive& hive, const std::wstring& name, const std::wstring& programPath) {
    RunPlace place;
    if (!hive.root) return place;  // no such view
    win::OwnedKey run, marks;
    if (RegOpenKeyExW(hive.root, kRunSubkey, 0, KEY_QUERY_VALUE | hive.view, run.receive()) ==
        ERROR_SUCCESS) {
        if (auto data = win::readString(run.get(), nullptr, name)) {
            place.data = *data;
            place.names = startsProgram(*data, programPath);
        }
    }
    place.removable = mayChange(hive.root, kRunSubkey, hive.view);
    place.listRuns = !policySwitchesOff(hive);
    if (RegOpenKeyExW(hive.marksRoot, hive.marks, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY,
                      marks.receive()) == ERROR_SUCCESS)
        place.markedOff = startup_entry::markDisables(win::readBytes(marks.get(), name));
    place.marksWritable = mayChange(hive.marksRoot, hive.marks, KEY_WOW64_64KEY);
    return place;
}

// True only when the Run key can be read and holds no value `name`; a key that cannot be read may
// still hold it.
bool valueMissing(const Hive& hive, const std::wstring& name) {
    win::OwnedKey key;
    LSTATUS status =
        RegOpenKeyExW(hive.root, kRunSubkey, 0, KEY_QUERY_VALUE | hive.view, key.receive());
    if (status == ERROR_SUCCESS) status = win::findValue(key.get(), name);
    return status == ERROR_FILE_NOT_FOUND;
}

// Opens a Run key, writes one text value, closes it; returns the registry's status.
LSTATUS PutValue(const Hive& hive, const std::wstring& name, const std::wstring& value) {
    win::OwnedKey key;
    const LSTATUS status =
        RegOpenKeyExW(hive.root, kRunSubkey, 0, KEY_SET_VALUE | hive.view, key.receive());
    if (status != ERROR_SUCCESS) return status;
    return win::writeString(key.get(), name, value);
}

// Opens a Run key, deletes one value, closes it; returns the registry's status, ERROR_SUCCESS
// when the value is gone or never was.
LSTATUS RemoveValue(const Hive& hive, const std::wstring& name) {
    win::OwnedKey key;
    LSTATUS status =
        RegOpenKeyExW(hive.root, kRunSubkey, 0, KEY_SET_VALUE | hive.view, key.receive());
    if (status == ERROR_SUCCESS) status = RegDeleteValueW(key.get(), name.c_str());
    // A standard user may not delete under the machine-wide key, yet it rarely holds the value.
    if (status != ERROR_SUCCESS && valueMissing(hive, name)) return ERROR_SUCCESS;
    return status;
}

// Overwrites the disabling start-up mark `name` of a Run key with the enabled form. Deleting it
// would do where a missing mark reads as enabled, which observers of Windows 11 dispute for the
// 32-bit view.
LSTATUS EnableMark(const Hive& hive, const std::wstring& name) {
    win::OwnedKey key;
    const LSTATUS status = RegOpenKeyExW(hive.marksRoot, hive.marks, 0,
                                         KEY_SET_VALUE | KEY_WOW64_64KEY, key.receive());
    if (status != ERROR_SUCCESS) return status;
    return win::writeBytes(key.get(), name, startup_entry::kEnabledMark);
}

[[noreturn]] void raise(const std::wstring& name, const wchar_t* what, const std::wstring& why) {
    throw runtime::Error(runtime::kPathFileAccess, L"The start-up entry \"" + name +
                                                       L"\" could not be " + what + L". " + why);
}
[[noreturn]] void raise(const std::wstring& name, const wchar_t* what, LSTATUS status) {
    raise(name, what, win::systemErrorText(static_cast<unsigned long>(status)));
}

constexpr MachineView kViews[] = {MachineView::native, MachineView::wow64};

}  // namespace

std::wstring StartupEntry::staying() const {
    std::wstring texts;
    auto add = [&](const std::wstring& text) { texts += (texts.empty() ? L"" : L"\n") + text; };
    for (const MachineView view : kViews)
        if (place(view).stays()) add(place(view).data);
    if (byPolicy) add(policyData);
    return texts;
}

MachineRoots setMachineRoot(HKEY root) {
    return {setMachineRoot(MachineView::native, root),
            setMachineRoot(MachineView::wow64, on64BitWindows() ? root : nullptr)};
}

HKEY setMachineRoot(MachineView view, HKEY root) {
    return std::exchange(machineRoots[view == MachineView::wow64], root);
}

HKEY setUserRoot(HKEY root) {
    return std::exchange(userRoot, root);
}

MachineView setMachineView(MachineView view) {
    return std::exchange(ownView, view);
}

StartupEntry ReadStartup(const std::wstring& name, const std::wstring& programPath) {
    StartupEntry entry;
    entry.user = readPlace(userHive(), name, programPath);
    entry.machine = readPlace(machineHive(MachineView::native), name, programPath);
    entry.machine32 = readPlace(machineHive(MachineView::wow64), name, programPath);
    entry.byPolicy = policyRuns(programPath, entry.policyData);
    return entry;
}

void AddRunEntry(const std::wstring& name, const std::wstring& programPath, bool machineAllowed) {
    const StartupEntry now = ReadStartup(name, programPath);
    // Started from one place only: the user's value goes where a policy's or the machine's starts
    // the program.
    if (now.byPolicy) return RemoveUserValue(name);
    for (const MachineView view : kViews)
        if (now.place(view).starts() && (machineAllowed || !now.place(view).removable))
            return RemoveUserValue(name);
    const std::wstring data = startup_entry::runValueData(programPath);
    if (data.size() > startup_entry::kMaxRunCommand)
        raise(name, L"written",
              L"The program's path is too long for Windows to start it at logon.");
    const RunPlace& machine = now.place(ownView);
    const Hive hive = machineHive(ownView);
    if (machineAllowed && hive.root && machine.listRuns &&
        (!machine.markedOff || machine.marksWritable) &&
        PutValue(hive, name, data) == ERROR_SUCCESS &&
        (!machine.markedOff || EnableMark(hive, name) == ERROR_SUCCESS))
        return RemoveUserValue(name);
    if (!now.user.listRuns)
        raise(name, L"written",
              L"A policy lets Windows start no program from this user's own start-up list, and "
              L"only a program file that only administrators can change may start for all users.");
    // The user's own Run key always exists for its owner; create it where it does not yet.
    LSTATUS status = win::createAndWriteString(userRoot, kRunSubkey, name, data);
    if (status == ERROR_SUCCESS && now.user.markedOff) status = EnableMark(userHive(), name);
    if (status != ERROR_SUCCESS) raise(name, L"written", status);
    // A machine value for a file that others can change is moved here, where it starts for this
    // user only.
    if (!machineAllowed)
        for (const MachineView view : kViews)
            if (now.place(view).names && now.place(view).removable)
                RemoveValue(machineHive(view), name);
}

void RemoveRunEntry(const std::wstring& name, const std::wstring& programPath,
                    bool stayingReported) {
    const StartupEntry now = ReadStartup(name, programPath);
    const LSTATUS user = RemoveValue(userHive(), name);
    LSTATUS machine = ERROR_SUCCESS;
    for (const MachineView view : kViews) {
        const RunPlace& place = now.place(view);
        LSTATUS status = ERROR_SUCCESS;
        if (place.names && place.removable)
            status = RemoveValue(machineHive(view), name);
        else if (place.starts() && !stayingReported)
            status = ERROR_ACCESS_DENIED;  // an administrator's, for every user
        if (machine == ERROR_SUCCESS) machine = status;
    }
    if (machine != ERROR_SUCCESS) raise(name, L"removed", machine);
    if (user != ERROR_SUCCESS) raise(name, L"removed", user);
    if (now.byPolicy && !stayingReported)
        raise(name, L"removed",
              L"The policy \"Run these programs at user logon\" starts this program, and only an "
              L"administrator can change it.");
}

bool MendUserValue(const std::wstring& name, const std::wstring& programPath,
                   const std::vector<std::wstring>& installedPaths) {
    win::OwnedKey key;
    if (RegOpenKeyExW(userRoot, kRunSubkey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, key.receive()) !=
        ERROR_SUCCESS)
        return false;
    const std::optional<std::wstring> data = win::readString(key.get(), nullptr, name);
    if (!data) return false;
    const std::wstring path(startup_entry::runValuePath(*data));
    bool installed = false;
    for (const std::wstring& candidate : installedPaths)
        installed = installed || samePath(path, candidate);
    if (!installed || GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES) return false;
    // Only a file that is known to be gone: a denied or failing look tells nothing.
    const DWORD why = GetLastError();
    if (why != ERROR_FILE_NOT_FOUND && why != ERROR_PATH_NOT_FOUND) return false;
    const std::wstring fresh = startup_entry::runValueData(programPath);
    return fresh.size() <= startup_entry::kMaxRunCommand &&
           win::writeString(key.get(), name, fresh) == ERROR_SUCCESS;
}

void RemoveUserValue(const std::wstring& name) {
    RemoveValue(userHive(), name);
}

}  // namespace RegStuff
