#pragma once
// Windows' input queue as a hotkey meets it, behind the services seam.
//
// On Windows, SendInput only puts input into the system's input queue and returns. The system's
// input thread takes it out later, runs the low-level keyboard hooks, and only then matches each
// key against the hotkeys registered at that moment, with the modifiers held then. Wine processes
// sent input before SendInput returns, so no test under Wine would see the difference; this model
// is the Windows side. What the user presses and what the program sends wait in one queue, first
// in first out, and are processed only when the message loop next takes a message after the
// sending call has returned. A real key that matches a registered combination posts WM_HOTKEY to
// the window holding it, as the system does; any other reaches the program with the focus as the
// character the model's layout gives it, and Unicode input as its characters. The key state the
// program reads is the state when it handles a press, which may be after the user let go.
#include <windows.h>

#include <deque>
#include <functional>
#include <map>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "hotkey/short_cuts.h"
#include "win/services.h"
#include "win_test_support.h"

namespace test_support {

// Two layouts, as ToUnicodeEx answers for them. On kAltGrLayout (Polish and Czech pieces), AltGr
// + L types "ł" ("Ł" with Caps Lock), AltGr + A "ą", and AltGr + 2 starts the caron dead key,
// whose spacing form is "ˇ". On kPlainLayout AltGr types nothing: Ctrl makes a letter a control
// character. Without AltGr, a letter types itself.
inline const HKL kAltGrLayout = reinterpret_cast<HKL>(0x04150415);
inline const HKL kPlainLayout = reinterpret_cast<HKL>(0x04090409);

inline int layoutToUnicode(unsigned vk, const BYTE* state, wchar_t* typed, int, HKL layout) {
    const bool letter = vk >= 'A' && vk <= 'Z', caps = state[VK_CAPITAL] & 1;
    if (!(state[VK_CONTROL] & 0x80) || !(state[VK_MENU] & 0x80)) {
        if (!letter) return 0;
        typed[0] = static_cast<wchar_t>(caps ? vk : vk + 32);
        return 1;
    }
    if (layout != kAltGrLayout) {
        typed[0] = static_cast<wchar_t>(vk - 'A' + 1);
        return letter ? 1 : 0;
    }
    switch (vk) {
        case 'L':
            typed[0] = caps ? L'Ł' : L'ł';
            return 1;
        case 'A':
            typed[0] = caps ? L'Ą' : L'ą';
            return 1;
        case '2':
            typed[0] = L'ˇ';
            return -1;
        default:
            return 0;
    }
}

class InputQueueModel {
  public:
    // Hotkeys are posted to `holder` under the program's hotkey id.
    explicit InputQueueModel(HWND holder) : holder_(holder) {
        static const ATOM windowClass = [] {
            WNDCLASSW wc{};
            wc.lpfnWndProc = processProc;
            wc.lpszClassName = L"InputQueueModel";
            return RegisterClassW(&wc);
        }();
        window_ = CreateWindowW(MAKEINTATOM(windowClass), L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                nullptr, nullptr);
        SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
        auto& s = win::services();
        // GetAsyncKeyState reads every key as up while UIPI keeps us from the foreground thread.
        s.keyDown = [this](int vk) { return !elevated && (state_[vk] & 0x80) != 0; };
        s.capsLockOn = [this] { return (state_[VK_CAPITAL] & 1) != 0; };
        s.keyboardLayout = [this](DWORD thread) {
            return threadLayouts.count(thread) ? threadLayouts[thread] : layout;
        };
        s.toUnicode = layoutToUnicode;
        s.aboveUs = [this](HWND) { return elevated; };
        s.sendInput = [this](const std::vector<INPUT>& input) {
            for (const INPUT& i : input)
                enqueue({i.ki.wVk,
                         static_cast<WCHAR>((i.ki.dwFlags & KEYEVENTF_UNICODE) ? i.ki.wScan : 0),
                         (i.ki.dwFlags & KEYEVENTF_KEYUP) != 0, true});
            if (auto then = std::move(meanwhile)) then();
        };
    }
    ~InputQueueModel() { DestroyWindow(window_); }

    // The user: keys go down, or up (a negative code), in the queue like every input.
    void user(const std::vector<int>& keys) {
        for (int k : keys) enqueue({static_cast<WORD>(k < 0 ? -k : k), 0, k < 0, false});
    }

    HKL layout = kAltGrLayout;           // every thread's, but for those named here
    std::map<DWORD, HKL> threadLayouts;  //
    bool elevated = false;               // the focus window is above the program
    std::function<void()> meanwhile;     // the user acting right after the program's next send
    std::wstring delivered;              // what the program with the focus received, in order
    int hotkeysFromSent = 0;             // hotkey messages caused by the program's own input

  private:
    struct Event {
        WORD vk;
        WCHAR unit;  // Unicode input's character, else 0
        bool up;
        bool sent;  // by the program
    };
    static constexpr int kLoopLimit = 100;  // a loop is cut here, so a failing test still ends

    void enqueue(const Event& e) {
        queue_.push_back(e);
        PostMessageW(window_, WM_APP, 0, 0);
    }
    static LRESULT CALLBACK processProc(HWND h, UINT m, WPARAM w, LPARAM l) {
        auto* self = reinterpret_cast<InputQueueModel*>(GetWindowLongPtrW(h, GWLP_USERDATA));
        if (m != WM_APP || !self) return DefWindowProcW(h, m, w, l);
        while (!self->queue_.empty()) {
            const Event e = self->queue_.front();
            self->queue_.pop_front();
            self->process(e);
        }
        return 0;
    }
    // Whether some window holds the combination now: then it cannot be registered again.
    bool registered(std::pair<UINT, UINT> hotkey) {
        if (!RegisterHotKey(window_, 1, hotkey.first, hotkey.second)) return true;
        UnregisterHotKey(window_, 1);
        return false;
    }
    void process(const Event& e) {
        if (e.unit) {
            if (!e.up) delivered += e.unit;
            return;
        }
        if (e.vk == VK_CAPITAL && !e.up && !(state_[VK_CAPITAL] & 0x80)) state_[VK_CAPITAL] ^= 1;
        state_[e.vk] = static_cast<BYTE>(e.up ? state_[e.vk] & 1 : state_[e.vk] | 0x80);
        for (auto [merged, left, right] :
             {std::tuple{VK_CONTROL, VK_LCONTROL, VK_RCONTROL},
              std::tuple{VK_MENU, VK_LMENU, VK_RMENU}, std::tuple{VK_SHIFT, VK_LSHIFT, VK_RSHIFT}})
            state_[merged] = (state_[left] | state_[right]) & 0x80;
        if (e.up || e.vk == VK_CAPITAL || (e.vk >= VK_LSHIFT && e.vk <= VK_RMENU)) return;
        const UINT modifiers = (state_[VK_CONTROL] ? MOD_CONTROL : 0) |
                               (state_[VK_MENU] ? MOD_ALT : 0) | (state_[VK_SHIFT] ? MOD_SHIFT : 0);
        if (registered({modifiers, e.vk})) {
            if (e.sent && ++hotkeysFromSent > kLoopLimit) return;
            PostMessageW(holder_, WM_HOTKEY, ShortCuts::hotkeyId, MAKELPARAM(modifiers, e.vk));
            return;
        }
        wchar_t typed[8];
        const int n = layoutToUnicode(e.vk, state_, typed, 8, layout);
        if (n > 0 && typed[0] >= L' ') delivered.append(typed, static_cast<std::size_t>(n));
    }

    HWND holder_;
    HWND window_;
    SeamGuard<win::Services> savedServices_{win::services};  // put back when the model goes
    std::deque<Event> queue_;
    BYTE state_[256]{};  // the keys as the processed input left them
};

}  // namespace test_support
