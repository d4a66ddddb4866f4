#pragma once
// A periodic timer of a form. Its handler never nests: a tick that falls due while the handler
// still runs is dropped, not queued.
#include <windows.h>

#include <functional>

namespace ui {

class Form;

class Timer {
  public:
    explicit Timer(UINT_PTR id) : id_(id) {}
    void attach(Form& form) { form_ = &form; }
    bool enabled() const { return enabled_; }
    int interval() const { return interval_; }
    void setEnabled(bool enabled);
    void setInterval(int milliseconds);
    std::function<void()> onTick;

  private:
    friend class Form;
    void tick();
    void arm();

    Form* form_ = nullptr;
    UINT_PTR id_;
    bool enabled_ = false, running_ = false;
    int interval_ = 0;
};

}  // namespace ui
