#pragma once
// The accessibility and COM libraries, loaded when assistive technology first asks a window of
// ours for its object: a user without any pays nothing for them at start, and the program
// imports none of them.
#include <windows.h>
#include <oleacc.h>

namespace win {

struct AccessibilityLibrary {
    decltype(&::CreateStdAccessibleObject) createStdAccessibleObject;
    decltype(&::LresultFromObject) lresultFromObject;
    decltype(&::SysAllocString) sysAllocString;
    decltype(&::CoCreateInstance) coCreateInstance;
};

// The loaded functions, with COM initialised on this (the user-interface) thread; null where a
// library or entry point is missing, and then the system's own objects answer.
const AccessibilityLibrary* accessibilityLibrary();

// Marks `hwnd` as a polite live region for screen readers (a no-op where the system cannot
// annotate windows), and announces a change of its text.
void annotateLiveRegion(HWND hwnd);
void announceLiveRegionChange(HWND hwnd);

}  // namespace win
