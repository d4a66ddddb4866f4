#include "startup_entry/reg_stuff.h"

#include "runtime/run_error.h"
#include "startup_entry/run_value.h"
#include "win/registry.h"
#include "win/system_text.h"
#include "win/win_handles.h"

namespace RegStuff {
namespace {

HKEY machineRoot = HKEY_LOCAL_MACHINE;
HKEY userRoot = HKEY_CURRENT_USER;

// True only when the Run key under `root` can be read and holds no value `name`; a key that cannot
// be read may still hold it.
bool valueMissing(HKEY root, const std::wstring& name) {
    win::OwnedKey key;
    LSTATUS status =
        RegOpenKeyExW(root, startup_entry::kRunSubkey, 0, KEY_QUERY_VALUE, key.receive());
    if (status == ERROR_SUCCESS) status = win::findValue(key.get(), name);
    return status == ERROR_FILE_NOT_FOUND;
}

// Opens the Run key under `root`, writes one text value, closes it; returns the registry's status.
LSTATUS PutValue(HKEY root, const std::wstring& name, const std::wstring& value) {
    win::OwnedKey key;
    const LSTATUS status =
        RegOpenKeyExW(root, startup_entry::kRunSubkey, 0, KEY_SET_VALUE, key.receive());
    if (status != ERROR_SUCCESS) return status;
    return win::writeString(key.get(), name, value);
}

// Opens the Run key under `root`, deletes one value, closes it; returns the registry's status,
// ERROR_SUCCESS when the value is gone or never was.
LSTATUS RemoveValue(HKEY root, const std::wstring& name) {
    win::OwnedKey key;
    LSTATUS status =
        RegOpenKeyExW(root, startup_entry::kRunSubkey, 0, KEY_SET_VALUE, key.receive());
    if (status == ERROR_SUCCESS) status = RegDeleteValueW(key.get(), name.c_str());
    // A standard user may not delete under the machine-wide key, yet it rarely holds the value.
    if (status != ERROR_SUCCESS && valueMissing(root, name)) return ERROR_SUCCESS;
    return status;
}

[[noreturn]] void raise(const std::wstring& name, const wchar_t* what, LSTATUS status) {
    throw runtime::Error(runtime::kPathFileAccess,
                         L"The start-up entry \"" + name + L"\" could not be " + what + L". " +
                             win::systemErrorText(static_cast<unsigned long>(status)));
}

}  // namespace

void setMachineRoot(HKEY root) {
    machineRoot = root;
}

void setUserRoot(HKEY root) {
    userRoot = root;
}

void AddRunEntry(const std::wstring& name, const std::wstring& data) {
    if (PutValue(machineRoot, name, data) == ERROR_SUCCESS) {
        // Started from one place only: a value left by an earlier start as a standard user goes.
        RemoveValue(userRoot, name);
        return;
    }
    // The user's own Run key always exists for its owner; create it where it does not yet.
    const LSTATUS status =
        win::createAndWriteString(userRoot, startup_entry::kRunSubkey, name, data);
    if (status != ERROR_SUCCESS) raise(name, L"written", status);
}

void RemoveRunEntry(const std::wstring& name) {
    const LSTATUS machine = RemoveValue(machineRoot, name);
    const LSTATUS user = RemoveValue(userRoot, name);
    if (machine != ERROR_SUCCESS) raise(name, L"removed", machine);
    if (user != ERROR_SUCCESS) raise(name, L"removed", user);
}

}  // namespace RegStuff
