#pragma once
// Message boxes. A box without a caption of its own bears the application title.
#include <functional>
#include <string>

namespace ui {

void setApplicationTitle(const std::wstring& title);
const std::wstring& applicationTitle();

// Shows a modal box over the active window of the program; returns the button chosen.
// `caption` empty means the application title. Tests replace the presenter to answer boxes.
int messageBox(const std::wstring& text, unsigned flags, const std::wstring& caption = L"");

using MessageBoxPresenter =
    std::function<int(const std::wstring& text, unsigned flags, const std::wstring& caption)>;
// Empty: the real box. Returns the presenter it replaced.
MessageBoxPresenter setMessageBoxPresenter(MessageBoxPresenter presenter);

}  // namespace ui
