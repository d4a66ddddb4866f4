// The tray icon at the taskbar's DPI: its size for each DPI the taskbar may report, and a new
// icon for the shell only when that size changed. The taskbar's DPI comes through the services
// seam, modelling a Windows taskbar that has its own DPI: Wine's explorer declares no DPI
// awareness, so the real call may answer 96 at any setting.
#include <cstdio>

#include "tray_fixture.h"
#include "win/icons.h"
#include "win/services.h"
#include "win_test_support.h"

namespace {

using test_support::iconWidth;
using tray_test::field;

class TraySizeTest : public tray_test::TrayTest {
  protected:
    void taskbarAt(int dpi) {
        win::services().taskbarDpi = [dpi] { return dpi; };
    }
    static tray::Picture designIcon(int pixels) {
        return tray::Picture::loadIcon(IDI_TRAY, pixels);
    }
    test_support::SeamGuard<win::Services> savedServices{win::services};
};

TEST_F(TraySizeTest, EachTaskbarDpiGetsItsSizeAndOnlyANewSizeANewIcon) {
    for (auto [dpi, pixels] : {std::pair{96, 16}, std::pair{144, 24}, std::pair{168, 28},
                               std::pair{336, 56}, std::pair{480, 80}}) {
        taskbarAt(dpi);
        tray::cSysTray c(host);
        c.setSizedIcon(designIcon);
        EXPECT_EQ(iconWidth(c.TrayIcon().handle()), pixels) << dpi;
    }

    taskbarAt(96);
    tray::cSysTray c(host);
    c.setSizedIcon(designIcon);
    c.setInTray(true);
    const HANDLE old = c.TrayIcon().handle();
    sent.clear();
    taskbarAt(144);  // the taskbar's monitor now runs at 150 %
    SendMessageW(c.hwnd(), WM_DISPLAYCHANGE, 32, MAKELPARAM(1280, 800));
    ASSERT_EQ(operations(), std::vector<uint32_t>{tray::kModify});
    EXPECT_EQ(field(sent[0], tray::kFlags), static_cast<uint32_t>(NIF_ICON));
    EXPECT_EQ(iconWidth(tray::handleFrom32(field(sent[0], tray::kIcon))), 24);
    EXPECT_EQ(iconWidth(old), 0) << "the replaced icon is destroyed";
    // The same DPI again, by either notice: nothing for the shell.
    SendMessageW(c.hwnd(), WM_DISPLAYCHANGE, 32, MAKELPARAM(1280, 800));
    SendMessageW(c.hwnd(), WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
    EXPECT_EQ(sent.size(), 1u);
    c.setInTray(false);

    // What this system's own taskbar reports, for the record (Wine: see above).
    std::printf("[ record   ] real taskbar DPI %d, tray icon %d pixels, system small icon %d\n",
                win::realTaskbarDpi(), win::trayIconSize(), GetSystemMetrics(SM_CXSMICON));
}

}  // namespace
