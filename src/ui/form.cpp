#include "ui/form.h"

#include <windowsx.h>

#include <utility>

#include "ui/twips.h"
#include "win/dpi.h"
#include "win/error_sink.h"
#include "win/files.h"
#include "win/icons.h"
#include "win/message_loop.h"
#include "win/services.h"
#include "win/window_class.h"
#include "win/window_text.h"

namespace ui {
namespace {

const wchar_t kFormClass[] = L"VantrelForm";
// Posted to the form to move the first focus off the unseen box (queueFirstFocusMove).
constexpr UINT kMoveFirstFocus = WM_APP;

}  // namespace

Form::~Form() {
    if (hwnd_) {
        win::detachObject(hwnd_);  // what derives from the form is gone already
        DestroyWindow(hwnd_);
    }
}

Form* Form::fromHwnd(HWND hwnd) {
    return win::boundObject<Form>(hwnd);
}

std::vector<HWND> Form::formsOfOtherCopies() {
    // Window classes are not protected: any program on the desktop may own a window of ours. The
    // file name raises the bar for a stranger that would answer for a copy; it is no security
    // boundary. Only the name counts, so a copy installed elsewhere is still one.
    const std::wstring ours = win::programPath();
    std::vector<HWND> forms;
    for (HWND h = nullptr; (h = FindWindowExW(nullptr, h, kFormClass, nullptr));) {
        DWORD process = 0;
        GetWindowThreadProcessId(h, &process);
        if (process == GetCurrentProcessId()) continue;
        const std::optional<std::wstring> theirs = win::processImagePath(process);
        if (!theirs || win::sameFileName(*theirs, ours)) forms.push_back(h);
    }
    return forms;
}

void Form::createWindow(const wchar_t* caption, int clientWidthTwips, int clientHeightTwips,
                        DWORD style) {
    win::registerWindowClass(kFormClass, win::objectWindowProc<Form>, CS_DBLCLKS);
    // Tab and the arrow keys move between the controls of a form, in every message loop.
    win::setDialogWindowTest([](HWND root) { return fromHwnd(root) != nullptr; });
    clientWidthTwips_ = clientWidthTwips;
    clientHeightTwips_ = clientHeightTwips;
    style_ = style | WS_CLIPCHILDREN;
    hwnd_ = win::createWindow(WS_EX_CONTROLPARENT, kFormClass, caption, style_, CW_USEDEFAULT,
                              CW_USEDEFAULT, 0, 0, nullptr, this);
    dpi_ = win::dpiForWindow(hwnd_);
    highContrast_ = win::services().highContrast();

    // Size the frame around the designed client area and centre it on the work area.
    RECT frame{0, 0, twipsToPixels(clientWidthTwips_, dpi_),
               twipsToPixels(clientHeightTwips_, dpi_)};
    win::adjustWindowRect(frame, style_, WS_EX_CONTROLPARENT, dpi_);
    const int width = frame.right - frame.left, height = frame.bottom - frame.top;
    MONITORINFO mi{sizeof mi, {}, {}, 0};
    GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY), &mi);
    const RECT& work = mi.rcWork;
    SetWindowPos(hwnd_, nullptr, work.left + (work.right - work.left - width) / 2,
                 work.top + (work.bottom - work.top - height) / 2, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::registerControl(Control& control) {
    controls_.push_back(&control);
}

void Form::unregisterControl(Control& control) {
    std::erase(controls_, &control);
}

Control* Form::controlAt(HWND hwnd) const {
    for (Control* c : controls_)
        if (c->hwnd() == hwnd) return c;
    return nullptr;
}

Control* Form::colorsFor(HWND hwnd) const {
    if (Control* c = controlAt(hwnd)) return c;
    // A drop-down list's list part is a window of its own; it takes the list's colours.
    for (Control* c : controls_) {
        COMBOBOXINFO info{};
        info.cbSize = sizeof info;
        if (c->kind() == Control::Kind::ComboBox && GetComboBoxInfo(c->hwnd(), &info) &&
            info.hwndList == hwnd)
            return c;
    }
    return nullptr;
}

void Form::addTimer(Timer& timer) {
    timer.attach(*this);
    timers_.push_back(&timer);
}

std::wstring Form::caption() const {
    return win::windowText(hwnd_);
}

void Form::setCaption(const std::wstring& caption) {
    SetWindowTextW(hwnd_, caption.c_str());
}

void Form::setIconResource(int resourceId) {
    iconResource_ = resourceId;
    loadIcons();
}

// The window holds the icons; each one it hands back is ours, loaded here before, and goes.
void Form::loadIcons() {
    if (!iconResource_) return;
    for (auto [which, size] : {std::pair{ICON_BIG, win::bigIconSize(dpi_)},
                               std::pair{ICON_SMALL, win::smallIconSize(dpi_)}}) {
        const HICON icon = win::loadIcon(iconResource_, size);
        if (const LRESULT old = SendMessageW(hwnd_, WM_SETICON, static_cast<WPARAM>(which),
                                             reinterpret_cast<LPARAM>(icon)))
            DestroyIcon(reinterpret_cast<HICON>(old));
    }
}

void Form::setBackColor(Color c) {
    back_ = c;
    InvalidateRect(hwnd_, nullptr, TRUE);
}

bool Form::visible() const {
    return IsWindowVisible(hwnd_) != FALSE;
}

void Form::setVisible(bool visible) {
    if (visible == this->visible()) return;
    if (!visible) {
        hiddenState_ = windowState();
        ShowWindow(hwnd_, SW_HIDE);
    } else {
        ShowWindow(hwnd_, hiddenState_ == kStateMinimized ? SW_SHOWMINIMIZED : SW_SHOWNORMAL);
    }
}

void Form::show() {
    if (visible()) return;  // already shown: the user is working with it
    setVisible(true);
    if (windowState() == kStateNormal) SetForegroundWindow(hwnd_);
}

WindowState Form::windowState() const {
    if (!visible()) return hiddenState_;
    return IsIconic(hwnd_) ? kStateMinimized : kStateNormal;
}

void Form::setWindowState(WindowState state) {
    if (!visible()) {
        // A hidden window keeps the state for its next showing; if it was minimized when hidden,
        // the system restores its normal placement then.
        if (state != hiddenState_) {
            hiddenState_ = state;
            onResize();
        }
        return;
    }
    if (state != windowState())
        ShowWindow(hwnd_, state == kStateMinimized ? SW_MINIMIZE : SW_RESTORE);
}

void Form::focusWindow() {
    SetFocus(hwnd_);  // WM_SETFOCUS passes it on to the control that had it
}

void Form::setPointerMode(PointerMode mode) {
    if (mode == pointerMode_) return;
    pointerMode_ = mode;
    // Show the new pointer at once when it is over the window.
    POINT pt;
    GetCursorPos(&pt);
    HWND under = WindowFromPoint(pt);
    if (under && (under == hwnd_ || IsChild(hwnd_, under)))
        SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
}

namespace {

std::uint32_t systemColor(int index) {
    return static_cast<std::uint32_t>(GetSysColor(index));
}

}  // namespace

COLORREF Form::rgb(Color c) const {
    return resolveColor(c, systemColor);
}

// A disabled control's text is the system's grey, so its background is the system's too.
ColorPair Form::colors(const Control& c) const {
    return surfaceColors(c.foreColor(), c.backColor(), c.systemText(), c.systemBack(),
                         highContrast_ || !IsWindowEnabled(c.hwnd()), systemColor);
}

ColorPair Form::windowColors() const {
    return surfaceColors(kWindowText, back_, kWindowText, kWindowBack, highContrast_, systemColor);
}

HBRUSH Form::brush(COLORREF c) {
    auto& slot = brushes_[c];
    if (!slot) slot.reset(CreateSolidBrush(c));
    return slot.get();
}

HFONT Form::font(const FontSpec& wanted) {
    for (auto& [s, f] : fonts_)
        if (s == wanted) return f.get();
    LOGFONTW lf{};
    lf.lfHeight = fontHeight(wanted.points, dpi_);
    lf.lfWeight = wanted.weight ? wanted.weight : wanted.bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = wanted.charset;
    lf.lfQuality = CLEARTYPE_QUALITY;
    lstrcpynW(lf.lfFaceName, wanted.face.c_str(), LF_FACESIZE);
    fonts_.emplace_back(wanted, win::OwnedFont(CreateFontIndirectW(&lf)));
    return fonts_.back().second.get();
}

void Form::repaintAll() {
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_FRAME);
}

void Form::layout() {
    for (Control* c : controls_) {
        const RECT r = c->pixelPlace(dpi_);
        SetWindowPos(c->hwnd(), nullptr, r.left, r.top, r.right, r.bottom,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(c->hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font(c->font())), FALSE);
    }
}

LRESULT Form::controlColors(WPARAM dcParam, LPARAM childParam) {
    HWND child = reinterpret_cast<HWND>(childParam);
    Control* c = colorsFor(child);
    if (!c) return 0;
    HDC dc = reinterpret_cast<HDC>(dcParam);
    const ColorPair pair = colors(*c);
    SetTextColor(dc, pair.text);
    SetBkColor(dc, pair.back);
    return reinterpret_cast<LRESULT>(brush(pair.back));
}

bool Form::setCursor(WPARAM, LPARAM lp) {
    if (LOWORD(lp) != HTCLIENT || pointerMode_ == kPointerDefault) return false;
    HCURSOR cursor = pointerMode_ == kPointerHourglass ? LoadCursorW(nullptr, IDC_WAIT)
                     : customPointer_                  ? customPointer_.get()
                                                       : LoadCursorW(nullptr, IDC_ARROW);
    SetCursor(cursor);
    return true;
}

// The first control in tab order. A screen reader announces the focus, so while one runs the
// focus starts on the first control that can be seen instead of one outside the client area.
HWND Form::firstFocus() const {
    return win::services().screenReader() ? firstSeenControl()
                                          : GetNextDlgTabItem(hwnd_, nullptr, FALSE);
}

HWND Form::firstSeenControl() const {
    HWND first = GetNextDlgTabItem(hwnd_, nullptr, FALSE);
    for (HWND h = first; h;) {
        if (const Control* c = controlAt(h); c && !c->unseen()) return h;
        h = GetNextDlgTabItem(hwnd_, h, FALSE);
        if (h == first) break;
    }
    return first;
}

// Narrator and Magnifier set no screen-reader flag, but UI Automation asks the windows it meets
// for their objects. The move waits for the queue: the client may be in the middle of its query.
void Form::queueFirstFocusMove() {
    if (!leaveUnseenBox_ || focusMoveQueued_) return;
    focusMoveQueued_ = PostMessageW(hwnd_, kMoveFirstFocus, 0, 0) != FALSE;
}

// Only a focus that still sits in the unseen box of the active form moves; a hidden or inactive
// window keeps the rule for its next query.
void Form::moveFirstFocus() {
    focusMoveQueued_ = false;
    const HWND focus = GetFocus();
    const Control* c = controlAt(focus);
    if (!leaveUnseenBox_ || !c || !c->unseen() || GetActiveWindow() != hwnd_) return;
    if (const HWND seen = firstSeenControl(); seen != focus) SetFocus(seen);
}

// Once the focus has been on another control, the user has found the controls: Shift+Tab back
// into the box stays there. The form itself passing the focus on (a restore) does not count.
void Form::unseenBoxFocusPassed(HWND other) {
    if (other && IsChild(hwnd_, other)) leaveUnseenBox_ = false;
}

// Switching high contrast or the colour scheme repaints every surface in its new colours.
void Form::onColorsChanged() {
    highContrast_ = win::services().highContrast();
    for (Control* c : controls_) SendMessageW(c->hwnd(), WM_SYSCOLORCHANGE, 0, 0);
    repaintAll();
}

void Form::onActivate(WPARAM wp) {
    if (LOWORD(wp) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
    } else if (!IsIconic(hwnd_)) {
        focusWindow();
    }
}

void Form::eraseBackground(HDC dc) {
    RECT rc;
    GetClientRect(hwnd_, &rc);
    FillRect(dc, &rc, brush(windowColors().back));
}

// Gives the focus to the control that had it, else to the first one.
void Form::onSetFocus() {
    HWND target = lastFocus_ && IsWindow(lastFocus_) ? lastFocus_ : firstFocus();
    if (target) SetFocus(target);
}

void Form::onDpiChanged(int dpi, const RECT& suggested) {
    dpi_ = dpi;
    // The controls take their new fonts before the old ones are deleted.
    auto previous = std::move(fonts_);
    fonts_.clear();
    layout();
    previous.clear();
    loadIcons();
    SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

// Underlined shortcuts and focus marks show once the keyboard is in use, as in Windows' own
// dialogs: the system decides from the input that showed the window.
void Form::onFirstShow() {
    if (cuesInitialised_) return;
    cuesInitialised_ = true;
    SendMessageW(hwnd_, WM_CHANGEUISTATE,
                 MAKEWPARAM(UIS_INITIALIZE, UISF_HIDEACCEL | UISF_HIDEFOCUS), 0);
}

LRESULT Form::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_COMMAND:
            if (Control* c = controlAt(reinterpret_cast<HWND>(lp))) c->command(HIWORD(wp));
            return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
            if (LRESULT brush = controlColors(wp, lp)) return brush;
            break;
        case WM_ERASEBKGND:
            eraseBackground(reinterpret_cast<HDC>(wp));
            return 1;
        case WM_SETCURSOR:
            if (setCursor(wp, lp)) return TRUE;
            break;
        case WM_MOUSEMOVE:
            if (onMouseMove) onMouseMove();
            return 0;
        case WM_TIMER:
            for (Timer* t : timers_)
                if (t->id_ == wp) t->tick();
            return 0;
        case WM_SIZE:
            onResize();
            return 0;
        case WM_ACTIVATE:
            onActivate(wp);
            return 0;
        case WM_SETFOCUS:
            onSetFocus();
            return 0;
        case WM_DPICHANGED:
            onDpiChanged(HIWORD(wp), *reinterpret_cast<const RECT*>(lp));
            return 0;
        case WM_SHOWWINDOW:
            if (wp) onFirstShow();
            break;
        case WM_SYSCOLORCHANGE:
            onColorsChanged();
            return 0;
        case WM_SETTINGCHANGE:
            if (wp == SPI_SETHIGHCONTRAST) onColorsChanged();
            // A Group Policy refresh names the area "Policy".
            if (lp && lstrcmpiW(reinterpret_cast<const wchar_t*>(lp), L"Policy") == 0)
                onPolicyChange();
            return 0;
        case WM_GETOBJECT:
            queueFirstFocusMove();
            break;  // the system answers for the form
        case kMoveFirstFocus:
            moveFirstFocus();
            return 0;
        case WM_CLOSE:
            onCloseRequest();
            return 0;
        case WM_QUERYENDSESSION:
            // Only a question: another program may still cancel the end of the session (or of an
            // upgrade that closes us), so nothing closes until WM_ENDSESSION says it goes ahead.
            onEndQuery((lp & ENDSESSION_CLOSEAPP) != 0);
            return TRUE;
        case WM_ENDSESSION:
            if (wp)
                onCloseRequest();
            else
                onEndCancelled();
            return 0;
        case WM_DESTROY:
            onUnload();
            return 0;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

}  // namespace ui
