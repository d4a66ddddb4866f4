#include "ui/message_box.h"

#include <windows.h>

#include <utility>

namespace ui {
namespace {

std::wstring& titleStore() {
    static std::wstring title;
    return title;
}

MessageBoxPresenter& presenterStore() {
    static MessageBoxPresenter presenter;
    return presenter;
}

}  // namespace

void setApplicationTitle(const std::wstring& title) {
    titleStore() = title;
}
const std::wstring& applicationTitle() {
    return titleStore();
}
MessageBoxPresenter setMessageBoxPresenter(MessageBoxPresenter presenter) {
    return std::exchange(presenterStore(), std::move(presenter));
}

int messageBox(const std::wstring& text, unsigned flags, const std::wstring& caption) {
    const std::wstring& title = caption.empty() ? titleStore() : caption;
    if (presenterStore()) return presenterStore()(text, flags, title);
    // Owned by the program's active window when there is one, so the box is modal to it; before
    // any window is shown the box is modal to the whole program.
    HWND owner = GetActiveWindow();
    if (!owner || !IsWindowVisible(owner)) {
        owner = nullptr;
        flags |= MB_TASKMODAL;
    }
    return MessageBoxW(owner, text.c_str(), title.c_str(), flags | MB_SETFOREGROUND);
}

}  // namespace ui
