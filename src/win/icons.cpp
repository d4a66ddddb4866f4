#include "win/icons.h"

#include "win/common_controls.h"
#include "win/function_lookup.h"
#include "win/services.h"

namespace win {
namespace {

using GetMetricsForDpiFn = int(WINAPI*)(int, UINT);

GetMetricsForDpiFn metricsForDpi() {
    static const auto f = user32Function<GetMetricsForDpiFn>("GetSystemMetricsForDpi");
    return f;
}

int iconSize(int metric, int designPixels, int dpi) {
    if (const auto f = metricsForDpi()) return f(metric, static_cast<UINT>(dpi));
    return MulDiv(designPixels, dpi, USER_DEFAULT_SCREEN_DPI);
}

}  // namespace

int realTaskbarDpi() {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto dpiForWindow = user32Function<GetDpiForWindowFn>("GetDpiForWindow");
    if (!dpiForWindow || !metricsForDpi()) return 0;
    const HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
    return taskbar ? static_cast<int>(dpiForWindow(taskbar)) : 0;
}

int smallIconSize(int dpi) {
    return iconSize(SM_CXSMICON, 16, dpi);
}

int bigIconSize(int dpi) {
    return iconSize(SM_CXICON, 32, dpi);
}

int trayIconSize() {
    const int dpi = services().taskbarDpi();
    if (dpi > 0 && metricsForDpi()) return smallIconSize(dpi);
    return GetSystemMetrics(SM_CXSMICON);
}

HICON loadIcon(int resourceId, int size) {
    // From the comctl32 the program already uses (Vista and later have the call), never another.
    static const auto scaleDown = moduleFunction<decltype(&::LoadIconWithScaleDown)>(
        commonControlsModule(), "LoadIconWithScaleDown");
    const HINSTANCE module = GetModuleHandleW(nullptr);
    HICON icon = nullptr;
    if (scaleDown && SUCCEEDED(scaleDown(module, MAKEINTRESOURCEW(resourceId), size, size, &icon)))
        return icon;
    return static_cast<HICON>(
        LoadImageW(module, MAKEINTRESOURCEW(resourceId), IMAGE_ICON, size, size, 0));
}

}  // namespace win
