// What happens when an option changes: it is saved at once; a list change also rewrites the
// status line and makes the tick bind the new combination.
#include "hotkey/short_cuts.h"
#include "main_window/form1.h"
#include "main_window/status_line.h"
#include "settings/settings_store.h"
#include "startup_entry/m_start_up.h"

namespace {

const wchar_t* onOff(int value) { return value == 1 ? L"On" : L"Off"; }

}  // namespace

void Form1::ListChanged(ui::ComboBox& list, const wchar_t* key) {
    settings::saveSetting(key, std::to_wstring(list.listIndex()));
    Label1.setCaption(main_window::statusLine(Combo1.text(), Combo2.text()));
    ShortCuts::stopFlag = true;
}

void Form1::Combo1_Click() { ListChanged(Combo1, L"Combo1"); }
void Form1::Combo2_Click() { ListChanged(Combo2, L"Combo2"); }

void Form1::Check4_Click() {
    if (loading_) return;  // restoring the saved option writes nothing back
    if (Check4.value() == 1) {
        Check8.setVisible(true);
        settings::saveSetting(L"Windows Startup", L"On");
        mStartUp::AddToStartup();
    } else {
        Check8.setValue(0);
        Check8.setVisible(false);
        settings::saveSetting(L"Windows Startup", L"Off");
        mStartUp::RemoveFromStartup();
    }
}

void Form1::Check8_Click() {
    settings::saveSetting(L"Minimized", onOff(Check8.value()));
}
