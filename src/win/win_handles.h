#pragma once
// Move-only owners for GDI and USER handles, so nothing leaks on any path.
#include <windows.h>

#include <utility>

namespace win {

template <class H, BOOL(WINAPI* Free)(H)>
class Owned {
public:
    Owned() = default;
    explicit Owned(H h) : h_(h) {}
    Owned(Owned&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
    Owned& operator=(Owned&& o) noexcept {
        reset(std::exchange(o.h_, nullptr));
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    ~Owned() { reset(); }

    H get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }
    void reset(H h = nullptr) {
        if (h_) Free(h_);
        h_ = h;
    }

private:
    H h_ = nullptr;
};

template <class H>
inline BOOL WINAPI deleteGdi(H h) { return DeleteObject(h); }

using OwnedFont = Owned<HFONT, deleteGdi<HFONT>>;
using OwnedBrush = Owned<HBRUSH, deleteGdi<HBRUSH>>;
using OwnedIcon = Owned<HICON, DestroyIcon>;
using OwnedCursor = Owned<HCURSOR, DestroyCursor>;

}  // namespace win
