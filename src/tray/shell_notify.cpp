#include "tray/shell_notify.h"

#include <shellapi.h>

#include <cstring>
#include <utility>

namespace tray {
namespace {

NotifySender& senderStore() {
    static NotifySender sender;
    return sender;
}

void copyText(char* to, const NotifyIconRecord& record, Field field) {
    std::memcpy(to, record.data() + field.offset, field.size);
}

}  // namespace

NotifySender setNotifySender(NotifySender sender) {
    return std::exchange(senderStore(), std::move(sender));
}

bool sendNotify(const NotifyRequest& request) {
    if (senderStore()) return senderStore()(request);
    NOTIFYICONDATAA data = nativeRecord(request.record);
    return Shell_NotifyIconA(request.operation, &data) != FALSE;
}

NOTIFYICONDATAA nativeRecord(const NotifyIconRecord& record) {
    NOTIFYICONDATAA d{};
    d.cbSize = NOTIFYICONDATAA_V2_SIZE;
    d.hWnd = static_cast<HWND>(handleFrom32(readU32(record, kHwnd)));
    d.uID = readU32(record, kId);
    d.uFlags = readU32(record, kFlags);
    d.uCallbackMessage = readU32(record, kCallbackMessage);
    d.hIcon = static_cast<HICON>(handleFrom32(readU32(record, kIcon)));
    copyText(d.szTip, record, kTip);
    d.dwState = readU32(record, kState);
    d.dwStateMask = readU32(record, kStateMask);
    copyText(d.szInfo, record, kInfo);
    d.uTimeout = readU32(record, kTimeout);
    copyText(d.szInfoTitle, record, kInfoTitle);
    d.dwInfoFlags = readU32(record, kInfoFlags);
    return d;
}

std::string toAnsi(const std::wstring& text) {
    if (text.empty()) return {};
    const int size = static_cast<int>(text.size());
    const int n = WideCharToMultiByte(CP_ACP, 0, text.data(), size, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.data(), size, out.data(), n, nullptr, nullptr);
    return out;
}

Handle32 handle32(const void* handle) {
    return static_cast<Handle32>(reinterpret_cast<std::uintptr_t>(handle));
}

HANDLE handleFrom32(Handle32 value) {
    return reinterpret_cast<HANDLE>(static_cast<std::intptr_t>(static_cast<std::int32_t>(value)));
}

}  // namespace tray
