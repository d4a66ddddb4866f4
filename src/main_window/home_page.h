#pragma once
// The one-start-in-a-hundred visit to the maker's home page.
#include <string>
#include <string_view>

namespace main_window {

// True when the draw r (0 <= r < 1) picks the home page: n = int(r * 100) + 1 equals 7.
bool homePageDrawn(double r);

// The command line that opens `url`: "explorer " and the address in double quotation marks.
std::wstring homePageCommand(std::wstring_view url);

}  // namespace main_window
