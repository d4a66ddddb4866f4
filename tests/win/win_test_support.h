#pragma once
// Shared pieces of the Windows tests: a clean settings area, captured report boxes, a pumped queue,
// icon sizes.
#include <windows.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runtime/error_report.h"
#include "settings/settings_store.h"
#include "ui/message_box.h"
#include "win/error_sink.h"

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

// Captures the report boxes and message boxes instead of showing them.
class CapturedBoxes : public ::testing::Test {
  protected:
    void SetUp() override {
        clearSettings();
        runtime::setReportPresenter([this](const std::wstring& m) { reports.push_back(m); });
        win::setErrorSink([this](const runtime::Error& e) { unguarded.push_back(e.description); });
        ui::setMessageBoxPresenter(
            [this](const std::wstring& text, unsigned flags, const std::wstring& caption) {
                boxes.push_back({text, flags, caption});
                return IDOK;
            });
    }
    void TearDown() override {
        runtime::setReportPresenter(nullptr);
        ui::setMessageBoxPresenter(nullptr);
        win::setErrorSink(nullptr);
        clearSettings();
    }
    struct Box {
        std::wstring text;
        unsigned flags;
        std::wstring caption;
    };
    std::vector<std::wstring> reports;    // report boxes of the numbered procedures
    std::vector<std::wstring> unguarded;  // errors caught at a window procedure's boundary
    std::vector<Box> boxes;
};

}  // namespace test_support
