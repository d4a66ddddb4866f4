#include "main_window/app_title.h"

namespace main_window {

std::wstring applicationTitle(std::wstring_view productTitle) {
    std::wstring text(productTitle);
    do {
        const size_t blank = text.rfind(L' ');
        if (blank == std::wstring::npos) break;
        text.resize(blank);
    } while (text.size() > 40);
    return text;
}

}  // namespace main_window
