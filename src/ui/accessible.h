#pragma once
// What a control tells assistive technology about itself, where the system cannot know it: its
// role, name, state, default action, shortcut, value and description. Whatever a control leaves
// unset, and all else (place, parent, navigation, hit testing), the system's standard object
// answers.
#include <windows.h>
#include <oleacc.h>  // the roles and states

#include <optional>
#include <string>

namespace ui {

struct AccessibleFacts {
    long role = 0;               // ROLE_SYSTEM_*; 0: the system's
    std::wstring name;           // empty: the system's
    std::optional<long> state;   // STATE_SYSTEM_* flags
    std::wstring defaultAction;  // empty: the system's
    std::wstring shortcut;       // "Alt+H"; empty: the system's
    std::wstring value;          // empty: the system's
    std::wstring description;    // why the control is as it is; empty: the system's
};

class Control;

// Answers WM_GETOBJECT for the client area of `control` with an object that reports the
// control's facts. 0 for any other object, or where the accessibility libraries cannot be had,
// so that the window passes the message on and the system answers.
LRESULT answerGetObject(const Control& control, WPARAM wp, LPARAM lp);

}  // namespace ui
