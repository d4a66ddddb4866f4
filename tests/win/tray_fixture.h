#pragma once
// What the tray tests share: a host that can be designing or running and records the property
// notices, and a shell stand-in that records every request the control sends.
#include <windows.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "resource_ids.h"
#include "tray/m_sys_tray.h"
#include "tray/shell_notify.h"
#include "tray/sys_tray.h"
#include "win_test_support.h"

namespace tray_test {

struct TestHost : tray::ControlHost {
    bool userMode = true;
    std::vector<std::wstring> changed;
    bool ambientUserMode() const override { return userMode; }
    void propertyChanged(std::wstring_view key) override { changed.emplace_back(key); }
};

class TrayTest : public ::testing::Test {
  protected:
    void SetUp() override {
        notifySender.set([this](const tray::NotifyRequest& r) {
            sent.push_back(r);
            return shellAccepts(r);
        });
    }

    // The operations sent so far, e.g. {0, 1} for an add and a modify.
    std::vector<uint32_t> operations() const {
        std::vector<uint32_t> ops;
        for (const auto& r : sent) ops.push_back(r.operation);
        return ops;
    }

    // Runs the thread's messages until `done` holds or the time is up; sleeps in between.
    bool pumpUntil(const std::function<bool()>& done, int timeoutMs) {
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
        while (!done()) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                                  deadline - std::chrono::steady_clock::now())
                                  .count();
            if (left <= 0) return false;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left), QS_ALLINPUT);
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        }
        return true;
    }

    static tray::Picture trayIcon() { return tray::Picture::loadIcon(IDI_TRAY, 16); }

    TestHost host;
    std::vector<tray::NotifyRequest> sent;
    std::function<bool(const tray::NotifyRequest&)> shellAccepts = [](const auto&) { return true; };
    test_support::SeamGuard<tray::NotifySender> notifySender{tray::setNotifySender};
    test_support::SeamGuard<tray::cSysTray::AddRetry> addRetry{tray::cSysTray::setAddRetry};
};

inline uint32_t field(const tray::NotifyRequest& r, tray::Field f) {
    return tray::readU32(r.record, f);
}

}  // namespace tray_test
