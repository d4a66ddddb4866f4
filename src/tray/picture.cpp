#include "tray/picture.h"

#include "win/icons.h"

namespace tray {

namespace {

void keepNothing(void*) {}  // for handles the picture does not own

}  // namespace

Picture Picture::make(Type type, void* handle, bool owned, void (*release)(void*)) {
    Picture p;
    if (!handle) return p;
    p.type_ = type;
    p.handle_.reset(handle, owned ? release : keepNothing);
    return p;
}

Picture Picture::fromIcon(HICON icon, bool owned) {
    return make(kIcon, icon, owned, [](void* h) { DestroyIcon(static_cast<HICON>(h)); });
}

Picture Picture::fromBitmap(HBITMAP bitmap, bool owned) {
    return make(kBitmap, bitmap, owned, [](void* h) { DeleteObject(static_cast<HBITMAP>(h)); });
}

Picture Picture::loadIcon(int resourceId, int size) {
    return fromIcon(win::loadIcon(resourceId, size), true);
}

}  // namespace tray
