// Start-up and shut-down of the main window.
#include <windows.h>

#include "build_config.h"
#include "main_window/app_title.h"
#include "main_window/form1.h"
#include "main_window/home_page.h"
#include "main_window/skin_step.h"
#include "resource_ids.h"
#include "runtime/error_report.h"
#include "runtime/procedure_path.h"
#include "runtime/run_error.h"
#include "settings/policy_rules.h"
#include "settings/settings_store.h"
#include "ui/message_box.h"
#include "win/files.h"
#include "win/message_loop.h"
#include "win/services.h"

namespace {

win::OwnedCursor loadCursorFile(const std::wstring& path) {
    HANDLE cursor = LoadImageW(nullptr, path.c_str(), IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE);
    if (!cursor) throw runtime::Error(runtime::kInvalidPicture);
    return win::OwnedCursor(static_cast<HCURSOR>(cursor));
}

}  // namespace

void Form1::Form_Load() {
    runtime::Guard g(runtime::procedurePath(L"Form1", L"Form_Load"));
    loading_ = true;

    g.step(102, [&] { SkinMainWindow(*this); });
    const std::wstring hand = win::programFolder() + L"\\HAND-M.CUR";
    if (g.test(104, [&] { return win::fileExists(hand); }))
        g.step(106, [&] { setCustomPointer(loadCursorFile(hand)); });
    g.step(108, [&] {
        if (main_window::homePageDrawn(win::services().random()))
            win::services().runProgram(win::windowsFolder() + L"\\explorer.exe",
                                       main_window::homePageCommand(build_config::kHomePage),
                                       SW_SHOWMINIMIZED);
    });
    g.step(128, [&] { setCaption(std::wstring(main_window::kProductTitle)); });
    g.step(128, [&] { setIconResource(IDI_APP); });
    g.step(128, [&] {
        ui::setApplicationTitle(main_window::applicationTitle(main_window::kProductTitle));
    });

    FillLists(g);  // 130 to 156

    g.step(158, [&] {
        boundLine_ = StatusLineBeforeBinding();
        SetStatusLine(boundLine_, false);
    });
    g.step(160, [&] { Label1.setBackColor(ui::kWhite); });
    RestoreCheckBoxes(g, true);  // 162 to 174
    g.step(176, [&] { Timer1.setEnabled(true); });
    g.step(178, [&] { Timer1.setInterval(10); });
    // The product title, and why the software is off where it is (the policy, an empty list).
    g.step(180, [&] { cSysTray1.setTrayTip(trayTip_); });
    g.step(182, [&] { cSysTray1.setInTray(true); });
    g.step(184, [&] { loading_ = false; });
}

void Form1::RestoreCheckBoxes(runtime::Guard& g, bool starting) {
    // The tray box shows the policy's choice where it sets one, else the user's own; the start-up
    // box shows what Windows will do at the next logon.
    const auto ticked = [](const std::optional<std::wstring>& policy, const wchar_t* key) {
        return policy.value_or(settings::getSetting(key, L"Off")) == L"On" ? 1 : 0;
    };
    const auto startup = PolicyFor(g, 162, L"Windows Startup", settings::policySwitchValid, Check4);
    if (startup) g.step(162, [&] { ApplyStartupPolicy(*startup == L"On"); });
    g.step(162, [&] { ShowStartupBox(startup.has_value()); });
    const auto minimized = PolicyFor(g, 164, L"Minimized", settings::policySwitchValid, Check8);
    g.step(164, [&] { Check8.setValue(ticked(minimized, L"Minimized")); });
    if (g.test(166, [&] { return Check4.value() == 1; })) {
        g.step(168, [&] { Check8.setVisible(true); });
        if (starting && g.test(170, [&] { return Check8.value() == 1; }))
            g.step(172, [&] { setWindowState(ui::kStateMinimized); });
    } else {
        g.step(174, [&] { Check8.setVisible(false); });
    }
}

void Form1::Form_QueryUnload() {
    runtime::Guard g(runtime::procedurePath(L"Form1", L"Form_QueryUnload"));
    g.step(100, [&] { cSysTray1.setInTray(false); });
    g.step(102, [&] { Timer1.setEnabled(false); });
    g.step(104, [&] { win::pumpPendingMessages(); });
    g.step(106, [&] { win::pumpPendingMessages(); });
    g.step(108, [&] { ExitProcess(0); });
}

void Form1::Form_Unload() {
    ExitProcess(0);
}
