#pragma once
// The few outside effects that tests replace: chance, starting programs, locking the desk, the
// keyboard as a press finds it, the accessibility settings Wine cannot switch, and the taskbar's
// DPI, which Wine's taskbar does not declare.
// Defaults are the real system calls.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace win {

struct Services {
    std::function<double()> random;  // 0 <= r < 1, seeded from the time of day
    // Starts `program`, named by its full path (never searched for), with a command line and a
    // window show state; fails with a run-time error.
    std::function<void(const std::wstring& program, const std::wstring& commandLine, int showState)>
        runProgram;
    // Asks the system to lock the desk: 0 when it accepted, else the system's error code.
    std::function<unsigned long()> lockWorkStation;
    // The keyboard as Windows reports it when a press is handled: whether a key is down now and
    // whether Caps Lock is on; a thread's keyboard layout (Wine answers our own for every
    // thread); what a key does in a layout with a key state, as ToUnicodeEx answers, the
    // system's dead-key state left alone; and handing input to the system's input queue.
    std::function<bool(int virtualKey)> keyDown;
    std::function<bool()> capsLockOn;
    std::function<HKL(DWORD thread)> keyboardLayout;
    std::function<int(unsigned virtualKey, const BYTE* keyState, wchar_t* typed, int size,
                      HKL layout)>
        toUnicode;
    std::function<void(const std::vector<INPUT>& input)> sendInput;
    // Whether a window belongs to a program above ours, which drops the input we send it.
    std::function<bool(HWND window)> aboveUs;
    // The user's accessibility settings: high contrast on, a screen reader running.
    std::function<bool()> highContrast;
    std::function<bool()> screenReader;
    // The DPI the taskbar draws at now, 0 where the system cannot tell (win/icons.h).
    std::function<int()> taskbarDpi;
};

// Tests change it field by field and put a copy back.
Services& services();

}  // namespace win
