#pragma once
// The controls of a form, in the terms the program's handlers use: a value or selection changed
// from code raises the same handler as a user's change, and only when the value really changes.
#include <windows.h>

#include <functional>
#include <string>

#include "ui/accessible.h"
#include "ui/color.h"
#include "ui/twips.h"
#include "win/window_class.h"

namespace ui {

class Form;

// A font as a control asks for it; the form keeps one font per distinct request (Form::font).
struct FontSpec {
    std::wstring face = L"Arial";
    double points = 9;
    bool bold = true;
    BYTE charset = 204;
    int weight = 0;  // 100 to 900; 0: bold or normal as `bold` says
    bool operator==(const FontSpec&) const = default;
};

class Control {
  public:
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    // The control's window goes with it, so no message reaches a control that is gone.
    virtual ~Control();

    HWND hwnd() const { return hwnd_; }
    const TwipsRect& place() const { return place_; }

    bool visible() const;
    // True when the control lies wholly outside its container's client area.
    bool unseen() const;
    void setVisible(bool visible);
    // A disabled control is greyed, skipped by Tab and shortcuts and reported unavailable: an
    // option the user may not change.
    void setEnabled(bool enabled);

    Color backColor() const { return back_; }
    Color foreColor() const { return fore_; }
    void setBackColor(Color c);
    void setForeColor(Color c);
    const FontSpec& font() const { return font_; }
    void setFont(const FontSpec& font);

    // What kind of control this is, for code that restyles controls by kind.
    enum class Kind { TextBox, PushButton, Frame, ComboBox, Label, CheckBox };
    virtual Kind kind() const = 0;
    // The height of the control's window for a designed height, both in pixels.
    virtual int windowHeight(int designedPixels) const { return designedPixels; }

    // The control's window rectangle in pixels at `dpi` (left, top, width, height).
    RECT pixelPlace(int dpi) const;

    // The system's colours for this surface, which it takes under high contrast.
    virtual Color systemText() const { return kWindowText; }
    virtual Color systemBack() const { return kWindowBack; }

    // What the control tells assistive technology beyond what the system knows of it.
    virtual AccessibleFacts accessibleFacts() const { return {}; }
    // Carries out the control's default action, as a reader asks; false when it has none now.
    virtual bool doDefaultAction() { return false; }

  protected:
    Control(TwipsRect place, Color back, Color fore) : place_(place), back_(back), fore_(fore) {}
    // For the controls we draw ourselves: answers the messages every such control answers alike
    // (font, background, painting through paint(), repainting on a new caption). Returns false
    // for any other message.
    bool answerDrawnControlMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    virtual void paint(HDC) {}
    Form* form() const { return form_; }

    // Creates the window as a child of `container` (or of the form) and registers it with `form`.
    // A window class of ours passes the object its window is bound to (win::objectWindowProc).
    void createWindow(Form& form, Control* container, const wchar_t* windowClass,
                      const wchar_t* text, DWORD style, DWORD exStyle = 0, void* object = nullptr);

  private:
    friend class Form;
    template <class T>
    friend LRESULT CALLBACK win::objectWindowProc(HWND, UINT, WPARAM, LPARAM);
    void attachWindow(HWND hwnd) { hwnd_ = hwnd; }
    virtual void command(int /*notification*/) {}

    Form* form_ = nullptr;
    HWND hwnd_ = nullptr;
    TwipsRect place_;
    Color back_, fore_;
    FontSpec font_{};
};

}  // namespace ui
