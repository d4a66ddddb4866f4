#include "tray/picture.h"

namespace tray {

Picture Picture::fromIcon(HICON icon, bool owned) {
    Picture p;
    if (!icon) return p;
    p.type_ = kIcon;
    if (owned)
        p.handle_.reset(icon, [](void* h) { DestroyIcon(static_cast<HICON>(h)); });
    else
        p.handle_.reset(icon, [](void*) {});  // not owned
    return p;
}

Picture Picture::fromBitmap(HBITMAP bitmap, bool owned) {
    Picture p;
    if (!bitmap) return p;
    p.type_ = kBitmap;
    if (owned)
        p.handle_.reset(bitmap, [](void* h) { DeleteObject(static_cast<HBITMAP>(h)); });
    else
        p.handle_.reset(bitmap, [](void*) {});  // not owned
    return p;
}

Picture Picture::loadIcon(int resourceId, int size) {
    HANDLE icon = LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(resourceId), IMAGE_ICON,
                             size, size, 0);
    return fromIcon(static_cast<HICON>(icon), true);
}

}  // namespace tray
