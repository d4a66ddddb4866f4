// Filling the two lists and restoring their saved selections (statements 130 to 156 of the load).
#include "hotkey/catalogue.h"
#include "main_window/form1.h"
#include "runtime/error_report.h"
#include "settings/policy_rules.h"
#include "settings/settings_store.h"
#include "settings/stored_index.h"

// A choice the policy sets is applied as it stands. Otherwise the stored index is read twice: once
// for the range test, once (with the list's own default) for the selection, exactly as stored
// text may change between the readings.
void Form1::RestoreSelection(runtime::Guard& g, int testLine, int applyLine, ui::ComboBox& list,
                             const wchar_t* key, int fallback) {
    const auto accepts = [&](const std::wstring& text) {
        return settings::policyIndexValid(text, list.listCount());
    };
    if (const auto policy = PolicyFor(g, testLine, key, accepts, list)) {
        g.step(applyLine, [&] { list.setListIndex(settings::storedIndex(*policy)); });
        return;
    }
    if (g.test(testLine, [&] {
            return settings::storedIndexInRange(settings::getSetting(key, L"0"), list.listCount());
        })) {
        g.step(applyLine, [&] {
            list.setListIndex(
                settings::storedIndex(settings::getSetting(key, std::to_wstring(fallback))));
        });
    }
}

void Form1::FillLists(runtime::Guard& g) {
    g.step(130, [&] { Combo1.addItem(hotkey::kModifierPairs[0].text); });
    g.step(132, [&] { Combo1.addItem(hotkey::kModifierPairs[1].text); });
    g.step(134, [&] { Combo1.addItem(hotkey::kModifierPairs[2].text); });
    RestoreSelection(g, 136, 138, Combo1, L"Combo1", hotkey::kDefaultModifierIndex);

    const auto keys = hotkey::keyTexts();
    for (int i = 0; i < 26; ++i) g.step(142, [&] { Combo2.addItem(keys[i]); });   // 140 to 144
    for (int i = 26; i < 35; ++i) g.step(148, [&] { Combo2.addItem(keys[i]); });  // 146 to 150
    g.step(152, [&] { Combo2.addItem(keys[35]); });
    RestoreSelection(g, 154, 156, Combo2, L"Combo2", hotkey::kDefaultKeyIndex);
}

// A policy refresh restores them again, in the load's order.
void Form1::RestoreListSelections(runtime::Guard& g) {
    RestoreSelection(g, 136, 138, Combo1, L"Combo1", hotkey::kDefaultModifierIndex);
    RestoreSelection(g, 154, 156, Combo2, L"Combo2", hotkey::kDefaultKeyIndex);
}
