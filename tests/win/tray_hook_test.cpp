// The hook on the control's window: what it takes out for the control and what it passes on.
#include "tray_fixture.h"

namespace {

using tray_test::TrayTest;

// A procedure that stands where the control's own one was, so the test sees what the hook passes
// on and controls what it answers.
struct Seen {
    UINT msg;
    WPARAM wp;
    LPARAM lp;
};
std::vector<Seen> seen;
std::vector<std::string>* order = nullptr;
WNDPROC ownProcedure = nullptr;

LRESULT CALLBACK recorder(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg >= WM_APP || msg == tray::kTrayCallbackMessage) {
        seen.push_back({msg, wp, lp});
        if (order) order->push_back("previous procedure");
        return static_cast<LRESULT>(msg) * 1000 + static_cast<LRESULT>(lp);
    }
    return CallWindowProcW(ownProcedure, hwnd, msg, wp, lp);
}

TEST_F(TrayTest, HookPassesEveryMessageOnAndReturnsItsResult) {
    tray::cSysTray c(host);
    ownProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(c.hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(recorder)));
    std::vector<std::string> events;
    order = &events;
    c.onMouseMove = [&](int32_t& id) { events.push_back("move " + std::to_string(id)); };
    c.onMouseDown = [&](int16_t& b, int32_t& id) {
        events.push_back("down " + std::to_string(b) + " " + std::to_string(id));
        b = 9;  // what a handler writes is not used
    };
    c.onMouseUp = [&](int16_t& b, int32_t& id) {
        events.push_back("up " + std::to_string(b) + " " + std::to_string(id));
    };
    c.onMouseDblClick = [&](int16_t& b, int32_t& id) {
        events.push_back("dbl " + std::to_string(b) + " " + std::to_string(id));
    };

    c.setInTray(true);
    ASSERT_EQ(GetWindowLongPtrW(c.hwnd(), GWLP_WNDPROC),
              reinterpret_cast<LONG_PTR>(mSysTray::TrayWindowProc));
    EXPECT_EQ(GetWindowLongPtrW(c.hwnd(), GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&c));

    struct Row {
        UINT msg;
        WPARAM wp;
        LPARAM lp;
        std::vector<std::string> events;
    };
    const std::vector<Row> rows = {
        {WM_APP + 7, 11, 22, {"previous procedure"}},
        {WM_APP + 8, 0xFFFFFFFF, 0x7FFFFFFF, {"previous procedure"}},
        {1125, 0, 0x200, {"move 0", "previous procedure"}},
        {1125, 0, 0x201, {"down 1 0", "previous procedure"}},
        {1125, 0, 0x202, {"up 1 0", "previous procedure"}},
        {1125, 5, 0x204, {"down 2 5", "previous procedure"}},
        {1125, 0, 0x205, {"up 2 0", "previous procedure"}},
        {1125, 0, 0x206, {"dbl 2 0", "previous procedure"}},
        {1125, 0, 0x203, {"dbl 1 0", "previous procedure"}},
        {1125, 0, 0x207, {"previous procedure"}},  // the middle button raises nothing
        {1125, 0, 0x402, {"previous procedure"}},
        {1125, 0, 0x404, {"previous procedure"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.msg << " " << std::hex << row.lp);
        seen.clear();
        events.clear();
        const LRESULT result = SendMessageW(c.hwnd(), row.msg, row.wp, row.lp);
        EXPECT_EQ(events, row.events);
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].msg, row.msg);
        EXPECT_EQ(seen[0].wp, row.wp);
        EXPECT_EQ(seen[0].lp, row.lp);
        EXPECT_EQ(result, static_cast<LRESULT>(row.msg) * 1000 + row.lp);
    }

    c.setInTray(false);
    EXPECT_EQ(GetWindowLongPtrW(c.hwnd(), GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(recorder))
        << "the previous procedure is back";
    EXPECT_EQ(GetWindowLongPtrW(c.hwnd(), GWLP_USERDATA), reinterpret_cast<LONG_PTR>(&c));
    events.clear();
    SendMessageW(c.hwnd(), 1125, 0, 0x202);
    EXPECT_EQ(events, std::vector<std::string>{"previous procedure"}) << "no events once unhooked";
    order = nullptr;
    SetWindowLongPtrW(c.hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ownProcedure));
}

TEST_F(TrayTest, HookIsInPlaceBeforeTheAddAndGoneOnlyAfterTheDelete) {
    tray::cSysTray c(host);
    const LONG_PTR own = GetWindowLongPtrW(c.hwnd(), GWLP_WNDPROC);
    std::vector<bool> hookedWhenSent;
    notifySender.set([&](const tray::NotifyRequest&) {
        hookedWhenSent.push_back(GetWindowLongPtrW(c.hwnd(), GWLP_WNDPROC) != own);
        return true;
    });
    c.setInTray(true);
    c.setInTray(false);
    EXPECT_EQ(hookedWhenSent, (std::vector<bool>{true, true}));
    EXPECT_EQ(GetWindowLongPtrW(c.hwnd(), GWLP_WNDPROC), own);
}

TEST_F(TrayTest, AControlThatEndsInTheTrayTakesItsIconAndHookAway) {
    HWND window;
    {
        tray::cSysTray c(host);
        window = c.hwnd();
        c.setInTray(true);
        sent.clear();
    }
    EXPECT_EQ(operations(), std::vector<uint32_t>{2});
    EXPECT_FALSE(IsWindow(window));
}

}  // namespace
