#include "startup_entry/reg_stuff.h"

#include <cmath>

#include "runtime/number_text.h"
#include "startup_entry/run_value.h"

namespace RegStuff {
namespace {

constexpr REGSAM kKeyRights = 0x3F;  // every key-specific right, no standard rights
HKEY machineRoot = HKEY_LOCAL_MACHINE;
const HKEY kUserRoot = HKEY_CURRENT_USER;

}  // namespace

void setMachineRoot(HKEY root) { machineRoot = root; }

LSTATUS WriteValue(HKEY key, const std::wstring& name, DWORD type, const std::wstring& value) {
    if (type == REG_SZ) {
        return RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                              static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    }
    if (type == REG_DWORD) {
        const double number = std::nearbyint(runtime::leadingNumber(value));
        if (!(number >= -2147483648.0 && number <= 2147483647.0)) return ERROR_INVALID_PARAMETER;
        const auto data = static_cast<DWORD>(static_cast<std::int32_t>(number));
        return RegSetValueExW(key, name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
    }
    return ERROR_SUCCESS;
}

LSTATUS PutValue(HKEY root, const std::wstring& subkey, const std::wstring& name, const std::wstring& value,
                 DWORD type) {
    HKEY key = nullptr;
    LSTATUS status = RegOpenKeyExW(root, subkey.c_str(), 0, kKeyRights, &key);
    if (status != ERROR_SUCCESS) return status;
    status = WriteValue(key, name, type, value);
    RegCloseKey(key);
    return status;
}

LSTATUS RemoveValue(HKEY root, const std::wstring& subkey, const std::wstring& name) {
    HKEY key = nullptr;
    LSTATUS status = RegOpenKeyExW(root, subkey.c_str(), 0, kKeyRights, &key);
    if (status != ERROR_SUCCESS) return status;
    status = RegDeleteValueW(key, name.c_str());
    RegCloseKey(key);
    return status;
}

void AddRunEntry(const std::wstring& name, const std::wstring& data) {
    if (PutValue(machineRoot, startup_entry::kRunSubkey, name, data, REG_SZ) == ERROR_SUCCESS) {
        // Started from one place only: a value left by an earlier start as a standard user goes.
        RemoveValue(kUserRoot, startup_entry::kRunSubkey, name);
    } else {
        // The user's own Run key always exists for its owner; create it where it does not yet.
        HKEY key = nullptr;
        if (RegCreateKeyExW(kUserRoot, startup_entry::kRunSubkey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                            nullptr) == ERROR_SUCCESS) {
            WriteValue(key, name, REG_SZ, data);
            RegCloseKey(key);
        }
    }
}

void RemoveRunEntry(const std::wstring& name) {
    RemoveValue(machineRoot, startup_entry::kRunSubkey, name);
    RemoveValue(kUserRoot, startup_entry::kRunSubkey, name);
}

}  // namespace RegStuff
