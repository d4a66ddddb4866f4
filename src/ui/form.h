#pragma once
// A top-level window that hosts controls the way classic forms do: designed in twips, laid out at
// the window's DPI, colours and fonts per control, one pointer mode for the whole window, and a
// window state that can be set while the window is hidden.
#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ui/control.h"
#include "ui/timer.h"
#include "win/win_handles.h"
#include "win/window_class.h"

namespace ui {

enum PointerMode { kPointerDefault = 0, kPointerHourglass = 11, kPointerCustom = 99 };
enum WindowState { kStateNormal = 0, kStateMinimized = 1 };

class Form {
  public:
    Form() = default;
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;
    virtual ~Form();

    // Creates the window hidden, sized to a client area of the given twips, centred on the screen.
    // `style` is the frame style (e.g. a fixed single border with a minimize box).
    void createWindow(const wchar_t* caption, int clientWidthTwips, int clientHeightTwips,
                      DWORD style);
    HWND hwnd() const { return hwnd_; }
    static Form* fromHwnd(HWND hwnd);  // the form that owns a window, or null
    // The forms' windows of other copies of this program: windows of the forms' class whose
    // process runs a file of this program's name, or cannot be opened (another user's copy, say).
    static std::vector<HWND> formsOfOtherCopies();
    int dpi() const { return dpi_; }

    std::wstring caption() const;
    void setCaption(const std::wstring& caption);
    // The window's big and small icons from this program's icon resource `resourceId`, at the
    // window's DPI, and again at each new DPI.
    void setIconResource(int resourceId);
    Color backColor() const { return back_; }
    void setBackColor(Color c);

    bool visible() const;
    void setVisible(bool visible);
    void show();  // visible and active, in the current window state
    WindowState windowState() const;
    void setWindowState(WindowState state);
    void focusWindow();  // gives the keyboard focus back to the control that had it last

    PointerMode pointerMode() const { return pointerMode_; }
    void setPointerMode(PointerMode mode);
    void setCustomPointer(win::OwnedCursor cursor) { customPointer_ = std::move(cursor); }
    HCURSOR customPointer() const { return customPointer_.get(); }

    const std::vector<Control*>& controls() const { return controls_; }
    void addTimer(Timer& timer);

    // The control bound to a window of this form, or null.
    Control* controlAt(HWND hwnd) const;

    // The colours each surface paints with (ui/color.h: surfaceColors): under high contrast, and
    // for a disabled control, the system's; never system text on a fixed background.
    bool highContrast() const { return highContrast_; }
    ColorPair colors(const Control& control) const;
    ColorPair windowColors() const;  // the form's own background, for its own surface

    // Resources shared by the controls, cached per colour and font.
    COLORREF rgb(Color c) const;
    HBRUSH brush(COLORREF c);
    HFONT font(const FontSpec& wanted);
    void repaintAll();

    std::function<void()> onMouseMove;

    // The unseen text box tells the form what assistive technology and the focus do to it.
    void unseenBoxQueried() { queueFirstFocusMove(); }
    void unseenBoxFocusPassed(HWND other);  // the focus left for `other`, or came from it

  protected:
    virtual LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp);
    virtual void onResize() {}
    // Any request to close: the close box, the end of the session (once it is sure), others.
    virtual void onCloseRequest() {}
    virtual void onPolicyChange() {}  // the system's policies were refreshed
    // The end of the session, or an installer closing the program (`forUpgrade`), is asked for;
    // it may still be cancelled.
    virtual void onEndQuery(bool /*forUpgrade*/) {}
    virtual void onEndCancelled() {}  // the end asked for does not come: the session goes on
    virtual void onUnload() {}

  private:
    friend class Control;
    template <class T>
    friend LRESULT CALLBACK win::objectWindowProc(HWND, UINT, WPARAM, LPARAM);
    void attachWindow(HWND hwnd) { hwnd_ = hwnd; }
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp) { return handleMessage(msg, wp, lp); }
    void registerControl(Control& control);
    void unregisterControl(Control& control);
    void layout();
    // The control whose colours paint `hwnd`: itself, or the list part of a drop-down list.
    Control* colorsFor(HWND hwnd) const;
    LRESULT controlColors(WPARAM dc, LPARAM child);
    bool setCursor(WPARAM wp, LPARAM lp);
    void onActivate(WPARAM wp);
    HWND firstFocus() const;
    HWND firstSeenControl() const;
    void queueFirstFocusMove();
    void moveFirstFocus();
    void onColorsChanged();
    void eraseBackground(HDC dc);
    void onSetFocus();
    void onDpiChanged(int dpi, const RECT& suggested);
    void loadIcons();
    void onFirstShow();

    HWND hwnd_ = nullptr;
    int dpi_ = USER_DEFAULT_SCREEN_DPI;
    int clientWidthTwips_ = 0, clientHeightTwips_ = 0;
    int iconResource_ = 0;  // none
    DWORD style_ = 0;
    Color back_ = kButtonFace;
    PointerMode pointerMode_ = kPointerDefault;
    WindowState hiddenState_ = kStateNormal;  // the state a hidden window takes when it is shown
    win::OwnedCursor customPointer_;
    HWND lastFocus_ = nullptr;
    bool highContrast_ = false;
    bool cuesInitialised_ = false;
    // Until another control takes the focus, an assistive technology's query moves the first
    // focus off the unseen box; at most one move waits in the queue.
    bool leaveUnseenBox_ = true, focusMoveQueued_ = false;
    std::vector<Control*> controls_;
    std::vector<Timer*> timers_;
    std::map<COLORREF, win::OwnedBrush> brushes_;
    std::vector<std::pair<FontSpec, win::OwnedFont>> fonts_;
};

}  // namespace ui
