#include "win/common_controls.h"

#include "win/function_lookup.h"

namespace win {
namespace {

struct CommonControls {
    decltype(&::InitCommonControlsEx) initCommonControlsEx;
    decltype(&::SetWindowSubclass) setWindowSubclass;
    decltype(&::RemoveWindowSubclass) removeWindowSubclass;
    decltype(&::DefSubclassProc) defSubclassProc;
};

const CommonControls& commonControls() {
    static const CommonControls loaded = [] {
        // By its name, which the manifest's activation context answers before any folder is
        // searched; the flag keeps every other search to System32.
        HMODULE comctl32 = LoadLibraryExW(L"comctl32.dll", nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
        return CommonControls{
            moduleFunction<decltype(&::InitCommonControlsEx)>(comctl32, "InitCommonControlsEx"),
            moduleFunction<decltype(&::SetWindowSubclass)>(comctl32, "SetWindowSubclass"),
            moduleFunction<decltype(&::RemoveWindowSubclass)>(comctl32, "RemoveWindowSubclass"),
            moduleFunction<decltype(&::DefSubclassProc)>(comctl32, "DefSubclassProc")};
    }();
    return loaded;
}

}  // namespace

bool initCommonControls(DWORD classes) {
    INITCOMMONCONTROLSEX icc{sizeof icc, classes};
    const auto init = commonControls().initCommonControlsEx;
    return init && init(&icc);
}

BOOL setWindowSubclass(HWND hwnd, SUBCLASSPROC procedure, UINT_PTR id, DWORD_PTR data) {
    const auto set = commonControls().setWindowSubclass;
    return set && set(hwnd, procedure, id, data);
}

BOOL removeWindowSubclass(HWND hwnd, SUBCLASSPROC procedure, UINT_PTR id) {
    const auto remove = commonControls().removeWindowSubclass;
    return remove && remove(hwnd, procedure, id);
}

LRESULT defSubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    const auto next = commonControls().defSubclassProc;
    return next ? next(hwnd, msg, wp, lp) : DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace win
