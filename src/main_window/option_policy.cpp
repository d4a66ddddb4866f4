// Options an administrator presets and locks by policy.
#include <algorithm>

#include "main_window/form1.h"
#include "runtime/run_error.h"
#include "settings/policy_store.h"
#include "settings/settings_store.h"

std::optional<std::wstring> Form1::PolicyFor(
    runtime::Guard& load, int line, const wchar_t* key,
    const std::function<bool(const std::wstring&)>& accepts, ui::Control& governed) {
    std::optional<std::wstring> value;
    load.step(line, [&] {
        value = settings::policySetting(key);
        if (!value || accepts(*value)) return;
        const std::wstring refused = *value;
        value.reset();
        throw runtime::Error(runtime::kInvalidPropertyValue,
                             L"The policy value \"" + std::wstring(key) + L"\" is \"" + refused +
                                 L"\", which names no choice. It is ignored.");
    });
    if (value) {
        setByPolicy_.emplace_back(key);
        governed.setEnabled(false);
    }
    return value;
}

bool Form1::SetByPolicy(std::wstring_view key) const {
    return std::find(setByPolicy_.begin(), setByPolicy_.end(), key) != setByPolicy_.end();
}

void Form1::SaveOption(const wchar_t* key, const std::wstring& value) {
    if (!SetByPolicy(key)) settings::saveSetting(key, value);
}
