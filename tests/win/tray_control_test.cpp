// The tray control against its host and the shell: property bag, design mode, the requests each
// property sends, the shell's restart and a shell that is not there yet.
#include <cstring>

#include "runtime/run_error.h"
#include "tray_fixture.h"

namespace {

using tray_test::field;
using tray_test::TrayTest;

TEST_F(TrayTest, NewInstanceTakesTheDefaultTipAndKeepsItsFixedBox) {
    tray::cSysTray c(host);
    c.initProperties();
    EXPECT_EQ(c.TrayTip().size(), 14u);
    EXPECT_EQ(c.TrayTip(), std::wstring(L"Telnet Server\0", 14));
    EXPECT_FALSE(c.InTray());
    EXPECT_FALSE(c.TrayIcon());
    // InTray was already False and the face is empty: only the tip is announced.
    EXPECT_EQ(host.changed, std::vector<std::wstring>{L"TrayTip"});
    EXPECT_TRUE(sent.empty());

    for (auto [w, h] : {std::pair{100, 5000}, std::pair{510, 510}, std::pair{0, 0}}) {
        c.resize(w, h);
        EXPECT_EQ(c.widthTwips(), 510);
        EXPECT_EQ(c.heightTwips(), 510);
    }
    RECT r;
    GetWindowRect(c.hwnd(), &r);
    EXPECT_EQ(r.right - r.left, r.bottom - r.top);
    // Its own window is top-level and never shown, so the shell's broadcasts reach it.
    EXPECT_EQ(GetParent(c.hwnd()), nullptr);
    EXPECT_FALSE(IsWindowVisible(c.hwnd()));
}

TEST_F(TrayTest, ReadPropertiesAppliesInTrayFirstThenIconThenTip) {
    const tray::Picture icon = trayIcon();
    struct Row {
        const char* name;
        bool userMode;
        tray::MemoryPropertyBag bag;
        std::vector<uint32_t> operations;
        std::vector<uint32_t> flags;
        bool inTray;
        std::wstring tip;
    };
    std::vector<Row> rows;
    rows.push_back({"empty bag: the defaults", true, {}, {}, {}, false, tray::kDefaultTip});
    rows.push_back({"saved in the tray, running: add first with what it holds, then icon, tip",
                    true,
                    {{L"InTray", true}, {L"TrayIcon", icon}, {L"TrayTip", std::wstring(L"Saved")}},
                    {0, 1, 1},
                    {1, 2, 4},
                    true,
                    L"Saved"});
    rows.push_back({"saved in the tray, designing: nothing sent",
                    false,
                    {{L"InTray", true}, {L"TrayIcon", icon}, {L"TrayTip", std::wstring(L"Saved")}},
                    {},
                    {},
                    true,
                    L"Saved"});
    rows.push_back({"out of the tray",
                    true,
                    {{L"InTray", false}, {L"TrayTip", std::wstring()}},
                    {},
                    {},
                    false,
                    L""});
    for (Row& row : rows) {
        SCOPED_TRACE(row.name);
        sent.clear();
        host.userMode = row.userMode;
        tray::cSysTray c(host);
        c.readProperties(row.bag);
        EXPECT_EQ(operations(), row.operations);
        for (size_t i = 0; i < sent.size() && i < row.flags.size(); ++i)
            EXPECT_EQ(field(sent[i], tray::kFlags), row.flags[i]) << "request " << i;
        EXPECT_EQ(c.InTray(), row.inTray);
        EXPECT_EQ(c.TrayTip(), row.tip);
        if (!row.operations.empty()) {
            EXPECT_EQ(field(sent[1], tray::kIcon), tray::handle32(icon.handle()));
        }
        const bool hooked = GetWindowLongPtrW(c.hwnd(), GWLP_WNDPROC) ==
                            reinterpret_cast<LONG_PTR>(mSysTray::TrayWindowProc);
        EXPECT_EQ(hooked, row.inTray && row.userMode);
    }
    host.userMode = true;
}

TEST_F(TrayTest, AStoredValueOfAnotherTypeIsAnInvalidPropertyValue) {
    tray::cSysTray c(host);
    tray::MemoryPropertyBag bag{{L"InTray", std::wstring(L"yes")}};
    try {
        c.readProperties(bag);
        ADD_FAILURE() << "no error";
    } catch (const runtime::Error& e) {
        EXPECT_EQ(e.number, 380);
    }
}

TEST_F(TrayTest, WritePropertiesStoresAllThreeKeysInOrder) {
    const tray::Picture icon = trayIcon();
    tray::cSysTray c(host);
    c.setTrayIcon(icon);
    c.setTrayTip(L"Tip");
    tray::MemoryPropertyBag bag;
    c.writeProperties(bag);
    ASSERT_EQ(bag.values().size(), 3u);
    EXPECT_EQ(bag.values()[0].first, L"InTray");
    EXPECT_EQ(std::get<bool>(bag.values()[0].second), false);
    EXPECT_EQ(bag.values()[1].first, L"TrayIcon");
    EXPECT_EQ(std::get<tray::Picture>(bag.values()[1].second), icon);
    EXPECT_EQ(bag.values()[2].first, L"TrayTip");
    EXPECT_EQ(std::get<std::wstring>(bag.values()[2].second), L"Tip");
}

TEST_F(TrayTest, InTraySendsOnlyOnARealChange) {
    struct Step {
        bool show;
        std::vector<uint32_t> operations;  // sent by this step
        bool notice;
    };
    struct Row {
        const char* name;
        bool userMode;
        std::vector<Step> steps;
    };
    const std::vector<Row> rows = {
        {"running",
         true,
         {{true, {0}, true}, {true, {}, false}, {false, {2}, true}, {false, {}, false}}},
        {"designing", false, {{true, {}, true}, {true, {}, false}, {false, {}, true}}},
        {"False at first", true, {{false, {}, false}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        host.userMode = row.userMode;
        tray::cSysTray c(host);
        const LONG_PTR ownProcedure = GetWindowLongPtrW(c.hwnd(), GWLP_WNDPROC);
        for (const Step& step : row.steps) {
            sent.clear();
            host.changed.clear();
            c.setInTray(step.show);
            EXPECT_EQ(operations(), step.operations) << "InTray " << step.show;
            EXPECT_EQ(host.changed.size(), step.notice ? 1u : 0u) << "InTray " << step.show;
            EXPECT_EQ(c.InTray(), step.show);
            const bool hooked = GetWindowLongPtrW(c.hwnd(), GWLP_WNDPROC) != ownProcedure;
            EXPECT_EQ(hooked, step.show && row.userMode);
        }
    }
    host.userMode = true;
}

TEST_F(TrayTest, IconAndTipChangesAreSentWhileInTheTray) {
    const tray::Picture icon = trayIcon();
    tray::cSysTray c(host);
    HBITMAP bitmap = CreateBitmap(16, 16, 1, 1, nullptr);
    c.setTrayIcon(tray::Picture::fromBitmap(bitmap, true));
    c.setTrayIcon(tray::Picture());
    EXPECT_FALSE(c.TrayIcon());
    EXPECT_FALSE(c.facePicture());
    EXPECT_TRUE(host.changed.empty());

    c.setTrayTip(L"");
    c.setInTray(true);  // add with no icon and an empty tip: only the callback message
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(field(sent[0], tray::kFlags), tray::kFlagMessage);
    EXPECT_EQ(field(sent[0], tray::kHwnd), tray::handle32(c.hwnd()));

    sent.clear();
    c.setTrayIcon(tray::Picture::fromBitmap(CreateBitmap(16, 16, 1, 1, nullptr), true));
    EXPECT_TRUE(sent.empty());
    c.setTrayIcon(icon);
    c.setTrayTip(L"Vantrel Desk Guard");
    c.setTrayTip(L"");
    ASSERT_EQ(operations(), (std::vector<uint32_t>{1, 1, 1}));
    EXPECT_EQ(field(sent[0], tray::kFlags), tray::kFlagIcon);
    EXPECT_EQ(field(sent[0], tray::kIcon), tray::handle32(icon.handle()));
    EXPECT_EQ(c.facePicture(), icon);
    EXPECT_EQ(tray::readText(sent[1].record, tray::kTip), "Vantrel Desk Guard");
    EXPECT_EQ(field(sent[2], tray::kFlags), tray::kFlagTip);
    EXPECT_EQ(tray::readText(sent[2].record, tray::kTip), "");
    // Text goes out in the ANSI code page.
    c.setTrayTip(L"Caf\u00e9");
    EXPECT_EQ(tray::readText(sent.back().record, tray::kTip), tray::toAnsi(L"Caf\u00e9"));
}

TEST_F(TrayTest, TheShellsRestartPutsTheIconBack) {
    const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    tray::cSysTray c(host);
    c.setTrayIcon(trayIcon());
    c.setTrayTip(L"Vantrel Desk Guard");

    SendMessageW(c.hwnd(), taskbarCreated, 0, 0);
    EXPECT_TRUE(sent.empty()) << "out of the tray: nothing to put back";

    c.setInTray(true);
    const tray::NotifyRequest firstAdd = sent.at(0);
    sent.clear();
    shellAccepts = [](const tray::NotifyRequest& r) { return r.operation != tray::kDelete; };
    SendMessageW(c.hwnd(), taskbarCreated, 0, 0);
    ASSERT_EQ(operations(), (std::vector<uint32_t>{2, 0}));
    EXPECT_EQ(sent[1].record, firstAdd.record) << "the same add request again";

    c.setInTray(false);
    sent.clear();
    SendMessageW(c.hwnd(), taskbarCreated, 0, 0);
    EXPECT_TRUE(sent.empty());
}

TEST_F(TrayTest, ARefusedFirstAddIsTriedAgainForALimitedTime) {
    struct Row {
        const char* name;
        int refusals;  // adds the shell refuses before it accepts
        size_t adds;   // adds sent in all
    };
    addRetry.set({20, 3});
    for (const Row& row : std::vector<Row>{{"accepted at once", 0, 1},
                                           {"accepted on the second try", 1, 2},
                                           {"accepted on the last try", 3, 4},
                                           {"never accepted: gives up", 100, 4}}) {
        SCOPED_TRACE(row.name);
        sent.clear();
        int refusals = row.refusals;
        shellAccepts = [&](const tray::NotifyRequest& r) {
            return r.operation != tray::kAdd || refusals-- <= 0;
        };
        tray::cSysTray c(host);
        c.setInTray(true);
        auto adds = [&] {
            return static_cast<size_t>(std::count_if(
                sent.begin(), sent.end(), [](auto& r) { return r.operation == tray::kAdd; }));
        };
        pumpUntil([&] { return adds() >= row.adds; }, 2000);
        pumpUntil([] { return false; }, 150);  // nothing more follows
        EXPECT_EQ(adds(), row.adds);
        for (const auto& r : sent) EXPECT_EQ(r.record, sent[0].record);
    }
    // Leaving the tray ends the tries.
    sent.clear();
    shellAccepts = [](const tray::NotifyRequest& r) { return r.operation != tray::kAdd; };
    tray::cSysTray c(host);
    c.setInTray(true);
    c.setInTray(false);
    pumpUntil([] { return false; }, 150);
    EXPECT_EQ(operations(), (std::vector<uint32_t>{0, 2}));
}

TEST_F(TrayTest, TheRealShellGetsTheRecordsFields) {
    const tray::NotifyIconRecord r =
        tray::showBalloonRequest(0x00123456, 0, "text", "title", 5000).record;
    const NOTIFYICONDATAA d = tray::nativeRecord(r);
    // The version 2 record: 488 bytes on 32-bit Windows, 504 with 64-bit handles and padding.
    EXPECT_EQ(d.cbSize, sizeof(void*) == 4 ? 488u : 504u);
    EXPECT_EQ(d.hWnd, reinterpret_cast<HWND>(0x00123456));
    EXPECT_EQ(d.uFlags, 0x10u);
    EXPECT_EQ(d.uTimeout, 5000u);
    EXPECT_STREQ(d.szInfo, "text");
    EXPECT_STREQ(d.szInfoTitle, "title");
    EXPECT_EQ(d.szInfo[5], ' ');
#ifndef _WIN64
    // On 32-bit Windows the record is the platform's structure byte for byte.
    EXPECT_EQ(std::memcmp(&d, r.data(), 488), 0);
#endif
}

}  // namespace
