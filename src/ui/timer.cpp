#include "ui/timer.h"

#include "ui/form.h"

namespace ui {

void Timer::setEnabled(bool enabled) {
    enabled_ = enabled;
    arm();
}

void Timer::setInterval(int milliseconds) {
    interval_ = milliseconds;
    arm();
}

void Timer::arm() {
    if (!form_ || !form_->hwnd()) return;
    if (enabled_ && interval_ > 0) {
        SetTimer(form_->hwnd(), id_, static_cast<UINT>(interval_), nullptr);
    } else {
        KillTimer(form_->hwnd(), id_);
    }
}

void Timer::tick() {
    if (running_ || !enabled_ || !onTick) return;  // never nested: a tick due meanwhile is dropped
    running_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{running_};
    onTick();
}

}  // namespace ui
