// The bench's second yardstick, the feature floor: the least program with the platform features
// Vantrel Desk Guard uses, built with the same compiler, flags and manifest. Two drop-down lists,
// two check boxes, a label and a push button, a tray icon, one global hotkey that asks for the
// lock, and a dialog-style message loop. What the program costs beyond it is its own.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <initializer_list>

namespace {

constexpr UINT kTrayMessage = WM_APP + 1;
constexpr int kHotkeyId = 1;

HWND child(HWND parent, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w,
           int h) {
    return CreateWindowW(cls, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent, nullptr,
                         nullptr, nullptr);
}

void addItem(HWND list, const wchar_t* text) {
    SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

void createControls(HWND hwnd) {
    HWND pairs = child(hwnd, L"COMBOBOX", nullptr, CBS_DROPDOWNLIST | WS_TABSTOP | WS_VSCROLL, 24,
                       57, 240, 200);
    for (const wchar_t* pair : {L"Ctrl + Alt", L"Ctrl + Shift", L"Alt + Shift"})
        addItem(pairs, pair);
    HWND keys = child(hwnd, L"COMBOBOX", nullptr, CBS_DROPDOWNLIST | WS_TABSTOP | WS_VSCROLL, 272,
                      57, 240, 200);
    wchar_t key[2] = {};
    for (const wchar_t* c = L"ABCDEFGHIJKLMNOPQRSTUVWXYZ1234567890"; *c; ++c) {
        key[0] = *c;
        addItem(keys, key);
    }
    SendMessageW(pairs, CB_SETCURSEL, 0, 0);
    SendMessageW(keys, CB_SETCURSEL, 11, 0);
    child(hwnd, L"BUTTON", L"Help", BS_PUSHBUTTON | WS_TABSTOP, 8, 8, 520, 27);
    child(hwnd, L"STATIC", L"Press Ctrl + Alt + L", SS_CENTER, 8, 99, 520, 17);
    child(hwnd, L"BUTTON", L"Start with Windows", BS_AUTOCHECKBOX | WS_TABSTOP, 24, 141, 254, 19);
    child(hwnd, L"BUTTON", L"Start hidden", BS_AUTOCHECKBOX | WS_TABSTOP, 288, 141, 140, 19);
}

NOTIFYICONDATAW trayIcon(HWND hwnd) {
    NOTIFYICONDATAW nid{};
    nid.cbSize = sizeof nid;
    nid.hWnd = hwnd;
    nid.uID = 1;
    nid.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
    nid.uCallbackMessage = kTrayMessage;
    nid.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    lstrcpynW(nid.szTip, L"Bench Floor", ARRAYSIZE(nid.szTip));
    return nid;
}

LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_HOTKEY:
            LockWorkStation();
            return 0;
        case WM_DESTROY: {
            NOTIFYICONDATAW nid = trayIcon(hwnd);
            Shell_NotifyIconW(NIM_DELETE, &nid);
            PostQuitMessage(0);
            return 0;
        }
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);
    WNDCLASSW wc{};
    wc.lpfnWndProc = windowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"BenchFloor";
    RegisterClassW(&wc);
    HWND hwnd = CreateWindowW(
        L"BenchFloor", L"Bench Floor", WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX,
        CW_USEDEFAULT, CW_USEDEFAULT, 560, 220, nullptr, nullptr, instance, nullptr);
    createControls(hwnd);
    NOTIFYICONDATAW nid = trayIcon(hwnd);
    Shell_NotifyIconW(NIM_ADD, &nid);
    RegisterHotKey(hwnd, kHotkeyId, MOD_CONTROL | MOD_ALT, 'L');
    ShowWindow(hwnd, show);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (IsDialogMessageW(hwnd, &msg)) continue;
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
