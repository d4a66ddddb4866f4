#include "tray/tray_rules.h"

#include <gtest/gtest.h>

#include <vector>

#include "runtime/run_error.h"

namespace {

using tray::TrayEvent;

TEST(TrayRules, NotificationCodesRaiseTheirEvents) {
    struct Row {
        int32_t code;
        TrayEvent event;
        int16_t button;
    };
    const std::vector<Row> rows = {
        {0x200, TrayEvent::MouseMove, 0},
        {0x201, TrayEvent::MouseDown, 1},
        {0x202, TrayEvent::MouseUp, 1},
        {0x203, TrayEvent::MouseDblClick, 1},
        {0x204, TrayEvent::MouseDown, 2},
        {0x205, TrayEvent::MouseUp, 2},
        {0x206, TrayEvent::MouseDblClick, 2},
        {0x207, TrayEvent::None, 0},
        {0x208, TrayEvent::None, 0},
        {0x209, TrayEvent::None, 0},
        {0x1FF, TrayEvent::None, 0},
        {0x402, TrayEvent::None, 0},
        {0x403, TrayEvent::BalloonEnded, 0},
        {0x404, TrayEvent::BalloonEnded, 0},
        {0x405, TrayEvent::BalloonEnded, 0},
        {0x406, TrayEvent::None, 0},
        {0, TrayEvent::None, 0},
        {-0x202, TrayEvent::None, 0},
        {0x10202, TrayEvent::None, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.code);
        const tray::Notification n = tray::classifyNotification(row.code);
        EXPECT_EQ(n.event, row.event);
        EXPECT_EQ(n.button, row.button);
    }
}

TEST(TrayRules, OnceGateLetsTheFirstBalloonThroughOnly) {
    struct Row {
        bool once;
        int32_t counter;
        bool open;
    };
    for (const Row& row : std::vector<Row>{{true, 0, true},
                                           {true, 1, false},
                                           {true, 2, false},
                                           {true, -1, true},
                                           {false, 0, true},
                                           {false, 1, true},
                                           {false, 99, true}}) {
        SCOPED_TRACE(testing::Message() << row.once << " " << row.counter);
        EXPECT_EQ(tray::balloonGateOpen(row.once, row.counter), row.open);
    }
}

TEST(TrayRules, BalloonTimeIsMillisecondsUpTo2147483Seconds) {
    struct Row {
        int32_t seconds;
        uint32_t ms;
    };
    for (const Row& row : std::vector<Row>{
             {5, 5000}, {1, 1000}, {0, 0}, {-1, 0}, {INT32_MIN, 0}, {2147483, 2147483000u}}) {
        SCOPED_TRACE(row.seconds);
        EXPECT_EQ(tray::balloonTimeoutMs(row.seconds), row.ms);
    }
    for (int32_t seconds : {2147484, 3000000, INT32_MAX}) {
        SCOPED_TRACE(seconds);
        try {
            tray::balloonTimeoutMs(seconds);
            ADD_FAILURE() << "no error";
        } catch (const runtime::Error& e) {
            EXPECT_EQ(e.number, 6);
            EXPECT_EQ(e.description, L"Overflow");
        }
    }
}

}  // namespace
