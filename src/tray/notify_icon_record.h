#pragma once
// The shell's ANSI notify-icon record in its 488-byte form (balloon fields, no trailing GUID), as
// the tray control sends it with every request. Built here byte for byte, little-endian, without
// any system header, so the layout is checked natively; the Windows side only hands the bytes on.
//
// Text fields take narrow bytes already in the system's ANSI code page. Each is filled the same
// way: the text, cut so that it and one NUL byte fit, then the NUL, then 0x20 in every byte left.
// Fields that a request does not name stay zero.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

namespace tray {

inline constexpr std::size_t kRecordSize = 488;
using NotifyIconRecord = std::array<std::uint8_t, kRecordSize>;

// The message the shell sends to the control's window about its icon (WM_USER + 101).
inline constexpr std::uint32_t kTrayCallbackMessage = 1125;

// Shell_NotifyIcon operations.
enum Operation : std::uint32_t { kAdd = 0, kModify = 1, kDelete = 2 };

// uFlags bits.
inline constexpr std::uint32_t kFlagMessage = 0x01, kFlagIcon = 0x02, kFlagTip = 0x04,
                               kFlagInfo = 0x10;

// Field offsets and sizes.
struct Field {
    std::size_t offset, size;
};
inline constexpr Field kCbSize{0, 4}, kHwnd{4, 4}, kId{8, 4}, kFlags{12, 4},
    kCallbackMessage{16, 4}, kIcon{20, 4}, kTip{24, 128}, kState{152, 4}, kStateMask{156, 4},
    kInfo{160, 256}, kTimeout{416, 4}, kInfoTitle{420, 64}, kInfoFlags{484, 4};

// One request: the operation and the record that goes with it.
struct NotifyRequest {
    Operation operation;
    NotifyIconRecord record;
};

// Window and icon handles as the 32-bit values the record holds.
using Handle32 = std::uint32_t;

// Add: the callback message always; the icon when one is given; the tip when it is not empty.
NotifyRequest addRequest(Handle32 window, std::uint32_t id, std::optional<Handle32> icon,
                         std::string_view tip);
NotifyRequest removeRequest(Handle32 window, std::uint32_t id);
NotifyRequest changeIconRequest(Handle32 window, std::uint32_t id, Handle32 icon);
// An empty tip is sent too: it clears the tooltip.
NotifyRequest changeTipRequest(Handle32 window, std::uint32_t id, std::string_view tip);
// `timeoutMs` 0 leaves uTimeout zero.
NotifyRequest showBalloonRequest(Handle32 window, std::uint32_t id, std::string_view text,
                                 std::string_view title, std::uint32_t timeoutMs);
// The show request's record again, with its balloon title and text emptied (a NUL, then blanks);
// everything else, uTimeout included, stays as the show request had it.
NotifyRequest clearBalloonRequest(const NotifyRequest& shown);

// Reading fields back, for the Windows side and for tests.
std::uint32_t readU32(const NotifyIconRecord& record, Field field);
// A text field up to its first NUL.
std::string_view readText(const NotifyIconRecord& record, Field field);

}  // namespace tray
