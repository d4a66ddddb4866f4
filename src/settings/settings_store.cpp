#include "settings/settings_store.h"

#include <windows.h>

#include <utility>

#include "runtime/run_error.h"
#include "win/registry.h"
#include "win/system_text.h"

namespace settings {
namespace {

HKEY settingsRoot = HKEY_CURRENT_USER;

}  // namespace

HKEY setSettingsRoot(HKEY root) {
    return std::exchange(settingsRoot, root);
}

std::wstring getSetting(std::wstring_view key, std::wstring_view fallback) {
    return win::readString(settingsRoot, kSettingsKey, std::wstring(key))
        .value_or(std::wstring(fallback));
}

void saveSetting(std::wstring_view key, std::wstring_view value) {
    const std::wstring name(key), data(value);
    const LSTATUS status = win::createAndWriteString(settingsRoot, kSettingsKey, name, data);
    if (status != ERROR_SUCCESS)
        throw runtime::Error(runtime::kPathFileAccess,
                             L"The setting \"" + name + L"\" could not be saved. " +
                                 win::systemErrorText(static_cast<unsigned long>(status)));
}

void removeSetting(std::wstring_view key) {
    RegDeleteKeyValueW(settingsRoot, kSettingsKey, std::wstring(key).c_str());
}

}  // namespace settings
