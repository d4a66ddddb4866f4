#include "tray/notify_icon_record.h"

#include <algorithm>

namespace tray {
namespace {

void putU32(NotifyIconRecord& record, Field field, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i)
        record[field.offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

void putText(NotifyIconRecord& record, Field field, std::string_view text) {
    const std::size_t kept = std::min(text.size(), field.size - 1);
    auto at = record.begin() + static_cast<std::ptrdiff_t>(field.offset);
    at = std::copy_n(reinterpret_cast<const std::uint8_t*>(text.data()), kept, at);
    *at++ = 0;
    std::fill(at, record.begin() + static_cast<std::ptrdiff_t>(field.offset + field.size), 0x20);
}

NotifyRequest header(Operation operation, Handle32 window, std::uint32_t id, std::uint32_t flags) {
    NotifyRequest request{operation, {}};
    putU32(request.record, kCbSize, kRecordSize);
    putU32(request.record, kHwnd, window);
    putU32(request.record, kId, id);
    putU32(request.record, kFlags, flags);
    return request;
}

}  // namespace

NotifyRequest addRequest(Handle32 window, std::uint32_t id, std::optional<Handle32> icon,
                         std::string_view tip) {
    const std::uint32_t flags =
        kFlagMessage | (icon ? kFlagIcon : 0u) | (tip.empty() ? 0u : kFlagTip);
    NotifyRequest request = header(kAdd, window, id, flags);
    if (icon) putU32(request.record, kIcon, *icon);
    if (!tip.empty()) putText(request.record, kTip, tip);
    putU32(request.record, kCallbackMessage, kTrayCallbackMessage);
    return request;
}

NotifyRequest removeRequest(Handle32 window, std::uint32_t id) {
    return header(kDelete, window, id, 0);
}

NotifyRequest changeIconRequest(Handle32 window, std::uint32_t id, Handle32 icon) {
    NotifyRequest request = header(kModify, window, id, kFlagIcon);
    putU32(request.record, kIcon, icon);
    return request;
}

NotifyRequest changeTipRequest(Handle32 window, std::uint32_t id, std::string_view tip) {
    NotifyRequest request = header(kModify, window, id, kFlagTip);
    putText(request.record, kTip, tip);
    return request;
}

NotifyRequest showBalloonRequest(Handle32 window, std::uint32_t id, std::string_view text,
                                 std::string_view title, std::uint32_t timeoutMs) {
    NotifyRequest request = header(kModify, window, id, kFlagInfo);
    putText(request.record, kInfoTitle, title);
    putText(request.record, kInfo, text);
    putU32(request.record, kTimeout, timeoutMs);
    return request;
}

NotifyRequest clearBalloonRequest(const NotifyRequest& shown) {
    NotifyRequest request = shown;
    putText(request.record, kInfoTitle, {});
    putText(request.record, kInfo, {});
    return request;
}

std::uint32_t readU32(const NotifyIconRecord& record, Field field) {
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < 4; ++i)
        value |= static_cast<std::uint32_t>(record[field.offset + i]) << (8 * i);
    return value;
}

std::string_view readText(const NotifyIconRecord& record, Field field) {
    const char* begin = reinterpret_cast<const char*>(record.data() + field.offset);
    return std::string_view(begin, field.size)
        .substr(0, std::string_view(begin, field.size).find('\0'));
}

}  // namespace tray
