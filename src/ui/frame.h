#pragma once
// A captioned frame that holds other controls: it draws the etched box in its own background,
// passes its children's notifications on to the form, and reads as a grouping named by its
// caption. It takes no focus.
#include "ui/control.h"

namespace ui {

class Frame : public Control {
  public:
    Frame(TwipsRect place) : Control(place, kButtonFace, kButtonText) {}
    void create(Form& form, const wchar_t* caption);
    Kind kind() const override { return Kind::Frame; }
    std::function<void()> onMouseMove;
    AccessibleFacts accessibleFacts() const override;

  private:
    template <class T>
    friend LRESULT CALLBACK win::objectWindowProc(HWND, UINT, WPARAM, LPARAM);
    LRESULT handle(UINT msg, WPARAM wp, LPARAM lp);
    void paint(HDC dc) override;
};

}  // namespace ui
