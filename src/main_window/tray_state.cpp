// The status line, and the tray icon that tells the same: the "off" icon and the reason in the
// tooltip while the software is off, and one balloon for a user whose window is hidden.
#include "main_window/form1.h"
#include "main_window/status_line.h"
#include "resource_ids.h"

void Form1::SetStatusLine(const std::wstring& line, bool announce) {
    Label1.setCaption(line, announce);
    const std::wstring reason = main_window::offReason(line);
    const bool off = !reason.empty();
    if (!trayIconChosen_ || off != trayOff_) {
        trayIconChosen_ = true;
        trayOff_ = off;
        const int icon = off ? IDI_TRAY_OFF : IDI_TRAY;
        cSysTray1.setSizedIcon(
            [icon](int pixels) { return tray::Picture::loadIcon(icon, pixels); });
    }
    // Before the icon is in the tray the tip is only kept; the load hands it over before the add.
    trayTip_ = main_window::trayTip(reason);
    if (cSysTray1.InTray() && cSysTray1.TrayTip() != trayTip_) cSysTray1.setTrayTip(trayTip_);
    TellHiddenUser(line, reason);
}

// Most users keep the icon among the hidden ones and would not see it change: while the window is
// hidden, each reason is told once a run, the policy's once for this user until it is lifted, so
// that a locked-down machine does not tell it at every logon.
void Form1::TellHiddenUser(const std::wstring& line, const std::wstring& reason) {
    using main_window::Notice;
    const bool policy = line == main_window::kStatusLinePolicy;
    if (!policy) notices_.lift(Notice::kLockPolicy);
    if (reason.empty() || !hiddenInTray) return;
    if (notices_.firstTelling(policy ? Notice::kLockPolicy : Notice::kOffReason, reason))
        ShowNotice(line);
}
