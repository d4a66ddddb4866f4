#pragma once
// Move-only owners for GDI, USER, kernel and registry handles, so nothing leaks on any path.
#include <windows.h>

#include <utility>

namespace win {

// Owns one handle and frees it with `Free`.
template <class H, auto Free>
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
    // For a call that hands out a new handle through a pointer: the one held before is freed.
    H* receive() {
        reset();
        return &h_;
    }

  private:
    H h_ = nullptr;
};

template <class H>
inline BOOL WINAPI deleteGdi(H h) {
    return DeleteObject(h);
}

using OwnedFont = Owned<HFONT, deleteGdi<HFONT>>;
using OwnedBrush = Owned<HBRUSH, deleteGdi<HBRUSH>>;
using OwnedBitmap = Owned<HBITMAP, deleteGdi<HBITMAP>>;
using OwnedDC = Owned<HDC, DeleteDC>;  // a memory device context
using OwnedCursor = Owned<HCURSOR, DestroyCursor>;
using OwnedKey = Owned<HKEY, RegCloseKey>;
// Files and searches report a failure as INVALID_HANDLE_VALUE, never null: test the handle before
// an owner takes it.
using OwnedFile = Owned<HANDLE, CloseHandle>;
using OwnedSearch = Owned<HANDLE, FindClose>;
// Processes and tokens, which report a failure as null.
using OwnedHandle = Owned<HANDLE, CloseHandle>;

// Selects a GDI object into a device context for one scope, and puts back what it replaced.
// The object itself is not owned.
class Selection {
  public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), replaced_(SelectObject(dc, object)) {}
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;
    ~Selection() { SelectObject(dc_, replaced_); }

  private:
    HDC dc_;
    HGDIOBJ replaced_;
};

}  // namespace win
