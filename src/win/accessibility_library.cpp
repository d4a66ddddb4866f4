#include "win/accessibility_library.h"

#include "win/function_lookup.h"

namespace win {
namespace {

template <class F>
bool entry(HMODULE library, const char* name, F& out) {
    out = moduleFunction<F>(library, name);
    return out != nullptr;
}

AccessibilityLibrary* load() {
    static AccessibilityLibrary lib{};
    HMODULE ole32 = systemLibrary(L"ole32.dll"), oleaut32 = systemLibrary(L"oleaut32.dll"),
            oleacc = systemLibrary(L"oleacc.dll");
    decltype(&::CoInitializeEx) coInitializeEx = nullptr;
    const bool complete =
        entry(ole32, "CoInitializeEx", coInitializeEx) &&
        entry(ole32, "CoCreateInstance", lib.coCreateInstance) &&
        entry(oleaut32, "SysAllocString", lib.sysAllocString) &&
        entry(oleacc, "CreateStdAccessibleObject", lib.createStdAccessibleObject) &&
        entry(oleacc, "LresultFromObject", lib.lresultFromObject);
    if (!complete) return nullptr;
    // Objects handed to other processes are served from this thread's message loop. Kept for
    // the life of the process, like the libraries.
    const HRESULT hr = coInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(hr) && hr != RPC_E_CHANGED_MODE) return nullptr;
    return &lib;
}

// The property that makes a screen reader read a changed text aloud, and its polite value.
constexpr GUID kLiveSettingProperty = {
    0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
constexpr GUID kAccPropServicesClass = {
    0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr GUID kAccPropServicesInterface = {
    0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};
constexpr long kPolite = 1;
// EVENT_OBJECT_LIVEREGIONCHANGED: Windows 8 and later read it; earlier ones ignore it.
constexpr DWORD kLiveRegionChanged = 0x8019;

}  // namespace

const AccessibilityLibrary* accessibilityLibrary() {
    static const AccessibilityLibrary* loaded = load();
    return loaded;
}

void annotateLiveRegion(HWND hwnd) {
    const AccessibilityLibrary* lib = accessibilityLibrary();
    if (!lib) return;
    IAccPropServices* services = nullptr;
    if (FAILED(lib->coCreateInstance(kAccPropServicesClass, nullptr, CLSCTX_INPROC_SERVER,
                                     kAccPropServicesInterface,
                                     reinterpret_cast<void**>(&services))))
        return;
    VARIANT polite;
    polite.vt = VT_I4;
    polite.lVal = kPolite;
    services->SetHwndProp(hwnd, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF,
                          kLiveSettingProperty, polite);
    services->Release();
}

void announceLiveRegionChange(HWND hwnd) {
    NotifyWinEvent(kLiveRegionChanged, hwnd, OBJID_CLIENT, CHILDID_SELF);
}

}  // namespace win
