#include "main_window/home_page.h"

namespace main_window {

bool homePageDrawn(double r) {
    return static_cast<int>(r * 100.0) + 1 == 7;
}

std::wstring homePageCommand(std::wstring_view url) {
    return L"explorer \"" + std::wstring(url) + L"\"";
}

}  // namespace main_window
