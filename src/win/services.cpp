#include "win/services.h"

#include <windows.h>

#include <random>
#include <vector>

#include "runtime/run_error.h"

namespace win {
namespace {

double randomFromTimeOfDay() {
    // Seeded once from the seconds since midnight, like the platform's own generator.
    static std::minstd_rand engine([] {
        SYSTEMTIME t;
        GetLocalTime(&t);
        return static_cast<unsigned>(t.wHour * 3600000 + t.wMinute * 60000 + t.wSecond * 1000 +
                                     t.wMilliseconds);
    }());
    return std::uniform_real_distribution<double>(0.0, 1.0)(engine);
}

void startProgram(const std::wstring& program, const std::wstring& commandLine, int showState) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESHOWWINDOW;
    si.wShowWindow = static_cast<WORD>(showState);
    PROCESS_INFORMATION pi{};
    std::vector<wchar_t> line(commandLine.begin(), commandLine.end());
    line.push_back(L'\0');
    if (!CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &si, &pi))
        throw runtime::Error(53, L"File not found");
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
}

// The layout of the thread whose window has the focus: the user types with that one, not ours.
HKL focusedLayout() {
    const HWND focus = GetForegroundWindow();
    return GetKeyboardLayout(focus ? GetWindowThreadProcessId(focus, nullptr) : 0);
}

AltGrKey altGrKeyInFocus(unsigned virtualKey) {
    // AltGr reaches a layout as the left Ctrl and the right Alt.
    BYTE state[256]{};
    state[VK_CONTROL] = state[VK_LCONTROL] = state[VK_MENU] = state[VK_RMENU] = 0x80;
    const HKL layout = focusedLayout();
    const UINT scan = MapVirtualKeyExW(virtualKey, MAPVK_VK_TO_VSC, layout);
    wchar_t typed[8];
    // Flag 4 leaves the system's dead-key state alone (Windows 10 1607 on); where it is ignored,
    // a second call ends the dead key the first one started.
    constexpr UINT kKeepKeyboardState = 4;
    const int n = ToUnicodeEx(virtualKey, scan, state, typed, 8, kKeepKeyboardState, layout);
    if (n < 0) {
        ToUnicodeEx(virtualKey, scan, state, typed, 8, kKeepKeyboardState, layout);
        return AltGrKey::startsDeadKey;
    }
    // A control character is no typing: Ctrl with a letter gives one on some layouts.
    return n > 0 && typed[0] >= L' ' ? AltGrKey::typesCharacter : AltGrKey::typesNothing;
}

void sendKeyPressToFocus(unsigned virtualKey) {
    INPUT press{};
    press.type = INPUT_KEYBOARD;
    press.ki.wVk = static_cast<WORD>(virtualKey);
    press.ki.wScan =
        static_cast<WORD>(MapVirtualKeyExW(virtualKey, MAPVK_VK_TO_VSC, focusedLayout()));
    SendInput(1, &press, sizeof press);
}

bool highContrastOn() {
    HIGHCONTRASTW hc{};
    hc.cbSize = sizeof hc;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof hc, &hc, 0) &&
           (hc.dwFlags & HCF_HIGHCONTRASTON);
}

bool screenReaderRunning() {
    BOOL running = FALSE;
    return SystemParametersInfoW(SPI_GETSCREENREADER, 0, &running, 0) && running;
}

Services realServices() {
    Services s;
    s.random = randomFromTimeOfDay;
    s.runProgram = startProgram;
    s.lockWorkStation = []() -> unsigned long { return LockWorkStation() ? 0 : GetLastError(); };
    s.keyDown = [](int virtualKey) { return (GetAsyncKeyState(virtualKey) & 0x8000) != 0; };
    s.altGrKey = altGrKeyInFocus;
    s.sendKeyPress = sendKeyPressToFocus;
    s.highContrast = highContrastOn;
    s.screenReader = screenReaderRunning;
    return s;
}

}  // namespace

Services& services() {
    static Services current = realServices();
    return current;
}

void resetServices() {
    services() = realServices();
}

}  // namespace win
