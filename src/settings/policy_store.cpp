#include "settings/policy_store.h"

#include <windows.h>

#include <utility>

#include "win/registry.h"
#include "win/win_handles.h"

namespace settings {
namespace {

HKEY policyRoot = HKEY_LOCAL_MACHINE;

}  // namespace

HKEY setPolicyRoot(HKEY root) {
    return std::exchange(policyRoot, root);
}

std::optional<std::wstring> policySetting(std::wstring_view key) {
    win::OwnedKey policy;
    if (RegOpenKeyExW(policyRoot, kPolicyKey, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY,
                      policy.receive()) != ERROR_SUCCESS)
        return std::nullopt;
    const std::wstring name(key);
    if (auto text = win::readString(policy.get(), nullptr, name)) return text;
    DWORD number = 0;
    const LSTATUS status = win::readDword(policy.get(), name, number);
    if (status == ERROR_SUCCESS) return std::to_wstring(number);
    // A value of another type is set, yet names no choice: it is reported, not taken as absent.
    if (status == ERROR_FILE_NOT_FOUND) return std::nullopt;
    return std::wstring(L"?");
}

}  // namespace settings
