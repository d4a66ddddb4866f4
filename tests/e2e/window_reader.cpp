// A small Windows program the end-to-end tests run beside the program under test, to read its
// windows and controls and to act on them the way the system does for a user.
//   window_reader tree TITLE            the top-level window TITLE and its children, as JSON
//   window_reader boxes                 the visible message boxes of all programs, as JSON
//   window_reader select TITLE N INDEX  selects item INDEX in the N-th list of TITLE, as a user's choice
//   window_reader click TITLE TEXT      clicks the control captioned TEXT (a check box or button)
//   window_reader answer TEXT           presses the button TEXT of the first visible message box
//   window_reader close TITLE           asks the window to close
//   window_reader minimize TITLE        minimizes it as the title-bar button does
//   window_reader broadcast NAME        broadcasts the registered window message NAME
//   window_reader tooltips              the visible tooltip and balloon windows of all programs, their
//                                 text and whether they are balloons, as JSON
//   window_reader hotkey MODS VK        tries to register MODS+VK for itself; prints the result, keeps it
//                                 registered until stdin closes
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string utf8(const std::wstring& w) {
    if (w.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, w.data(), (int)w.size(), nullptr, 0, nullptr, nullptr);
    std::string s(n, '\0');
    WideCharToMultiByte(CP_UTF8, 0, w.data(), (int)w.size(), s.data(), n, nullptr, nullptr);
    return s;
}

std::string json(const std::wstring& w) {
    std::string out = "\"";
    for (char c : utf8(w)) {
        switch (c) {
            case '"': out += "\\\""; break;
            case '\\': out += "\\\\"; break;
            case '\r': out += "\\r"; break;
            case '\n': out += "\\n"; break;
            case '\t': out += "\\t"; break;
            default:
                if ((unsigned char)c < 0x20) {
                    char buf[8];
                    snprintf(buf, sizeof buf, "\\u%04x", c);
                    out += buf;
                } else {
                    out += c;
                }
        }
    }
    return out + "\"";
}

std::wstring text(HWND h) {
    wchar_t buf[2048] = L"";
    DWORD_PTR ignored;
    SendMessageTimeoutW(h, WM_GETTEXT, 2048, (LPARAM)buf, SMTO_ABORTIFHUNG, 2000, &ignored);
    buf[2047] = 0;
    return buf;
}

std::wstring className(HWND h) {
    wchar_t buf[256];
    GetClassNameW(h, buf, 256);
    return buf;
}

BOOL CALLBACK collect(HWND h, LPARAM p) {
    ((std::vector<HWND>*)p)->push_back(h);
    return TRUE;
}

std::vector<HWND> topLevel() {
    std::vector<HWND> all;
    EnumWindows(collect, (LPARAM)&all);
    return all;
}

std::vector<HWND> descendants(HWND parent) {
    std::vector<HWND> all;
    EnumChildWindows(parent, collect, (LPARAM)&all);
    return all;
}

HWND findTop(const std::wstring& title) {
    for (HWND h : topLevel())
        // Message boxes and tooltips (the tray's tip carries the program's title) are not it.
        if (text(h) == title && className(h) != L"#32770" && className(h) != L"tooltips_class32") return h;
    return nullptr;
}

std::string rectJson(RECT r) {
    char buf[128];
    snprintf(buf, sizeof buf, "[%ld, %ld, %ld, %ld]", r.left, r.top, r.right - r.left, r.bottom - r.top);
    return buf;
}

void printTree(HWND top) {
    GUITHREADINFO gti{sizeof gti};
    GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &gti);
    RECT wr, cr;
    GetWindowRect(top, &wr);
    GetClientRect(top, &cr);
    POINT origin{0, 0};
    ClientToScreen(top, &origin);
    printf("{\"hwnd\": %lu, \"title\": %s, \"class\": %s, \"rect\": %s, \"client\": %s, \"style\": %lu, "
           "\"exstyle\": %lu, \"visible\": %s, \"iconic\": %s, \"foreground\": %s, \"focus\": %lu, \"dpi_x\": %d, "
           "\"children\": [",
           (unsigned long)(ULONG_PTR)top, json(text(top)).c_str(), json(className(top)).c_str(), rectJson(wr).c_str(),
           rectJson(cr).c_str(), (unsigned long)GetWindowLongW(top, GWL_STYLE), (unsigned long)GetWindowLongW(top, GWL_EXSTYLE),
           IsWindowVisible(top) ? "true" : "false", IsIconic(top) ? "true" : "false",
           GetForegroundWindow() == top ? "true" : "false", (unsigned long)(ULONG_PTR)gti.hwndFocus, 96);
    bool first = true;
    for (HWND h : descendants(top)) {
        RECT r;
        GetWindowRect(h, &r);
        OffsetRect(&r, -origin.x, -origin.y);
        std::wstring cls = className(h);
        std::string extra;
        if (cls == L"ComboBox") {
            int count = (int)SendMessageW(h, CB_GETCOUNT, 0, 0);
            extra += ", \"selected\": " + std::to_string((int)SendMessageW(h, CB_GETCURSEL, 0, 0)) + ", \"items\": [";
            for (int i = 0; i < count; ++i) {
                wchar_t item[256] = L"";
                SendMessageW(h, CB_GETLBTEXT, i, (LPARAM)item);
                extra += (i ? ", " : "") + json(item);
            }
            extra += "]";
        }
        if (cls == L"Button") extra += ", \"checked\": " + std::to_string((int)SendMessageW(h, BM_GETCHECK, 0, 0));
        HFONT font = (HFONT)SendMessageW(h, WM_GETFONT, 0, 0);
        LOGFONTW lf{};
        if (font) GetObjectW(font, sizeof lf, &lf);
        printf("%s\n  {\"hwnd\": %lu, \"class\": %s, \"text\": %s, \"rect\": %s, \"parent\": %lu, \"style\": %lu, "
               "\"visible\": %s, \"font\": %s, \"font_height\": %ld, \"font_weight\": %ld, \"charset\": %d%s}",
               first ? "" : ",", (unsigned long)(ULONG_PTR)h, json(cls).c_str(), json(text(h)).c_str(), rectJson(r).c_str(),
               (unsigned long)(ULONG_PTR)GetParent(h), (unsigned long)GetWindowLongW(h, GWL_STYLE),
               IsWindowVisible(h) ? "true" : "false", json(lf.lfFaceName).c_str(), lf.lfHeight, lf.lfWeight,
               (int)lf.lfCharSet, extra.c_str());
        first = false;
    }
    printf("]}\n");
}

std::vector<HWND> boxes() {
    std::vector<HWND> found;
    for (HWND h : topLevel())
        if (className(h) == L"#32770" && IsWindowVisible(h)) found.push_back(h);
    return found;
}

void printBoxes() {
    printf("[");
    bool first = true;
    for (HWND box : boxes()) {
        std::wstring message;
        std::string buttons, icons;
        for (HWND h : descendants(box)) {
            std::wstring cls = className(h);
            if (cls == L"Button") buttons += (buttons.empty() ? "" : ", ") + json(text(h));
            if (cls == L"Static") {
                // The box keeps an empty icon control when it shows no icon.
                if ((GetWindowLongW(h, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
                    if (SendMessageW(h, STM_GETICON, 0, 0)) icons += "icon";
                }
                else if (!text(h).empty()) message = text(h);
            }
        }
        printf("%s\n {\"title\": %s, \"text\": %s, \"buttons\": [%s], \"has_icon\": %s, \"owner_pid\": %lu}",
               first ? "" : ",", json(text(box)).c_str(), json(message).c_str(), buttons.c_str(),
               icons.empty() ? "false" : "true", [&] { DWORD pid; GetWindowThreadProcessId(box, &pid); return (unsigned long)pid; }());
        first = false;
    }
    printf("]\n");
}

HWND childByText(HWND top, const std::wstring& caption) {
    for (HWND h : descendants(top))
        if (text(h) == caption) return h;
    return nullptr;
}

void printTooltips() {
    printf("[");
    bool first = true;
    for (HWND h : topLevel()) {
        if (className(h) != L"tooltips_class32" || !IsWindowVisible(h)) continue;
        RECT r;
        GetWindowRect(h, &r);
        printf("%s\n {\"text\": %s, \"balloon\": %s, \"rect\": %s}", first ? "" : ",",
               json(text(h)).c_str(),
               (GetWindowLongW(h, GWL_STYLE) & 0x40 /* TTS_BALLOON */) ? "true" : "false", rectJson(r).c_str());
        first = false;
    }
    printf("]\n");
}

int fail(const char* what) {
    fprintf(stderr, "window_reader: %s\n", what);
    return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return fail("no command");
    std::wstring cmd = argv[1];
    if (cmd == L"boxes") {
        printBoxes();
        return 0;
    }
    if (cmd == L"answer" && argc == 3) {
        for (HWND box : boxes())
            if (HWND b = childByText(box, argv[2])) {
                PostMessageW(b, BM_CLICK, 0, 0);
                return 0;
            }
        return fail("no such box button");
    }
    if (cmd == L"tooltips") {
        printTooltips();
        return 0;
    }
    if (cmd == L"broadcast" && argc == 3) {
        UINT msg = RegisterWindowMessageW(argv[2]);
        PostMessageW(HWND_BROADCAST, msg, 0, 0);
        return 0;
    }
    if (cmd == L"hotkey" && argc == 4) {
        BOOL ok = RegisterHotKey(nullptr, 1, (UINT)_wtoi(argv[2]), (UINT)_wtoi(argv[3]));
        printf("%s\n", ok ? "registered" : "refused");
        fflush(stdout);
        char buf[16];
        while (fread(buf, 1, sizeof buf, stdin) > 0) {
        }
        return 0;
    }
    if (argc < 3) return fail("no window title");
    HWND top = findTop(argv[2]);
    if (!top) return fail("no such window");
    if (cmd == L"tree") {
        printTree(top);
    } else if (cmd == L"close") {
        PostMessageW(top, WM_CLOSE, 0, 0);
    } else if (cmd == L"minimize") {
        PostMessageW(top, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    } else if (cmd == L"click" && argc == 4) {
        HWND h = childByText(top, argv[3]);
        if (!h) return fail("no such control");
        if (className(h) == L"VantrelPushButton") {
            // The program's own button clicks on a release inside it, as under the mouse.
            RECT r;
            GetClientRect(h, &r);
            LPARAM mid = MAKELPARAM(r.right / 2, r.bottom / 2);
            PostMessageW(h, WM_MOUSEMOVE, 0, mid);
            PostMessageW(h, WM_LBUTTONDOWN, MK_LBUTTON, mid);
            PostMessageW(h, WM_LBUTTONUP, 0, mid);
        } else {
            PostMessageW(h, BM_CLICK, 0, 0);
        }
    } else if (cmd == L"select" && argc == 5) {
        int n = _wtoi(argv[3]), index = _wtoi(argv[4]);
        for (HWND h : descendants(top)) {
            if (className(h) != L"ComboBox" || n-- != 0) continue;
            SendMessageW(h, CB_SETCURSEL, index, 0);
            SendMessageW(GetParent(h), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(h), CBN_SELCHANGE), (LPARAM)h);
            return 0;
        }
        return fail("no such list");
    } else {
        return fail("unknown command");
    }
    return 0;
}
