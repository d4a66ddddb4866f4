#pragma once
// Names the program carries on the screen.
#include <string>
#include <string_view>

namespace main_window {

inline constexpr std::wstring_view kProductTitle = L"Vantrel Desk Guard";

// The application title: the product title cut at its last blank at least once, then again while
// it is longer than 40 characters. A text without a blank is kept whole.
std::wstring applicationTitle(std::wstring_view productTitle);

}  // namespace main_window
