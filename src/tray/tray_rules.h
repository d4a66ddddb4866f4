#pragma once
// The tray control's rules that need no window: which event a shell notification raises, and the
// gate and time of a balloon.
#include <cstdint>

namespace tray {

enum class TrayEvent { None, MouseMove, MouseDown, MouseUp, MouseDblClick, BalloonEnded };

struct Notification {
    TrayEvent event;
    std::int16_t button;  // 1 left, 2 right; 0 where the event has none
};

// The notification code is the callback message's lParam. Left and right button codes raise the
// mouse events; balloon hidden, timed out and clicked (0x403 to 0x405) end the balloon; every
// other code (balloon shown, the middle button) raises nothing.
Notification classifyNotification(std::int32_t code);

// Whether ShowBalloon goes on: always when not limited to once, else only before the first one.
bool balloonGateOpen(bool showOnce, std::int32_t onceCounter);

// The balloon time in milliseconds for a time in seconds: 0 for 0 or less. Above 2147483 seconds
// the product leaves the 32-bit signed range and the call fails with the overflow error (6).
std::uint32_t balloonTimeoutMs(std::int32_t seconds);

}  // namespace tray
