#include "ui/controls.h"

#include "runtime/run_error.h"
#include "ui/form.h"
#include "win/accessibility_library.h"
#include "win/common_controls.h"
#include "win/error_sink.h"
#include "win/window_class.h"
#include "win/window_text.h"

namespace ui {
namespace {

LRESULT textBoxProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, DWORD_PTR self) {
    auto* box = reinterpret_cast<TextBox*>(self);
    if (msg == WM_MOUSEMOVE && box->onMouseMove) win::catchAtBoundary(box->onMouseMove);
    // The unseen box holds the first focus; its form moves it for assistive technology.
    if ((msg == WM_GETOBJECT || msg == WM_SETFOCUS || msg == WM_KILLFOCUS) && box->unseen()) {
        if (Form* form = Form::fromHwnd(GetAncestor(hwnd, GA_ROOT))) {
            if (msg == WM_GETOBJECT)
                form->unseenBoxQueried();
            else  // the window the focus came from, or goes to
                form->unseenBoxFocusPassed(reinterpret_cast<HWND>(wp));
        }
    }
    const LRESULT result = win::defSubclassProc(hwnd, msg, wp, lp);
    // A text box that lies outside the window shows no caret, so it keeps none: a blinking caret
    // would wake the program twice a second for nothing.
    if (msg == WM_SETFOCUS && box->unseen()) DestroyCaret();
    return result;
}

// A list answers assistive technology with its name and choice.
LRESULT comboBoxProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, DWORD_PTR self) {
    if (msg == WM_GETOBJECT) {
        if (LRESULT object = answerGetObject(*reinterpret_cast<const ComboBox*>(self), wp, lp))
            return object;
    }
    return win::defSubclassProc(hwnd, msg, wp, lp);
}

// A check box answers assistive technology with its description, where it has one; without one
// the system's object answers alone, and no accessibility library is loaded for it.
LRESULT checkBoxProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, DWORD_PTR self) {
    const auto* box = reinterpret_cast<const CheckBox*>(self);
    if (msg == WM_GETOBJECT && !box->accessibleFacts().description.empty()) {
        if (LRESULT object = answerGetObject(*box, wp, lp)) return object;
    }
    return win::defSubclassProc(hwnd, msg, wp, lp);
}

// A live label marks itself a live region when a reader first asks for it; the system's object
// speaks for it.
LRESULT labelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, DWORD_PTR self) {
    if (msg == WM_GETOBJECT) reinterpret_cast<Label*>(self)->annotateOnce();
    return win::defSubclassProc(hwnd, msg, wp, lp);
}

}  // namespace

void TextBox::create(Form& form, const wchar_t* text) {
    createWindow(form, nullptr, L"EDIT", text, WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE);
    win::subclassWindow(hwnd(), textBoxProc, reinterpret_cast<DWORD_PTR>(this));
}

void Label::create(Form& form, const wchar_t* caption) {
    createWindow(form, nullptr, L"STATIC", caption, SS_CENTER | SS_NOPREFIX | WS_BORDER);
    win::subclassWindow(hwnd(), labelProc, reinterpret_cast<DWORD_PTR>(this));
}

std::wstring Label::caption() const {
    return win::windowText(hwnd());
}
void Label::annotateOnce() {
    if (!live_ || annotated_) return;
    annotated_ = true;
    win::annotateLiveRegion(hwnd());
}

void Label::setCaption(const std::wstring& caption, bool announce) {
    if (caption != this->caption()) SetWindowTextW(hwnd(), caption.c_str());
    if (announce && live_) win::announceLiveRegionChange(hwnd());
}

void ComboBox::create(Form& form, Control& container) {
    createWindow(form, &container, L"COMBOBOX", L"", WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST);
    SendMessageW(hwnd(), CB_SETMINVISIBLE, kVisibleItems, 0);
    win::subclassWindow(hwnd(), comboBoxProc, reinterpret_cast<DWORD_PTR>(this));
}

AccessibleFacts ComboBox::accessibleFacts() const {
    return {ROLE_SYSTEM_COMBOBOX, accessibleName_, std::nullopt, L"", L"", text(), L""};
}

void ComboBox::addItem(const std::wstring& text) {
    SendMessageW(hwnd(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

int ComboBox::listCount() const {
    return static_cast<int>(SendMessageW(hwnd(), CB_GETCOUNT, 0, 0));
}

int ComboBox::listIndex() const {
    return static_cast<int>(SendMessageW(hwnd(), CB_GETCURSEL, 0, 0));
}

void ComboBox::setListIndex(int index) {
    if (index < -1 || index >= listCount()) throw runtime::Error(runtime::kInvalidPropertyValue);
    if (index == listIndex()) return;
    SendMessageW(hwnd(), CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    if (onClick) onClick();
}

std::wstring ComboBox::item(int index) const {
    const LRESULT length = SendMessageW(hwnd(), CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == CB_ERR) return L"";
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(hwnd(), CB_GETLBTEXT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return text;
}

std::wstring ComboBox::text() const {
    return listIndex() < 0 ? L"" : item(listIndex());
}

void ComboBox::command(int notification) {
    if (notification == CBN_SELCHANGE && onClick) onClick();
}

void CheckBox::create(Form& form, Control& container, const wchar_t* caption) {
    // A plain (not automatic) check box: the value changes only through setValue.
    createWindow(form, &container, L"BUTTON", caption, WS_TABSTOP | BS_CHECKBOX);
    win::subclassWindow(hwnd(), checkBoxProc, reinterpret_cast<DWORD_PTR>(this));
}

AccessibleFacts CheckBox::accessibleFacts() const {
    AccessibleFacts facts;
    facts.description = description_;
    return facts;
}

void CheckBox::setValue(int value) {
    if (value != 0 && value != 1) throw runtime::Error(runtime::kInvalidPropertyValue);
    if (value == value_) return;
    value_ = value;
    SendMessageW(hwnd(), BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
    if (onClick) onClick();
}

void CheckBox::command(int notification) {
    if (notification == BN_CLICKED) setValue(1 - value_);
}

}  // namespace ui
