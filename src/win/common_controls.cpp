#include "win/common_controls.h"

#include <shlwapi.h>

#include "win/files.h"
#include "win/function_lookup.h"

namespace win {
namespace {

const wchar_t kComctl32[] = L"comctl32.dll";

// Whether the activation context in force redirects the bare name to a side-by-side copy.
bool activationContextAnswers() {
    ACTCTX_SECTION_KEYED_DATA data{};
    data.cbSize = sizeof data;
    return FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION,
                                    kComctl32, &data) != FALSE;
}

// Version 6 or later (Windows 10 reports 6.10), from under %SystemRoot%\WinSxS\. Only a check of
// what the loader chose: a planted DLL's start-up code would have run already.
bool sideBySideVersion6(HMODULE module) {
    const auto getVersion = moduleFunction<DLLGETVERSIONPROC>(module, "DllGetVersion");
    DLLVERSIONINFO version{};
    version.cbSize = sizeof version;
    if (!getVersion || FAILED(getVersion(&version)) || version.dwMajorVersion < 6) return false;
    const std::wstring windows = windowsFolder(), path = modulePath(module);
    if (windows.empty()) return false;
    const std::wstring store = windows + L"\\WinSxS\\";
    return path.size() > store.size() &&
           CompareStringOrdinal(path.c_str(), static_cast<int>(store.size()), store.c_str(),
                                static_cast<int>(store.size()), TRUE) == CSTR_EQUAL;
}

struct CommonControls {
    HMODULE module;
    decltype(&::InitCommonControlsEx) initCommonControlsEx;
    decltype(&::SetWindowSubclass) setWindowSubclass;
    decltype(&::RemoveWindowSubclass) removeWindowSubclass;
    decltype(&::DefSubclassProc) defSubclassProc;
};

const CommonControls& commonControls() {
    static const CommonControls loaded = [] {
        HMODULE comctl32 = loadCommonControls();
        return CommonControls{
            comctl32,
            moduleFunction<decltype(&::InitCommonControlsEx)>(comctl32, "InitCommonControlsEx"),
            moduleFunction<decltype(&::SetWindowSubclass)>(comctl32, "SetWindowSubclass"),
            moduleFunction<decltype(&::RemoveWindowSubclass)>(comctl32, "RemoveWindowSubclass"),
            moduleFunction<decltype(&::DefSubclassProc)>(comctl32, "DefSubclassProc")};
    }();
    return loaded;
}

}  // namespace

HMODULE loadCommonControls() {
    // By the bare name, which the manifest's activation context answers before any folder is
    // searched; the flag keeps every other search to System32.
    if (librarySearchFlags())
        return LoadLibraryExW(kComctl32, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Without the flag the bare name would be searched for beside the program: it is loaded only
    // once the activation context is known to answer it first, and used only as what it answers.
    if (!activationContextAnswers()) return nullptr;
    HMODULE comctl32 = LoadLibraryW(kComctl32);
    if (comctl32 && !sideBySideVersion6(comctl32)) {
        FreeLibrary(comctl32);
        comctl32 = nullptr;
    }
    return comctl32;
}

HMODULE commonControlsModule() {
    return commonControls().module;
}

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
