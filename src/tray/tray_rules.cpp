#include "tray/tray_rules.h"

#include <cstdint>

#include "runtime/run_error.h"

namespace tray {

Notification classifyNotification(std::int32_t code) {
    switch (code) {
        case 0x200:
            return {TrayEvent::MouseMove, 0};
        case 0x201:
            return {TrayEvent::MouseDown, 1};
        case 0x202:
            return {TrayEvent::MouseUp, 1};
        case 0x203:
            return {TrayEvent::MouseDblClick, 1};
        case 0x204:
            return {TrayEvent::MouseDown, 2};
        case 0x205:
            return {TrayEvent::MouseUp, 2};
        case 0x206:
            return {TrayEvent::MouseDblClick, 2};
        case 0x403:
        case 0x404:
        case 0x405:
            return {TrayEvent::BalloonEnded, 0};
        default:
            return {TrayEvent::None, 0};
    }
}

bool balloonGateOpen(bool showOnce, std::int32_t onceCounter) {
    return !showOnce || onceCounter < 1;
}

std::uint32_t balloonTimeoutMs(std::int32_t seconds) {
    constexpr std::int32_t kLargest = INT32_MAX / 1000;  // 2147483
    if (seconds <= 0) return 0;
    if (seconds > kLargest) throw runtime::Error(runtime::kOverflow);
    return static_cast<std::uint32_t>(seconds * 1000);
}

}  // namespace tray
