#pragma once
// cSysTray: a control that owns one icon in the notification area. It adds and removes the icon,
// keeps its picture and tooltip current, shows balloons over it and raises mouse events when the
// user points at or clicks it. It has no surface of its own at run time; while its host is being
// designed it shows its icon picture in a fixed 510 x 510 twips box.
//
// The shell reports on the icon to the control's own window, a hidden top-level window (so that
// the "TaskbarCreated" broadcast reaches it too). The hook of mSysTray sits on that window while
// the icon is in the tray and hands the reports to DispatchTrayMessage.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "tray/control_host.h"
#include "tray/notify_icon_record.h"
#include "tray/picture.h"
#include "win/window_class.h"

namespace tray {

// The default tip of a new instance: the text and one NUL character, 14 characters in all.
inline const std::wstring kDefaultTip(L"Telnet Server\0", 14);
// The fixed box of the control, in twips.
inline constexpr int kBoxTwips = 510;

class cSysTray {
  public:
    // Initialize: out of the tray, icon id 0, its own window created.
    explicit cSysTray(ControlHost& host);
    cSysTray(const cSysTray&) = delete;
    cSysTray& operator=(const cSysTray&) = delete;
    // Terminate: a control in the tray takes its icon out first.
    ~cSysTray();

    // Host life cycle.
    void initProperties();  // a new instance placed on a form at design time
    void readProperties(PropertyBag& bag);
    void writeProperties(PropertyBag& bag) const;
    void resize(int widthTwips, int heightTwips);  // the control keeps its fixed box
    int widthTwips() const { return width_; }
    int heightTwips() const { return height_; }

    // Properties. A picture that is not an icon is ignored.
    const Picture& TrayIcon() const { return icon_; }
    void setTrayIcon(const Picture& icon);
    const std::wstring& TrayTip() const { return tip_; }
    void setTrayTip(const std::wstring& tip);
    bool InTray() const { return inTray_; }
    void setInTray(bool show);

    // The icon at the size the notification area draws it: `load` gives it for a size in pixels.
    // The control takes it as its TrayIcon now, and again whenever the taskbar may have changed
    // its DPI (the shell restarted, the displays or the work area changed) and that size did.
    void setSizedIcon(std::function<Picture(int pixels)> load);

    // Shows a balloon over the icon and, with a positive time, waits until the shell reports it
    // gone or the time is up, processing window messages meanwhile. Fails with the overflow error
    // for a time above 2147483 seconds, before anything is sent.
    void ShowBalloon(const std::wstring& Tip, const std::wstring& sTitle, std::int32_t ShowTimer,
                     bool ShowOnce);

    // Ends a balloon's running wait at once, without its clear request: a balloon shown since
    // then stays up. Nothing happens while no wait runs.
    void EndBalloonWait() { waitEnded_ = true; }

    // A shell report on the icon: code is the callback message's lParam, id its wParam.
    // Called by mSysTray's hook; not part of what hosts use.
    void DispatchTrayMessage(std::int32_t code, std::int32_t id);

    // Events. Both arguments are passed by reference; what a handler writes is not used.
    std::function<void(std::int32_t& Id)> onMouseMove;
    std::function<void(std::int16_t&Button, std::int32_t&Id)> onMouseDown, onMouseUp,
        onMouseDblClick;

    HWND hwnd() const { return hwnd_; }
    const Picture& facePicture() const { return face_; }
    bool balloonShown() const { return balloonShown_; }
    std::int32_t onceCounter() const { return onceCounter_; }

    // While the shell is not there yet (a start at logon), a refused first add is tried again:
    // every `intervalMs`, at most `attempts` times. Tests shorten it; the pacing replaced is
    // returned.
    struct AddRetry {
        UINT intervalMs;
        int attempts;
    };
    static AddRetry setAddRetry(AddRetry retry);

  private:
    template <class T>
    friend LRESULT CALLBACK win::objectWindowProc(HWND, UINT, WPARAM, LPARAM);
    void attachWindow(HWND hwnd) { hwnd_ = hwnd; }
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
    // The shell's answer is used only to try again while the shell is not there yet.
    bool AddToTray(HWND window, std::int32_t id, const std::wstring& tip, const Picture& icon);
    void RemoveFromTray(HWND window, std::int32_t id);
    NotifyRequest currentAddRequest() const;
    void startRetry();
    void retryAdd();
    void stopRetry();
    void addAgainAfterShellRestart();
    void taskbarMayHaveChanged();
    void waitForBalloon(std::int32_t seconds);
    void paintFace();

    ControlHost& host_;
    HWND hwnd_ = nullptr;
    bool inTray_ = false;
    std::int32_t id_ = 0;
    std::wstring tip_;
    Picture icon_, face_;
    bool added_ = false;
    bool balloonShown_ = false;
    bool waitEnded_ = false;  // EndBalloonWait during the running wait
    std::int32_t onceCounter_ = 0;
    int width_ = kBoxTwips, height_ = kBoxTwips;
    int retriesLeft_ = 0;
    std::function<Picture(int)> sizedIcon_;
    int iconSize_ = 0;  // of the sized icon, in pixels
};

}  // namespace tray
