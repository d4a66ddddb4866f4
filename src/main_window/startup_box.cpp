// The start-up box as the load and a policy refresh set it: it shows what Windows will do at this
// user's next logon, whatever the stored option says.
#include "main_window/form1.h"
#include "settings/settings_store.h"
#include "startup_entry/m_start_up.h"

void Form1::ApplyStartupPolicy(bool on) {
    if (on) return mStartUp::AddToStartup();
    // A machine value this user may not delete, or a policy's, stays; its refusal is reported
    // once, not at every logon, until the values change.
    const std::wstring stays = mStartUp::StartupState().staying();
    if (stays.empty()) notices_.lift(main_window::Notice::kStartupStays);
    mStartUp::RemoveFromStartup(!stays.empty() &&
                                !notices_.firstTelling(main_window::Notice::kStartupStays, stays));
}

void Form1::ShowStartupBox(bool setByPolicy) {
    const RegStuff::StartupEntry now = mStartUp::DropSecondValue();
    Check4.setValue(now.startsAtLogon() ? 1 : 0);  // set while loading: no click handling
    // What the user cannot change is locked, the way a policy locks an option, and says why.
    std::wstring why;
    if (now.byPolicy)
        why = L"A policy (\"Run these programs at user logon\") starts this program at logon.";
    else if (now.setForAllUsers())
        why = L"An administrator set this program to start for all users of this computer.";
    else if (now.noRunListRuns())
        why = L"A policy keeps Windows from starting the programs of the start-up lists.";
    Check4.setAccessibleDescription(why);
    if (!why.empty()) Check4.setEnabled(false);
    const wchar_t* shown = Check4.value() == 1 ? L"On" : L"Off";
    if (!setByPolicy && settings::getSetting(L"Windows Startup", L"Off") != shown)
        SaveOption(L"Windows Startup", shown);
}
