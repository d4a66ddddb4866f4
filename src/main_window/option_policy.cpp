// Options an administrator presets and locks by policy.
#include <algorithm>
#include <initializer_list>

#include "hotkey/short_cuts.h"
#include "main_window/form1.h"
#include "runtime/procedure_path.h"
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
        const std::wstring refusal = L"The policy value \"" + std::wstring(key) + L"\" is \"" +
                                     *value + L"\", which names no choice. It is ignored.";
        value.reset();
        // A refresh that finds the same text again says nothing new.
        if (notices_.firstTelling(main_window::Notice::kRefusedPolicy, refusal))
            throw runtime::Error(runtime::kInvalidPropertyValue, refusal);
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

// Group Policy changed what it sets: every option is read again as at load, the policy's choice
// applied and locked, a lifted one given back to the user with the user's own value. The status
// line says what is coming, and the tick binds again, which applies the lock policy.
void Form1::Form_PolicyChange() {
    runtime::Guard g(runtime::procedurePath(L"Form1", L"Form_PolicyChange"));
    loading_ = true;
    setByPolicy_.clear();
    for (ui::Control* c : std::initializer_list<ui::Control*>{&Combo1, &Combo2, &Check4, &Check8})
        c->setEnabled(true);
    RestoreListSelections(g);  // 136 to 138, 154 to 156
    g.step(158, [&] { SetStatusLine(StatusLineBeforeBinding(), false); });
    RestoreCheckBoxes(g, false);  // 162 to 168, 174
    ShortCuts::stopFlag = true;
    loading_ = false;
}
