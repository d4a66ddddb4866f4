// An AltGr character lost to an administrator's window.
#include "main_window/form1.h"

void Form1::TypingRefused() {
    // The press did not lock either: the user learns once why nothing happened, and how to lock.
    if (typingRefusedTold_) return;
    typingRefusedTold_ = true;
    ShowNotice(
        L"Windows does not let this program type into administrator windows, so that "
        L"character was not typed. " +
        Combo1.text() + L" + " + Combo2.text() +
        L" locks the computer from the left Ctrl and Alt keys.");
}
