#include "win/services.h"

#include <windows.h>

#include <random>
#include <vector>

#include "runtime/run_error.h"
#include "win/icons.h"
#include "win/integrity.h"

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

int toUnicodeKeepingDeadKeys(unsigned virtualKey, const BYTE* keyState, wchar_t* typed, int size,
                             HKL layout) {
    // Flag 4 leaves the system's dead-key state alone (Windows 10 1607 on).
    constexpr UINT kKeepKeyboardState = 4;
    return ToUnicodeEx(virtualKey, MapVirtualKeyExW(virtualKey, MAPVK_VK_TO_VSC, layout), keyState,
                       typed, size, kKeepKeyboardState, layout);
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
    // A thread without the keyboard focus reads the system's toggle here: the call brings the
    // thread's key state up to date with the system's.
    s.capsLockOn = [] { return (GetKeyState(VK_CAPITAL) & 1) != 0; };
    s.keyboardLayout = [](DWORD thread) { return GetKeyboardLayout(thread); };
    s.toUnicode = toUnicodeKeepingDeadKeys;
    s.sendInput = [](const std::vector<INPUT>& input) {
        SendInput(static_cast<UINT>(input.size()), const_cast<INPUT*>(input.data()), sizeof(INPUT));
    };
    s.aboveUs = aboveOurIntegrity;
    s.highContrast = highContrastOn;
    s.screenReader = screenReaderRunning;
    s.taskbarDpi = realTaskbarDpi;
    return s;
}

}  // namespace

Services& services() {
    static Services current = realServices();
    return current;
}

}  // namespace win
