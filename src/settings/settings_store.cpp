#include "settings/settings_store.h"

#include <windows.h>

#include "runtime/run_error.h"
#include "win/registry.h"
#include "win/system_text.h"
#include "win/win_handles.h"

namespace settings {
namespace {

HKEY settingsRoot = HKEY_CURRENT_USER;

}  // namespace

void setSettingsRoot(void* root) {
    settingsRoot = static_cast<HKEY>(root);
}

std::wstring getSetting(std::wstring_view key, std::wstring_view fallback) {
    const std::wstring name(key);
    DWORD bytes = 0;
    if (RegGetValueW(settingsRoot, kSettingsKey, name.c_str(), RRF_RT_REG_SZ, nullptr, nullptr,
                     &bytes) != ERROR_SUCCESS)
        return std::wstring(fallback);
    std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    if (RegGetValueW(settingsRoot, kSettingsKey, name.c_str(), RRF_RT_REG_SZ, nullptr, text.data(),
                     &bytes) != ERROR_SUCCESS)
        return std::wstring(fallback);
    text.resize(wcsnlen(text.c_str(), text.size()));
    return text;
}

void saveSetting(std::wstring_view key, std::wstring_view value) {
    const std::wstring name(key), data(value);
    win::OwnedKey hkey;
    LSTATUS status = RegCreateKeyExW(settingsRoot, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE,
                                     nullptr, hkey.receive(), nullptr);
    if (status == ERROR_SUCCESS) status = win::writeString(hkey.get(), name, data);
    if (status != ERROR_SUCCESS)
        throw runtime::Error(runtime::kPathFileAccess,
                             L"The setting \"" + name + L"\" could not be saved. " +
                                 win::systemErrorText(static_cast<unsigned long>(status)));
}

}  // namespace settings
