// The option handlers and the Windows start-up entry, against the real registry.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "hotkey/short_cuts.h"
#include "main_window/form1.h"
#include "settings/policy_store.h"
#include "settings/settings_store.h"
#include "startup_entry/m_start_up.h"
#include "startup_entry/reg_stuff.h"
#include "startup_entry/run_value.h"
#include "tray/shell_notify.h"
#include "win/admin_only_path.h"
#include "win/files.h"
#include "win/system_text.h"
#include "win_test_support.h"

namespace {

const wchar_t kRun[] = L"SOFTWARE\\MICROSOFT\\WINDOWS\\CURRENTVERSION\\RUN\\";

std::wstring runValue(HKEY root) {
    wchar_t data[1024];
    DWORD bytes = sizeof data;
    const std::wstring name = startup_entry::runValueName(win::programPath());
    if (RegGetValueW(root, kRun, name.c_str(), RRF_RT_REG_SZ, nullptr, data, &bytes) !=
        ERROR_SUCCESS)
        return L"<none>";
    return data;
}

class OptionsTest : public test_support::CapturedBoxes {
  protected:
    void SetUp() override {
        CapturedBoxes::SetUp();
        // The program file counts as one only administrators change: the machine key is written.
        win::pathView().onlyAdministrators = [](const std::wstring&, win::Reach) { return true; };
        win::pathView().attributes = [](const std::wstring&) -> std::optional<DWORD> { return 0; };
        win::pathView().driveType = [](const std::wstring&) { return UINT(DRIVE_FIXED); };
        win::pathView().substituted = [](const std::wstring&) { return false; };
        win::pathView().volumeFlags = [](const std::wstring&) {
            return DWORD(FILE_PERSISTENT_ACLS);
        };
        mStartUp::RemoveFromStartup();
        form.create();
        form.Form_Load();
        form.Timer1.setEnabled(false);
    }
    void TearDown() override {
        machineRoots.putBack();  // the real Run keys, to clear them
        userRoot.putBack();
        mStartUp::RemoveFromStartup();
        CapturedBoxes::TearDown();
    }
    Form1 form;
};

TEST_F(OptionsTest, AListChoiceIsSavedShownAndRebound) {
    ShortCuts::stopFlag = false;
    SendMessageW(form.Combo1.hwnd(), CB_SETCURSEL, 2, 0);
    SendMessageW(form.Frame1.hwnd(), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(form.Combo1.hwnd()));
    EXPECT_EQ(settings::getSetting(L"Combo1", L""), L"2");
    EXPECT_EQ(form.Label1.caption(), L"Software is on. Press Alt + Shift + L to lock computer");
    EXPECT_TRUE(ShortCuts::stopFlag);
    form.Combo2.setListIndex(35);
    EXPECT_EQ(settings::getSetting(L"Combo2", L""), L"35");
    EXPECT_EQ(form.Label1.caption(), L"Software is on. Press Alt + Shift + 0 to lock computer");
}

TEST_F(OptionsTest, TheStartUpBoxWritesTheRunValueAndGovernsTheTrayBox) {
    const std::wstring quoted = L"\"" + win::programPath() + L"\"";
    SendMessageW(form.Check4.hwnd(), BM_CLICK, 0, 0);
    EXPECT_TRUE(form.Check8.visible());
    EXPECT_EQ(settings::getSetting(L"Windows Startup", L""), L"On");
    EXPECT_EQ(runValue(HKEY_LOCAL_MACHINE), quoted);

    SendMessageW(form.Check8.hwnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(settings::getSetting(L"Minimized", L""), L"On");
    EXPECT_FALSE(form.visible()) << "ticking the tray box leaves the window where it is";

    SendMessageW(form.Check4.hwnd(), BM_CLICK, 0, 0);  // clearing it clears and hides the tray box
    EXPECT_EQ(form.Check8.value(), 0);
    EXPECT_FALSE(form.Check8.visible());
    EXPECT_EQ(settings::getSetting(L"Minimized", L""), L"Off");
    EXPECT_EQ(settings::getSetting(L"Windows Startup", L""), L"Off");
    EXPECT_EQ(runValue(HKEY_LOCAL_MACHINE), L"<none>");

    SendMessageW(form.Check4.hwnd(), BM_CLICK, 0, 0);
    EXPECT_TRUE(form.Check8.visible());
    EXPECT_EQ(form.Check8.value(), 0) << "ticking it again shows the tray box cleared";
}

TEST_F(OptionsTest, TheStartUpBoxShowsNoEntryThatIsNotThereAndTheLoadWritesNone) {
    test_support::storeSetting(L"Windows Startup", L"On");
    Form1 f;
    f.create();
    f.Form_Load();
    f.Timer1.setEnabled(false);
    EXPECT_EQ(f.Check4.value(), 0);
    EXPECT_EQ(settings::getSetting(L"Windows Startup", L""), L"Off")
        << "the option follows the box";
    EXPECT_EQ(runValue(HKEY_LOCAL_MACHINE), L"<none>");
    EXPECT_EQ(runValue(HKEY_CURRENT_USER), L"<none>");
}

TEST_F(OptionsTest, AMachineWideRunKeyThatRefusesTheWriteFallsBackToTheUsersOwn) {
    machineRoots.set(reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x7FFF0000)));  // refuses all
    mStartUp::AddToStartup();
    EXPECT_EQ(runValue(HKEY_CURRENT_USER), L"\"" + win::programPath() + L"\"");
    machineRoots.putBack();
    mStartUp::AddToStartup();
    mStartUp::AddToStartup();  // twice: the second write replaces the first
    EXPECT_EQ(runValue(HKEY_LOCAL_MACHINE), L"\"" + win::programPath() + L"\"");
    mStartUp::RemoveFromStartup();
    EXPECT_EQ(runValue(HKEY_LOCAL_MACHINE), L"<none>");
    EXPECT_EQ(runValue(HKEY_CURRENT_USER), L"<none>");
    mStartUp::RemoveFromStartup();  // nothing left to delete: no error either
}

TEST_F(OptionsTest, ARefusedSaveLeavesNoHandlerHalfDoneAndIsReportedOnce) {
    settingsRoot.set(reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x7FFF0000)));  // refuses all
    // Each change goes through the window, as a user's: the window's boundary reports the refusal.
    auto reportedOnce = [&] {
        ASSERT_EQ(unguarded.size(), 1u);
        EXPECT_EQ(unguarded[0].rfind(L"The setting \"", 0), 0u) << unguarded[0];
        unguarded.clear();
    };
    ShortCuts::stopFlag = false;
    SendMessageW(form.Combo1.hwnd(), CB_SETCURSEL, 2, 0);
    SendMessageW(form.Frame1.hwnd(), WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(form.Combo1.hwnd()));
    reportedOnce();
    EXPECT_EQ(form.Label1.caption(), L"Software is on. Press Alt + Shift + L to lock computer");
    EXPECT_TRUE(ShortCuts::stopFlag) << "the new choice is still bound";

    auto click = [&](ui::CheckBox& box) {
        SendMessageW(box.hwnd(), BM_CLICK, 0, 0);
        reportedOnce();
    };
    click(form.Check4);
    EXPECT_TRUE(form.Check8.visible());
    EXPECT_EQ(runValue(HKEY_LOCAL_MACHINE), L"\"" + win::programPath() + L"\"");
    click(form.Check8);
    EXPECT_EQ(form.Check8.value(), 1);
    click(form.Check4);  // two refused saves, "Minimized" and "Windows Startup": one report
    EXPECT_EQ(form.Check8.value(), 0);
    EXPECT_FALSE(form.Check8.visible());
    EXPECT_EQ(runValue(HKEY_LOCAL_MACHINE), L"<none>");
}

TEST_F(OptionsTest, AStartUpEntryThatCannotBeWrittenIsReportedAndTheBoxFollowsTheRegistry) {
    const HKEY refusing = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(0x7FFF0000));
    const std::wstring name = startup_entry::runValueName(win::programPath());
    auto reportedOnce = [&](const wchar_t* what) {
        ASSERT_EQ(unguarded.size(), 1u);
        EXPECT_EQ(unguarded[0], L"The start-up entry \"" + name + L"\" could not be " + what +
                                    L". " + win::systemErrorText(ERROR_INVALID_HANDLE));
        unguarded.clear();
    };
    machineRoots.set(refusing);
    userRoot.set(refusing);
    SendMessageW(form.Check4.hwnd(), BM_CLICK, 0, 0);
    reportedOnce(L"written");
    EXPECT_EQ(form.Check4.value(), 0);
    EXPECT_FALSE(form.Check8.visible());
    EXPECT_EQ(settings::getSetting(L"Windows Startup", L""), L"Off");
    EXPECT_EQ(runValue(HKEY_LOCAL_MACHINE), L"<none>");
    EXPECT_EQ(runValue(HKEY_CURRENT_USER), L"<none>");
}

// What the window remembers having told, within a run and across runs; each row starts clean.
// Steps: n a new run (a form loaded, hidden in the tray); o the software off for a reason; d the
// lock policy set, l lifted, each then refreshed in a running form; v the policy "Windows Startup"
// Off and a value of the user's "Run these programs at user logon" naming the program, c that value
// changed, x gone; e the settings an earlier version left once it had told both. Told at each step:
// B a balloon, R a report, - nothing.
TEST_F(OptionsTest, WhatTheWindowToldIsToldAgainOnlyWhenItsSubjectChanges) {
    const std::pair<const char*, const char*> rows[] = {
        {"noonoo", "-B--B-"},        // a reason: once a run
        {"nddndld", "-B----B"},      // the lock policy: once for the user until lifted
        {"vnncnxncn", "-R--R---R"},  // a start-up value that stays: until it changes
        {"edvnd", "-----"},          // the same settings, as users' registries hold them
    };
    const wchar_t kLock[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\System";
    const std::wstring run = startup_entry::runValueData(win::programPath());
    const auto put = [](const wchar_t* key, const wchar_t* name, const std::wstring& text) {
        RegSetKeyValueW(HKEY_CURRENT_USER, key, name, REG_SZ, text.c_str(), 2 * text.size() + 2);
    };
    const auto clean = [&] {
        test_support::clearSettings();
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kLock, L"DisableLockWorkstation");
        RegDeleteKeyValueW(HKEY_CURRENT_USER, settings::kPolicyKey, L"Windows Startup");
        RegDeleteKeyValueW(HKEY_CURRENT_USER, startup_entry::kPolicyRun, L"1");
    };
    policyRoot.set(HKEY_CURRENT_USER);
    for (const auto& [steps, expected] : rows) {
        clean();
        std::unique_ptr<Form1> f;
        std::string told;
        for (const char* step = steps; *step; ++step, trayRequests.clear(), reports.clear()) {
            const DWORD on = 1;
            if (*step == 'n') f.reset(), f = std::make_unique<Form1>(), f->create(), f->Form_Load();
            if (*step == 'n') f->Timer1.setEnabled(false), f->hiddenInTray = true;
            if (*step == 'o') f->SetStatusLine(main_window::kStatusLineNoCombination, false);
            if (*step == 'd')
                RegSetKeyValueW(HKEY_CURRENT_USER, kLock, L"DisableLockWorkstation", REG_DWORD, &on,
                                sizeof on);
            if (*step == 'l')
                RegDeleteKeyValueW(HKEY_CURRENT_USER, kLock, L"DisableLockWorkstation");
            if ((*step == 'd' || *step == 'l') && f) f->Form_PolicyChange();
            if (*step == 'v') put(settings::kPolicyKey, L"Windows Startup", L"Off");
            if (*step == 'v' || *step == 'c')
                put(startup_entry::kPolicyRun, L"1", *step == 'v' ? run : run + L" /c");
            if (*step == 'x')
                RegDeleteKeyValueW(HKEY_CURRENT_USER, startup_entry::kPolicyRun, L"1");
            if (*step == 'e') test_support::storeSetting(L"Policy Notice", L"On");
            if (*step == 'e') test_support::storeSetting(L"Machine Startup Reported", run.c_str());
            const size_t balloons = std::count_if(
                trayRequests.begin(), trayRequests.end(),
                [](auto& r) { return !tray::readText(r.record, tray::kInfo).empty(); });
            const size_t n = balloons + reports.size();
            told += n == 0 ? '-' : n > 1 ? '+' : balloons ? 'B' : 'R';
        }
        EXPECT_EQ(told, expected) << steps;
    }
    clean();
}

}  // namespace
