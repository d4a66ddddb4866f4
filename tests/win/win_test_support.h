#pragma once
// Shared pieces of the Windows tests: a clean settings area, captured report boxes and a recording
// tray, seams put back as they were, a pumped queue, icon sizes.
#include <windows.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "runtime/error_report.h"
#include "settings/policy_store.h"
#include "settings/settings_store.h"
#include "startup_entry/reg_stuff.h"
#include "tray/shell_notify.h"
#include "ui/message_box.h"
#include "win/admin_only_path.h"
#include "win/error_sink.h"
#include "win/services.h"

namespace test_support {

// The width of an icon, 0 for a handle that is no icon (or no longer one).
inline int iconWidth(HANDLE icon) {
    ICONINFO info{};
    if (!GetIconInfo(static_cast<HICON>(icon), &info)) return 0;
    BITMAP mask{};
    GetObjectW(info.hbmMask, sizeof mask, &mask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return mask.bmWidth;
}

inline void clearSettings() {
    RegDeleteTreeW(HKEY_CURRENT_USER, settings::kSettingsKey);
}

inline void storeSetting(const wchar_t* key, const wchar_t* value) {
    settings::saveSetting(key, value);
}

// Runs the queue for a while; the tests' windows live on this thread.
inline void pumpFor(DWORD milliseconds) {
    const DWORD end = GetTickCount() + milliseconds;
    MSG msg;
    while (static_cast<LONG>(end - GetTickCount()) > 0) {
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

// Puts a process-wide seam back, when its scope ends, as it was when the guard was made. `set` is
// the seam's setter, which returns what it replaced: the guard reads the seam by setting it and
// back. For a struct of calls the scope changes field by field (win::services(), win::pathView()),
// the guard copies the struct and assigns the copy back.
template <class Value>
class SeamGuard {
  public:
    explicit SeamGuard(std::function<Value(Value)> set) : set_(std::move(set)) {
        saved_ = set_(Value{});
        set_(saved_);
    }
    explicit SeamGuard(Value& (*live)())
        : SeamGuard([live](Value v) { return std::exchange(live(), std::move(v)); }) {}
    SeamGuard(const SeamGuard&) = delete;
    SeamGuard& operator=(const SeamGuard&) = delete;
    ~SeamGuard() { putBack(); }

    void set(Value value) { set_(std::move(value)); }
    void putBack() { set_(saved_); }  // now, before the scope ends

  private:
    std::function<Value(Value)> set_;
    Value saved_{};
};

// The machine's Run-key roots: each view's, and set together as the one-argument setter sets every
// view this system has.
struct MachineRootsGuard {
    SeamGuard<HKEY> native{
        [](HKEY root) { return RegStuff::setMachineRoot(RegStuff::MachineView::native, root); }};
    SeamGuard<HKEY> wow64{
        [](HKEY root) { return RegStuff::setMachineRoot(RegStuff::MachineView::wow64, root); }};
    void set(HKEY root) { RegStuff::setMachineRoot(root); }
    void putBack() { native.putBack(), wow64.putBack(); }
};

// The base of the fixtures that load a form. Captures the report boxes and message boxes instead
// of showing them, and records what goes to the notification area instead of adding a real icon
// (Wine's tray waits up to 2 s for the X server when its last icon leaves). A test that needs the
// real shell sets `notifySender` to nothing.
class CapturedBoxes : public ::testing::Test {
  protected:
    void SetUp() override {
        clearSettings();
        reportPresenter.set([this](const std::wstring& m) { reports.push_back(m); });
        errorSink.set([this](const runtime::Error& e) { unguarded.push_back(e.description); });
        messageBoxPresenter.set(
            [this](const std::wstring& text, unsigned flags, const std::wstring& caption) {
                boxes.push_back({text, flags, caption});
                return IDOK;
            });
        notifySender.set([this](const tray::NotifyRequest& r) {
            trayRequests.push_back(r);
            return true;
        });
    }
    void TearDown() override { clearSettings(); }
    struct Box {
        std::wstring text;
        unsigned flags;
        std::wstring caption;
    };
    std::vector<std::wstring> reports;    // report boxes of the numbered procedures
    std::vector<std::wstring> unguarded;  // errors caught at a window procedure's boundary
    std::vector<Box> boxes;
    std::vector<tray::NotifyRequest> trayRequests;  // what went to the notification area

    // Members, so that they are put back after a derived fixture's form is gone: the form takes
    // its icon out of the tray when it is destroyed, after TearDown.
    SeamGuard<runtime::ReportPresenter> reportPresenter{runtime::setReportPresenter};
    SeamGuard<win::ErrorSink> errorSink{win::setErrorSink};
    SeamGuard<ui::MessageBoxPresenter> messageBoxPresenter{ui::setMessageBoxPresenter};
    SeamGuard<tray::NotifySender> notifySender{tray::setNotifySender};
    SeamGuard<win::Services> savedServices{win::services};
    SeamGuard<win::PathView> savedPathView{win::pathView};
    SeamGuard<HKEY> settingsRoot{settings::setSettingsRoot};
    SeamGuard<HKEY> policyRoot{settings::setPolicyRoot};
    MachineRootsGuard machineRoots;
    SeamGuard<HKEY> userRoot{RegStuff::setUserRoot};
    SeamGuard<RegStuff::MachineView> machineView{RegStuff::setMachineView};
};

}  // namespace test_support
