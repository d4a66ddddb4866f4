#pragma once
// The standard controls the main window is made of.
#include "ui/control.h"

namespace ui {

class TextBox : public Control {
  public:
    TextBox(TwipsRect place) : Control(place, kWindowBack, kWindowText) {}
    void create(Form& form, const wchar_t* text);
    Kind kind() const override { return Kind::TextBox; }
    std::function<void()> onMouseMove;
};

class Label : public Control {
  public:
    Label(TwipsRect place) : Control(place, kButtonFace, kWindowText) {}
    void create(Form& form, const wchar_t* caption);
    std::wstring caption() const;
    // A live label announces only when asked, and then even an unchanged text: a write that is
    // not yet true stays silent, and the write that makes it true is the one heard.
    void setCaption(const std::wstring& caption, bool announce = false);
    Kind kind() const override { return Kind::Label; }
    // A label whose changes a screen reader reads out as they happen (a polite live region).
    void setLiveRegion(bool live) { live_ = live; }
    void annotateOnce();  // tells the system it is a live region, when a reader first asks

  private:
    bool live_ = false, annotated_ = false;
};

// A drop-down list without typed entry. `onClick` runs whenever the selection changes.
class ComboBox : public Control {
  public:
    ComboBox(TwipsRect place) : Control(place, kWindowBack, kWindowText) {}
    void create(Form& form, Control& container);
    void addItem(const std::wstring& text);
    int listCount() const;
    int listIndex() const;
    // Selects item `index`, or nothing for -1; any other index fails with "Invalid property value".
    void setListIndex(int index);
    std::wstring text() const;  // the selected item, empty when nothing is selected
    std::wstring item(int index) const;
    Kind kind() const override { return Kind::ComboBox; }
    // The name assistive technology reads for the list, which has no label of its own.
    void setAccessibleName(const std::wstring& name) { accessibleName_ = name; }
    AccessibleFacts accessibleFacts() const override;
    std::function<void()> onClick;

    // The designed height is the closed box; the window also holds the dropped-down list.
    static constexpr int kVisibleItems = 12;
    int windowHeight(int designedPixels) const override {
        return designedPixels * (kVisibleItems + 1);
    }

  private:
    void command(int notification) override;
    std::wstring accessibleName_;
};

// A two-state check box, value 0 (clear) or 1 (ticked). `onClick` runs on every change.
class CheckBox : public Control {
  public:
    CheckBox(TwipsRect place) : Control(place, kButtonFace, kButtonText) {}
    void create(Form& form, Control& container, const wchar_t* caption);
    int value() const { return value_; }
    void setValue(int value);
    Kind kind() const override { return Kind::CheckBox; }
    // Why the box is as it is, for assistive technology (a locked box says who locked it).
    void setAccessibleDescription(const std::wstring& text) { description_ = text; }
    AccessibleFacts accessibleFacts() const override;
    std::function<void()> onClick;

  private:
    void command(int notification) override;
    int value_ = 0;
    std::wstring description_;
};

}  // namespace ui
