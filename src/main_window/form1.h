#pragma once
// The program's one window: its designed controls and the handlers behind them, all defined in
// this folder.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "main_window/holder_answer.h"
#include "main_window/remembered_notices.h"
#include "main_window/status_line.h"
#include "runtime/error_report.h"
#include "skin_engine/skin_framework.h"
#include "tray/sys_tray.h"
#include "ui/controls.h"
#include "ui/form.h"
#include "ui/frame.h"
#include "ui/push_button.h"
#include "ui/timer.h"
#include "win/restart.h"

class Form1 : public ui::Form, private tray::ControlHost {
  public:
    Form1();
    // Creates the window and its controls, hidden, as designed; the load handler comes next.
    void create();

    // Visible controls, in tab order. Places are in twips within their container.
    ui::TextBox Text2{{120, 6300, 1215, 690}};  // below the client area: holds the first focus
    ui::PushButton PushButton1{{120, 120, 7800, 405}};
    ui::Frame Frame1{{120, 560, 7800, 795}};
    ui::ComboBox Combo1{{240, 300, 3600, 345}};
    ui::ComboBox Combo2{{3960, 300, 3600, 345}};
    ui::Label Label1{{120, 1480, 7800, 255}};
    ui::Frame Frame3{{120, 1820, 7800, 735}};
    ui::CheckBox Check4{{240, 300, 3810, 285}};
    ui::CheckBox Check8{{4200, 300, 2100, 285}};
    ui::Timer Timer1{1};
    skin_engine::SkinFramework SkinFramework1;  // no face of its own; the skin step drives it
    tray::cSysTray cSysTray1{*this};            // the notification-area icon; Form1 is its host

    // Start-up and shut-down (form_load.cpp).
    void Form_Load();
    void Form_QueryUnload();
    void Form_Unload();
    void FillLists(runtime::Guard& load);  // statements 130 to 156 of the load (restore_lists.cpp)
    // The options the policy sets and the lock policy read again, as the load reads them, when
    // the system's policies are refreshed (option_policy.cpp).
    void Form_PolicyChange();
    // Binding the hotkey (timer_tick.cpp).
    void Timer1_Timer();

    // Option handlers (option_handlers.cpp).
    void Combo1_Click();
    void Combo2_Click();
    void Check4_Click();
    void Check8_Click();

    // Pointer switching as the mouse moves (pointer.cpp).
    void PushButton1_MouseMove();
    void Background_MouseMove();

    // True while minimizing has hidden the window behind the tray icon.
    bool hiddenInTray = false;

    // Tray minimize, restore and help (tray_handlers.cpp).
    void cSysTray1_MouseUp();
    void PushButton1_Click();
    // A balloon over the tray icon that nothing waits for, and that leaves the minimize
    // balloon's once-counter alone; a minimize balloon's running wait ends (notice_balloon.cpp).
    void ShowNotice(const std::wstring& text);

    // Sets the status line, read out by a screen reader when `announce` says; the tray's icon and
    // tip follow it (tray_state.cpp).
    void SetStatusLine(const std::wstring& line, bool announce);

    static constexpr int kClientWidthTwips = 8040, kClientHeightTwips = 2655;

  protected:
    LRESULT handleMessage(UINT msg, WPARAM wp,
                          LPARAM lp) override;  // hotkey presses (timer_tick.cpp)
    void onResize() override;
    void onCloseRequest() override { Form_QueryUnload(); }
    void onUnload() override { Form_Unload(); }
    void onPolicyChange() override { Form_PolicyChange(); }
    // What the system starts again: after an upgrade always, at sign-in only where no Run value
    // does (main.cpp). A request made while the end is asked for outlives its cancelling, and
    // the cancelling is not promised to a program that agreed: each question makes its own.
    void onEndQuery(bool forUpgrade) override {
        win::registerForRestart(forUpgrade ? L"/upgraded" : L"/restarted");
    }
    void onEndCancelled() override { win::registerForRestart(L"/restarted"); }

  private:
    // The tray control's host: the program runs, it is never designed.
    void propertyChanged(std::wstring_view) override {}

    // Registers the chosen key with `modifiers`; returns the status line for the system's answer.
    std::wstring BindHotkey(unsigned modifiers);
    // Who holds `modifiers` with `key` when registering them failed with `error`, as the other
    // copies of the program answer (hotkey_holder.cpp).
    static main_window::Holder HolderOf(unsigned long error, unsigned modifiers, unsigned key);
    // The registered message that asks a copy which combination it holds; the form answers it.
    static UINT HolderQuestion();
    void ListChanged(ui::ComboBox& list, const wchar_t* key);
    std::wstring StatusLineBeforeBinding();
    // Selects the list's saved or policy-set choice (restore_lists.cpp).
    void RestoreSelection(runtime::Guard& load, int testLine, int applyLine, ui::ComboBox& list,
                          const wchar_t* key, int fallback);
    void RestoreListSelections(runtime::Guard& load);  // statements 136 to 138 and 154 to 156
    // Statements 162 to 174 of the load: the two check boxes; only `starting` opens minimized.
    void RestoreCheckBoxes(runtime::Guard& load, bool starting);
    // Statement 162 (startup_box.cpp): the policy's start-up choice made true for this user, and
    // the start-up box set from what Windows will do at the next logon.
    void ApplyStartupPolicy(bool on);
    void ShowStartupBox(bool setByPolicy);

    // Options an administrator's policy sets (option_policy.cpp), read by the load at statement
    // `line`: the policy's text for `key`, and `governed` disabled, when it sets one `accepts`; a
    // text it does not accept is reported (once for each text) and ignored, as if absent.
    std::optional<std::wstring> PolicyFor(runtime::Guard& load, int line, const wchar_t* key,
                                          const std::function<bool(const std::wstring&)>& accepts,
                                          ui::Control& governed);
    bool SetByPolicy(std::wstring_view key) const;
    // Stores an option the user changed; one the policy sets is never stored, so the user's own
    // choice is there again once the policy is lifted.
    void SaveOption(const wchar_t* key, const std::wstring& value);

    // Tells a user whose window is hidden why the software went off (tray_state.cpp).
    void TellHiddenUser(const std::wstring& line, const std::wstring& reason);

    // Set while the saved options are restored: at load and at a policy refresh.
    bool loading_ = false;
    bool firstBinding_ = true;  // no binding has run yet
    std::wstring boundLine_;    // the line the last binding wrote; before the first, the load's
    std::uint32_t held_ = main_window::kBindsNone;  // the registered combination, as answered
    std::vector<std::wstring> setByPolicy_;         // the keys of the options the policy sets
    // What the user was told and is not told again: the tray's reasons, the lock policy's, the
    // start-up values that stay, the refused policy texts (remembered_notices.cpp).
    main_window::RememberedNotices notices_;
    // The tray's side of the status line: which icon it shows and its tip.
    bool trayIconChosen_ = false, trayOff_ = false;
    std::wstring trayTip_;
};
