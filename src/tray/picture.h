#pragma once
// A picture value as controls pass it around: its kind and its handle. Copies share the handle;
// an owned handle is released when the last copy goes.
#include <windows.h>

#include <memory>

namespace tray {

class Picture {
  public:
    enum Type { kNone = 0, kBitmap = 1, kMetafile = 2, kIcon = 3 };

    Picture() = default;  // none
    static Picture fromIcon(HICON icon, bool owned);
    static Picture fromBitmap(HBITMAP bitmap, bool owned);
    // An icon resource of this program at `size` pixels, owned.
    static Picture loadIcon(int resourceId, int size);

    Type type() const { return type_; }
    HANDLE handle() const { return handle_.get(); }
    explicit operator bool() const { return type_ != kNone; }
    bool operator==(const Picture& o) const { return type_ == o.type_ && handle() == o.handle(); }

  private:
    static Picture make(Type type, void* handle, bool owned, void (*release)(void*));

    Type type_ = kNone;
    std::shared_ptr<void> handle_;
};

}  // namespace tray
