#pragma once
// Our push button: a flat face in the form's colours with hover, pressed and focus states, a
// click on release inside it (or Space, Enter, its Alt+letter shortcut, a reader's default
// action), and mouse-move notices. Assistive technology reads it as a push button.
#include "ui/control.h"

namespace ui {

struct ButtonLook {
    Color face, text, hover, pressed, border;
};

class PushButton : public Control {
  public:
    PushButton(TwipsRect place) : Control(place, kWhite, kButtonText) {}
    void create(Form& form, const wchar_t* caption);
    Kind kind() const override { return Kind::PushButton; }

    // Hover, pressed and border colours; unset ones are derived from the face colour.
    void setLook(const ButtonLook& look);

    std::function<void()> onClick;
    std::function<void()> onMouseMove;

    Color systemText() const override { return kButtonText; }
    Color systemBack() const override { return kButtonFace; }
    AccessibleFacts accessibleFacts() const override;
    bool doDefaultAction() override;

  private:
    // Drawn pressed while the mouse holds it inside, or while Space holds it.
    bool pressed() const { return (pressed_ && hot_) || spaceDown_; }
    ColorPair faceColors() const;
    template <class T>
    friend LRESULT CALLBACK win::objectWindowProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
    void paint(HDC dc) override;
    bool handleMouse(UINT msg, LPARAM lp);
    bool handleKey(UINT msg, WPARAM key);
    void setHot(bool hot);
    void click();
    void redraw();

    bool hot_ = false, pressed_ = false, spaceDown_ = false, hasLook_ = false;
    ButtonLook look_{};
};

}  // namespace ui
