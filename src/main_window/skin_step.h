#pragma once
// Module Main: the skin step of the start-up (statement 102 of Form_Load). When the skin file
// "x\o.cjs" lies beside the program, the window and its option buttons, check boxes, frames and
// labels take the button-face colour and the skin engine loads the file and applies it. Errors
// pass to the caller.
#include <string>

#include "skin_engine/skin_engine.h"
#include "ui/form.h"

class Form1;

namespace main_window {

inline constexpr wchar_t kSkinFile[] = L"\\x\\o.cjs";

// True when a directory search for exactly `path`, with no attribute options, finds it: ordinary,
// read-only and archive files count; hidden and system files and folders do not.
bool skinFilePresent(const std::wstring& path);

// The skin step for `window`, with the program folder `folder` and the skin engine `engine`.
void SkinMainWindow(ui::Form& window, skin_engine::SkinEngine& engine, const std::wstring& folder);

}  // namespace main_window

// The skin step of the main window: its own skin engine, the program's folder.
void SkinMainWindow(Form1& form);
