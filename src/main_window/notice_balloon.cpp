// Notices over the tray icon.
#include "main_window/app_title.h"
#include "main_window/form1.h"

void Form1::ShowNotice(const std::wstring& text) {
    // No time: the call returns at once, and a notice is not limited to once. A minimize balloon
    // still waiting would clear this one when its time is up: that wait ends now.
    cSysTray1.EndBalloonWait();
    cSysTray1.ShowBalloon(text, std::wstring(main_window::kProductTitle), 0, false);
}
