#include "settings/policy_store.h"

#include <windows.h>

#include "win/win_handles.h"

namespace settings {

std::optional<std::wstring> policySetting(std::wstring_view key) {
    win::OwnedKey policy;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kPolicyKey, 0, KEY_QUERY_VALUE | KEY_WOW64_64KEY,
                      policy.receive()) != ERROR_SUCCESS)
        return std::nullopt;
    const std::wstring name(key);
    DWORD type = 0, bytes = 0;
    if (RegQueryValueExW(policy.get(), name.c_str(), nullptr, &type, nullptr, &bytes) !=
        ERROR_SUCCESS)
        return std::nullopt;
    if (type == REG_DWORD) {
        DWORD number = 0;
        bytes = sizeof number;
        if (RegGetValueW(policy.get(), nullptr, name.c_str(), RRF_RT_REG_DWORD, nullptr, &number,
                         &bytes) != ERROR_SUCCESS)
            return std::wstring(L"?");
        return std::to_wstring(number);
    }
    std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (type != REG_SZ || RegGetValueW(policy.get(), nullptr, name.c_str(), RRF_RT_REG_SZ, nullptr,
                                       text.data(), &bytes) != ERROR_SUCCESS)
        return std::wstring(L"?");
    text.resize(wcsnlen(text.c_str(), text.size()));
    return text;
}

}  // namespace settings
