#pragma once
// A captioned frame that holds other controls: it draws the etched box in its own background and
// passes its children's notifications on to the form.
#include "ui/control.h"

namespace ui {

class Frame : public Control {
public:
    Frame(TwipsRect place) : Control(place, kButtonFace, kButtonText) {}
    void create(Form& form, const wchar_t* caption);
    Kind kind() const override { return Kind::Frame; }
    std::function<void()> onMouseMove;

private:
    static LRESULT CALLBACK windowProc(HWND, UINT, WPARAM, LPARAM);
    void paint(HDC dc);
};

}  // namespace ui
