#include "main_window/form1.h"

// The hand shows over the help button; the window background and the frames bring the arrow
// back. Neither ever replaces an hourglass.
void Form1::PushButton1_MouseMove() {
    if (pointerMode() != ui::kPointerHourglass) setPointerMode(ui::kPointerCustom);
}

void Form1::Background_MouseMove() {
    if (pointerMode() != ui::kPointerHourglass) setPointerMode(ui::kPointerDefault);
}
