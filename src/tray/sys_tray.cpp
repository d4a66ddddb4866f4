#include "tray/sys_tray.h"

#include <chrono>
#include <utility>

#include "runtime/run_error.h"
#include "tray/m_sys_tray.h"
#include "tray/shell_notify.h"
#include "tray/tray_rules.h"
#include "ui/twips.h"
#include "win/dpi.h"
#include "win/icons.h"
#include "win/message_filter.h"
#include "win/message_loop.h"
#include "win/window_class.h"

namespace tray {
namespace {

const wchar_t kWindowClass[] = L"VantrelTrayControl";
constexpr UINT_PTR kRetryTimer = 1;
// A start at logon: try every two seconds for up to a minute.
cSysTray::AddRetry addRetry{2000, 30};

UINT taskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}

template <class T>
T propertyAs(const PropertyValue& value) {
    if (const T* v = std::get_if<T>(&value)) return *v;
    throw runtime::Error(runtime::kInvalidPropertyValue);
}

bool quitPending() {
    MSG msg;
    return PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE;
}

}  // namespace

cSysTray::AddRetry cSysTray::setAddRetry(AddRetry retry) {
    return std::exchange(addRetry, retry);
}

cSysTray::cSysTray(ControlHost& host) : host_(host) {
    win::registerWindowClass(kWindowClass, win::objectWindowProc<cSysTray>);
    // Top-level and never shown: the shell's broadcasts reach top-level windows only.
    win::createWindow(WS_EX_TOOLWINDOW, kWindowClass, L"", WS_POPUP, 0, 0, 0, 0, nullptr, this);
    // An elevated program hears the non-elevated shell's "TaskbarCreated" only where its window
    // admits that message.
    win::admitMessage(hwnd_, taskbarCreatedMessage());
    resize(kBoxTwips, kBoxTwips);
}

cSysTray::~cSysTray() {
    if (inTray_) setInTray(false);
    if (hwnd_) DestroyWindow(hwnd_);
}

// ---- host life cycle ---------------------------------------------------------------------------

void cSysTray::initProperties() {
    setInTray(false);
    setTrayTip(kDefaultTip);
    setTrayIcon(face_);
}

void cSysTray::readProperties(PropertyBag& bag) {
    setInTray(propertyAs<bool>(bag.readProperty(L"InTray", false)));
    setTrayIcon(propertyAs<Picture>(bag.readProperty(L"TrayIcon", face_)));
    setTrayTip(propertyAs<std::wstring>(bag.readProperty(L"TrayTip", kDefaultTip)));
}

void cSysTray::writeProperties(PropertyBag& bag) const {
    bag.writeProperty(L"InTray", inTray_);
    bag.writeProperty(L"TrayIcon", icon_);
    bag.writeProperty(L"TrayTip", tip_);
}

void cSysTray::resize(int, int) {
    width_ = height_ = kBoxTwips;
    const int pixels = ui::twipsToPixels(kBoxTwips, win::dpiForWindow(hwnd_));
    SetWindowPos(hwnd_, nullptr, 0, 0, pixels, pixels, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---- properties --------------------------------------------------------------------------------

void cSysTray::setTrayIcon(const Picture& icon) {
    if (!icon || icon.type() != Picture::kIcon) return;
    if (added_) sendNotify(changeIconRequest(handle32(hwnd_), id_, handle32(icon.handle())));
    icon_ = icon;
    face_ = icon;
    InvalidateRect(hwnd_, nullptr, TRUE);
    host_.propertyChanged(L"TrayIcon");
}

void cSysTray::setTrayTip(const std::wstring& tip) {
    if (added_) sendNotify(changeTipRequest(handle32(hwnd_), id_, toAnsi(tip)));
    tip_ = tip;
    host_.propertyChanged(L"TrayTip");
}

void cSysTray::setInTray(bool show) {
    if (show == inTray_) return;
    if (show) {
        if (host_.ambientUserMode()) {
            mSysTray::Install(hwnd_, this);
            const bool accepted = AddToTray(hwnd_, id_, tip_, icon_);
            added_ = true;
            if (!accepted) startRetry();  // the shell is not there yet
        }
    } else if (added_) {
        RemoveFromTray(hwnd_, id_);
        mSysTray::Remove(hwnd_);
        added_ = false;
    }
    inTray_ = show;
    host_.propertyChanged(L"InTray");
}

void cSysTray::setSizedIcon(std::function<Picture(int)> load) {
    sizedIcon_ = std::move(load);
    iconSize_ = win::trayIconSize();
    setTrayIcon(sizedIcon_(iconSize_));
}

// Our window's own WM_DPICHANGED says nothing of the taskbar's monitor; these notices are what
// can tell that the taskbar's DPI changed. The icon it replaces goes once the shell has the new
// one.
void cSysTray::taskbarMayHaveChanged() {
    if (!sizedIcon_) return;
    const int size = win::trayIconSize();
    if (size == iconSize_) return;
    iconSize_ = size;
    setTrayIcon(sizedIcon_(size));
}

// ---- requests ----------------------------------------------------------------------------------

bool cSysTray::AddToTray(HWND window, std::int32_t id, const std::wstring& tip,
                         const Picture& icon) {
    std::optional<Handle32> iconHandle;
    if (icon) {
        iconHandle = handle32(icon.handle());
        icon_ = icon;
    }
    if (!tip.empty()) tip_ = tip;
    return sendNotify(
        addRequest(handle32(window), static_cast<std::uint32_t>(id), iconHandle, toAnsi(tip)));
}

void cSysTray::RemoveFromTray(HWND window, std::int32_t id) {
    stopRetry();
    sendNotify(removeRequest(handle32(window), static_cast<std::uint32_t>(id)));
}

NotifyRequest cSysTray::currentAddRequest() const {
    std::optional<Handle32> iconHandle;
    if (icon_) iconHandle = handle32(icon_.handle());
    return addRequest(handle32(hwnd_), static_cast<std::uint32_t>(id_), iconHandle, toAnsi(tip_));
}

// Tries the add again on a one-shot timer, re-armed per try, `addRetry.attempts` times at most.
void cSysTray::startRetry() {
    retriesLeft_ = addRetry.attempts;
    SetTimer(hwnd_, kRetryTimer, addRetry.intervalMs, nullptr);
}

void cSysTray::stopRetry() {
    retriesLeft_ = 0;
    KillTimer(hwnd_, kRetryTimer);
}

void cSysTray::retryAdd() {
    KillTimer(hwnd_, kRetryTimer);  // one shot; armed again below when this try fails too
    if (!added_ || retriesLeft_ <= 0) return;
    --retriesLeft_;
    if (sendNotify(currentAddRequest()))
        retriesLeft_ = 0;
    else if (retriesLeft_ > 0)
        SetTimer(hwnd_, kRetryTimer, addRetry.intervalMs, nullptr);
}

void cSysTray::addAgainAfterShellRestart() {
    sendNotify(removeRequest(handle32(hwnd_), static_cast<std::uint32_t>(id_)));  // result ignored
    if (sendNotify(currentAddRequest())) {
        stopRetry();
    } else if (retriesLeft_ <= 0) {
        startRetry();
    }
}

// ---- shell reports and balloons ----------------------------------------------------------------

void cSysTray::DispatchTrayMessage(std::int32_t code, std::int32_t id) {
    const Notification n = classifyNotification(code);
    std::int16_t button = n.button;
    std::int32_t argId = id;
    switch (n.event) {
        case TrayEvent::MouseMove:
            if (onMouseMove) onMouseMove(argId);
            break;
        case TrayEvent::MouseDown:
            if (onMouseDown) onMouseDown(button, argId);
            break;
        case TrayEvent::MouseUp:
            if (onMouseUp) onMouseUp(button, argId);
            break;
        case TrayEvent::MouseDblClick:
            if (onMouseDblClick) onMouseDblClick(button, argId);
            break;
        case TrayEvent::BalloonEnded:
            balloonShown_ = false;
            break;
        case TrayEvent::None:
            break;
    }
}

void cSysTray::ShowBalloon(const std::wstring& Tip, const std::wstring& sTitle,
                           std::int32_t ShowTimer, bool ShowOnce) {
    if (!balloonGateOpen(ShowOnce, onceCounter_)) return;
    const std::uint32_t timeoutMs = balloonTimeoutMs(ShowTimer);  // may fail: nothing sent yet
    const NotifyRequest shown = showBalloonRequest(handle32(hwnd_), static_cast<std::uint32_t>(id_),
                                                   toAnsi(Tip), toAnsi(sTitle), timeoutMs);
    sendNotify(shown);
    balloonShown_ = true;
    if (ShowOnce) ++onceCounter_;
    if (ShowTimer <= 0) return;
    waitEnded_ = false;
    waitForBalloon(ShowTimer);
    // Time is up and the shell has not reported the balloon gone: take it down. The flag stays
    // set until the shell reports the balloon hidden.
    const bool ended = std::exchange(waitEnded_, false);
    if (balloonShown_ && !ended) sendNotify(clearBalloonRequest(shown));
}

void cSysTray::waitForBalloon(std::int32_t seconds) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::seconds(seconds);
    while (balloonShown_ && !waitEnded_) {
        const Clock::time_point now = Clock::now();
        if (now >= deadline) break;
        // Sleep until a message arrives or the time is up; then run what arrived.
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - now).count();
        MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(left), QS_ALLINPUT,
                                    MWMO_INPUTAVAILABLE);
        win::pumpPendingMessages();
        if (quitPending()) break;  // the program is ending: do not hold it
    }
}

// ---- the control's own window ------------------------------------------------------------------

void cSysTray::paintFace() {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(hwnd_, &ps);
    if (face_.type() == Picture::kIcon)
        DrawIconEx(dc, 0, 0, static_cast<HICON>(face_.handle()), 0, 0, 0, nullptr, DI_NORMAL);
    EndPaint(hwnd_, &ps);
}

LRESULT cSysTray::handle(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == taskbarCreatedMessage()) {
        // The shell restarted and lost its icons, or (after a scaling change) kept them: a control
        // in the tray puts its icon back, at the size the new taskbar draws.
        taskbarMayHaveChanged();
        if (added_) addAgainAfterShellRestart();
        return 0;
    }
    switch (msg) {
        case WM_DISPLAYCHANGE:
            taskbarMayHaveChanged();
            break;
        case WM_SETTINGCHANGE:
            if (wp == SPI_SETWORKAREA || wp == SPI_SETNONCLIENTMETRICS) taskbarMayHaveChanged();
            break;
        case WM_TIMER:
            if (wp == kRetryTimer) {
                retryAdd();
                return 0;
            }
            break;
        case WM_PAINT:
            paintFace();
            return 0;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace tray
