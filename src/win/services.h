#pragma once
// The few outside effects that tests replace: chance, starting programs, locking the desk, the
// keyboard as a press finds it, and the accessibility settings Wine cannot switch.
// Defaults are the real system calls.
#include <functional>
#include <string>

namespace win {

// What the keyboard layout of the program with the focus makes of AltGr with a key.
enum class AltGrKey { typesNothing, typesCharacter, startsDeadKey };

struct Services {
    std::function<double()> random;  // 0 <= r < 1, seeded from the time of day
    // Starts `program`, named by its full path (never searched for), with a command line and a
    // window show state; fails with a run-time error.
    std::function<void(const std::wstring& program, const std::wstring& commandLine, int showState)>
        runProgram;
    // Asks the system to lock the desk: 0 when it accepted, else the system's error code.
    std::function<unsigned long()> lockWorkStation;
    // The keyboard: whether a key is down now; what AltGr with a key does in the layout of the
    // program with the focus; handing that program a key's press, with the modifiers as they are
    // held.
    std::function<bool(int virtualKey)> keyDown;
    std::function<AltGrKey(unsigned virtualKey)> altGrKey;
    std::function<void(unsigned virtualKey)> sendKeyPress;
    // The user's accessibility settings: high contrast on, a screen reader running.
    std::function<bool()> highContrast;
    std::function<bool()> screenReader;
};

Services& services();
void resetServices();  // back to the real calls

}  // namespace win
