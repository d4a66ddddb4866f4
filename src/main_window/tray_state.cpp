// The status line, and the tray icon that tells the same: the "off" icon and the reason in the
// tooltip while the software is off, and one balloon for a user whose window is hidden.
#include <algorithm>

#include "main_window/form1.h"
#include "main_window/status_line.h"
#include "resource_ids.h"
#include "runtime/run_error.h"
#include "settings/settings_store.h"

namespace {

// Set in this user's settings once the policy's reason was shown, so that a locked-down machine
// does not show it at every logon; cleared when a status line tells that the policy is lifted.
const wchar_t kPolicyNoticeKey[] = L"Policy Notice";

// A refused write costs only a notice shown once more: it is not worth an error report.
void markPolicyNotice(const wchar_t* value) {
    try {
        settings::saveSetting(kPolicyNoticeKey, value);
    } catch (const runtime::Error&) {
    }
}

}  // namespace

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
// hidden, each reason is told once a run, the policy's once for this user until it is lifted.
void Form1::TellHiddenUser(const std::wstring& line, const std::wstring& reason) {
    const bool policy = line == main_window::kStatusLinePolicy;
    const bool policyTold = settings::getSetting(kPolicyNoticeKey, L"Off") == L"On";
    if (!policy && policyTold) markPolicyNotice(L"Off");
    if (reason.empty() || !hiddenInTray) return;
    if (policy) {
        if (policyTold) return;
        markPolicyNotice(L"On");
    } else {
        if (std::find(reasonsTold_.begin(), reasonsTold_.end(), reason) != reasonsTold_.end())
            return;
        reasonsTold_.push_back(reason);
    }
    ShowNotice(line);
}
