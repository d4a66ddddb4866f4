#include "win/window_class.h"

#include <string>

#include "runtime/run_error.h"
#include "win/common_controls.h"
#include "win/system_text.h"

namespace win {
namespace {

// The subclass's id is the procedure itself, so each procedure sits on a window at most once.
LRESULT CALLBACK subclassThunk(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                               DWORD_PTR data) {
    if (msg == WM_NCDESTROY) removeWindowSubclass(hwnd, subclassThunk, id);
    return reinterpret_cast<SubclassProcedure>(id)(hwnd, msg, wp, lp, data);
}

}  // namespace

void registerWindowClass(const wchar_t* name, WNDPROC procedure, UINT style) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(GetModuleHandleW(nullptr), name, &wc)) return;
    wc.cbSize = sizeof wc;
    wc.style = style;
    wc.lpfnWndProc = procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = name;
    RegisterClassExW(&wc);
}

HWND createWindow(DWORD exStyle, const wchar_t* windowClass, const wchar_t* text, DWORD style,
                  int x, int y, int width, int height, HWND parent, void* object) {
    HWND hwnd = CreateWindowExW(exStyle, windowClass, text, style, x, y, width, height, parent,
                                nullptr, GetModuleHandleW(nullptr), object);
    if (hwnd) return hwnd;
    const DWORD error = GetLastError();
    std::wstring description =
        L"A window of class \"" + std::wstring(windowClass) + L"\" could not be created.";
    if (error) description += L" " + systemErrorText(error);
    throw runtime::Error(runtime::kOutOfMemory, description);
}

void detachObject(HWND hwnd) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
}

void subclassWindow(HWND hwnd, SubclassProcedure procedure, DWORD_PTR data) {
    setWindowSubclass(hwnd, subclassThunk, reinterpret_cast<UINT_PTR>(procedure), data);
}

}  // namespace win
