#include "startup_entry/reg_stuff.h"

#include <cmath>

#include "runtime/number_text.h"
#include "startup_entry/run_value.h"
#include "win/registry.h"
#include "win/win_handles.h"

namespace RegStuff {
namespace {

constexpr REGSAM kKeyRights = 0x3F;  // every key-specific right, no standard rights
HKEY machineRoot = HKEY_LOCAL_MACHINE;
const HKEY kUserRoot = HKEY_CURRENT_USER;

}  // namespace

void setMachineRoot(HKEY root) {
    machineRoot = root;
}

LSTATUS WriteValue(HKEY key, const std::wstring& name, DWORD type, const std::wstring& value) {
    if (type == REG_SZ) return win::writeString(key, name, value);
    if (type == REG_DWORD) {
        const double number = std::nearbyint(runtime::leadingNumber(value));
        if (!(number >= -2147483648.0 && number <= 2147483647.0)) return ERROR_INVALID_PARAMETER;
        const auto data = static_cast<DWORD>(static_cast<std::int32_t>(number));
        return RegSetValueExW(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                              sizeof data);
    }
    return ERROR_SUCCESS;
}

LSTATUS PutValue(HKEY root, const std::wstring& subkey, const std::wstring& name,
                 const std::wstring& value, DWORD type) {
    win::OwnedKey key;
    const LSTATUS status = RegOpenKeyExW(root, subkey.c_str(), 0, kKeyRights, key.receive());
    if (status != ERROR_SUCCESS) return status;
    return WriteValue(key.get(), name, type, value);
}

LSTATUS RemoveValue(HKEY root, const std::wstring& subkey, const std::wstring& name) {
    win::OwnedKey key;
    const LSTATUS status = RegOpenKeyExW(root, subkey.c_str(), 0, kKeyRights, key.receive());
    if (status != ERROR_SUCCESS) return status;
    return RegDeleteValueW(key.get(), name.c_str());
}

void AddRunEntry(const std::wstring& name, const std::wstring& data) {
    if (PutValue(machineRoot, startup_entry::kRunSubkey, name, data, REG_SZ) == ERROR_SUCCESS) {
        // Started from one place only: a value left by an earlier start as a standard user goes.
        RemoveValue(kUserRoot, startup_entry::kRunSubkey, name);
    } else {
        // The user's own Run key always exists for its owner; create it where it does not yet.
        win::OwnedKey key;
        if (RegCreateKeyExW(kUserRoot, startup_entry::kRunSubkey, 0, nullptr, 0, KEY_SET_VALUE,
                            nullptr, key.receive(), nullptr) == ERROR_SUCCESS)
            WriteValue(key.get(), name, REG_SZ, data);
    }
}

void RemoveRunEntry(const std::wstring& name) {
    RemoveValue(machineRoot, startup_entry::kRunSubkey, name);
    RemoveValue(kUserRoot, startup_entry::kRunSubkey, name);
}

}  // namespace RegStuff
