// ShowBalloon: the once gate, the time, the wait that sleeps until a report or the time is up,
// and the clear request.
#include "runtime/run_error.h"
#include "tray_fixture.h"

namespace {

using tray_test::field;
using tray_test::TrayTest;

TEST_F(TrayTest, BalloonWaitEndsWhenTheShellReportsTheBalloonGone) {
    tray::cSysTray c(host);
    c.setInTray(true);
    for (LPARAM code : {0x403, 0x404, 0x405}) {
        SCOPED_TRACE(code);
        sent.clear();
        // The report waits in the queue; the wait's first pass runs it.
        PostMessageW(c.hwnd(), tray::kTrayCallbackMessage, 0, code);
        c.ShowBalloon(L"has been minimized", L"Vantrel Desk Guard", 5, false);
        ASSERT_EQ(sent.size(), 1u) << "the time ran out: a clear request followed";
        EXPECT_EQ(field(sent[0], tray::kTimeout), 5000u);
        EXPECT_FALSE(c.balloonShown());
    }
}

TEST_F(TrayTest, BalloonWaitRunsUntilItsTimeIsUpThenClearsTheBalloon) {
    tray::cSysTray c(host);
    c.setInTray(true);
    sent.clear();
    int moves = 0;
    c.onMouseMove = [&](int32_t&) { ++moves; };
    // Other reports are handled inside the wait and do not end it.
    PostMessageW(c.hwnd(), tray::kTrayCallbackMessage, 0, 0x200);
    c.ShowBalloon(L"text", L"title", 1, false);
    EXPECT_EQ(moves, 1);
    ASSERT_EQ(operations(), (std::vector<uint32_t>{1, 1}));
    EXPECT_EQ(sent[1].record, tray::clearBalloonRequest(sent[0]).record);
    EXPECT_EQ(tray::readText(sent[0].record, tray::kInfoTitle), "title");
    EXPECT_EQ(tray::readText(sent[0].record, tray::kInfo), "text");
    EXPECT_TRUE(c.balloonShown()) << "stays set until the shell reports the balloon hidden";
}

TEST_F(TrayTest, OnceGateAndTheTimeDecideWhatIsSent) {
    struct Call {
        int32_t seconds;
        bool once;
        std::vector<uint32_t> operations;
        int32_t counterAfter;
    };
    tray::cSysTray c(host);
    const std::vector<Call> calls = {
        {0, false, {1}, 0},  // no time: shown, no wait, no clear
        {-5, true, {1}, 1},  // the first once-balloon counts
        {0, true, {}, 1},    // later once-balloons are not shown
        {0, false, {1}, 1},  // balloons not limited to once are always shown and never counted
    };
    for (const Call& call : calls) {
        SCOPED_TRACE(testing::Message() << call.seconds << " " << call.once);
        sent.clear();
        c.ShowBalloon(L"t", L"T", call.seconds, call.once);
        EXPECT_EQ(operations(), call.operations);
        EXPECT_EQ(c.onceCounter(), call.counterAfter);
        if (!sent.empty()) {
            EXPECT_EQ(field(sent[0], tray::kTimeout), 0u);
        }
    }
}

TEST_F(TrayTest, BalloonTimeAbove2147483SecondsFailsBeforeAnythingIsSent) {
    tray::cSysTray c(host);
    for (int32_t seconds : {2147484, INT32_MAX}) {
        try {
            c.ShowBalloon(L"t", L"T", seconds, true);
            ADD_FAILURE() << "no error for " << seconds;
        } catch (const runtime::Error& e) {
            EXPECT_EQ(e.number, runtime::kOverflow);
        }
    }
    EXPECT_TRUE(sent.empty());
    EXPECT_EQ(c.onceCounter(), 0);
    EXPECT_FALSE(c.balloonShown());
    c.ShowBalloon(L"t", L"T", 0, true);  // the once-balloon is still to come
    EXPECT_EQ(sent.size(), 1u);
}

}  // namespace
