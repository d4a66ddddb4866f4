// Minimizing into the notification area, coming back from it, and the help box.
#include <windows.h>

#include "build_config.h"
#include "main_window/app_title.h"
#include "main_window/form1.h"
#include "runtime/error_report.h"
#include "runtime/procedure_path.h"
#include "ui/message_box.h"

namespace {

const std::wstring kBalloonText =
    L"has been minimized to the system tray.\r\n"
    L"Click on the blue 'T' icon (T for Tamberlin) to bring the software back.";

std::wstring helpText() {
    return std::wstring(
               L"This software will do the same as pressing Ctrl+Alt+Del and clicking Lock in one "
               L"key press.\r\n\r\n"
               L"This software minimizes to the bottom-right corner of the screen.\r\n\r\n"
               L"Questions? Please contact Team Tamberlin at ") +
           build_config::kContactPage;
}

}  // namespace

void Form1::onResize() {
    // The load handler may set the hidden window minimized; it is taken into the tray when the
    // window is first shown, once the icon is there.
    if (loading_) return;
    if (windowState() != ui::kStateMinimized || hiddenInTray) return;
    setVisible(false);
    setWindowState(ui::kStateNormal);  // shown again later in its normal size and place
    hiddenInTray = true;
    cSysTray1.ShowBalloon(kBalloonText, std::wstring(main_window::kProductTitle), 5, true);
}

void Form1::cSysTray1_MouseUp() {
    show();         // visible, and brought to the front when it is in its normal state
    focusWindow();  // refused while a box of the program is open: the flag is cleared anyway
    hiddenInTray = false;
}

void Form1::PushButton1_Click() {
    runtime::Guard g(runtime::procedurePath(L"Form1", L"PushButton1_Click"));
    g.step(100, [&] { ui::messageBox(helpText(), MB_OK); });
}
