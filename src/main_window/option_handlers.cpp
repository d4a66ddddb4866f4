// What happens when an option changes: it is saved at once; a list change also rewrites the
// status line and makes the tick bind the new combination.
#include <optional>

#include "hotkey/short_cuts.h"
#include "main_window/form1.h"
#include "main_window/status_line.h"
#include "runtime/run_error.h"
#include "startup_entry/m_start_up.h"

namespace {

const wchar_t* onOff(int value) {
    return value == 1 ? L"On" : L"Off";
}

// A handler's steps, run to the end: a refused save does not stop the rest, so the screen, the
// binding and the Run entry still follow what happened; the first refusal is raised once at the
// end.
class AllSteps {
  public:
    // Runs one step; false when it raised.
    template <class Step>
    bool run(Step&& step) {
        bool done = true;
        runtime::catchRunError(step, [&](const runtime::Error& e) {
            done = false;
            if (!first_) first_.emplace(e);
        });
        return done;
    }
    void finish() {
        if (first_) throw *first_;
    }

  private:
    std::optional<runtime::Error> first_;
};

// Set while the start-up box is put back where the Run entry is: no one's choice, nothing to do.
bool puttingStartUpBoxBack = false;

}  // namespace

std::wstring Form1::StatusLineBeforeBinding() {
    return main_window::statusLineBeforeBinding(ShortCuts::LockingDisabledByPolicy(), Combo1.text(),
                                                Combo2.text());
}

void Form1::ListChanged(ui::ComboBox& list, const wchar_t* key) {
    AllSteps steps;
    steps.run([&] { SaveOption(key, std::to_wstring(list.listIndex())); });
    SetStatusLine(StatusLineBeforeBinding(), false);  // not yet true: the binding tells
    ShortCuts::stopFlag = true;
    steps.finish();
}

void Form1::Combo1_Click() {
    ListChanged(Combo1, L"Combo1");
}
void Form1::Combo2_Click() {
    ListChanged(Combo2, L"Combo2");
}

void Form1::Check4_Click() {
    if (loading_ || puttingStartUpBoxBack) return;  // restoring the saved option writes nothing
    AllSteps steps;
    const bool wanted = Check4.value() == 1;
    // The box and the stored option follow what Windows will do at the next logon: where the
    // entry could not be written (or removed), the refusal is reported and the box goes back.
    steps.run([&] { wanted ? mStartUp::AddToStartup() : mStartUp::RemoveFromStartup(); });
    const bool on = mStartUp::StartupState().startsAtLogon();
    if (on != wanted) {
        puttingStartUpBoxBack = true;
        Check4.setValue(on ? 1 : 0);
        puttingStartUpBoxBack = false;
    }
    if (on) {
        Check8.setVisible(true);
        steps.run([&] { SaveOption(L"Windows Startup", L"On"); });
    } else {
        // Its handler saves "Minimized"; a start in the tray the policy sets stays as it is.
        if (!SetByPolicy(L"Minimized")) steps.run([&] { Check8.setValue(0); });
        Check8.setVisible(false);
        steps.run([&] { SaveOption(L"Windows Startup", L"Off"); });
    }
    steps.finish();
}

void Form1::Check8_Click() {
    SaveOption(L"Minimized", onOff(Check8.value()));
}
