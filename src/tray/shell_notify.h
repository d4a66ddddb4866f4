#pragma once
// The one way out to the shell's notification area: a request's bytes handed to
// Shell_NotifyIconA. Tests replace the sender to see what the control sends.
#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <string>

#include "tray/notify_icon_record.h"

namespace tray {

// Sends one request; the shell's answer (false when it refused or is not there yet).
bool sendNotify(const NotifyRequest& request);

using NotifySender = std::function<bool(const NotifyRequest& request)>;
// Empty: the real shell. Returns the sender it replaced.
NotifySender setNotifySender(NotifySender sender);

// The record's fields in the platform's own NOTIFYICONDATAA (its 488-byte version 2 form). On a
// 32-bit build its bytes are the record's bytes; a 64-bit build has wider handles and padding.
NOTIFYICONDATAA nativeRecord(const NotifyIconRecord& record);

// Text in the system's ANSI code page, as the record carries it; characters the code page lacks
// arrive as the system's conversion renders them. Embedded NULs are kept.
std::string toAnsi(const std::wstring& text);

// Handles as the record's 32-bit values, and back (handles are sign-extended 32-bit values on
// 64-bit Windows).
Handle32 handle32(const void* handle);
HANDLE handleFrom32(Handle32 value);

}  // namespace tray
