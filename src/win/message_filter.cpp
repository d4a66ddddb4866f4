#include "win/message_filter.h"

#include "win/function_lookup.h"

namespace win {

void admitMessage(HWND window, UINT message) {
    using ChangeFilterFn = BOOL(WINAPI*)(HWND, UINT, DWORD, void*);
    static const auto changeFilter = user32Function<ChangeFilterFn>("ChangeWindowMessageFilterEx");
    if (changeFilter) changeFilter(window, message, 1 /* MSGFLT_ALLOW */, nullptr);
}

}  // namespace win
