// A small Windows program the end-to-end tests run beside the program under test, to read its
// windows and controls and to act on them the way the system does for a user.
//   tree TITLE            the top-level window TITLE and its children, as JSON
//   boxes                 the visible message boxes of all programs, as JSON
//   select TITLE N INDEX  selects item INDEX in the N-th list of TITLE, as a user's choice
//   click TITLE TEXT      clicks the control captioned TEXT (a check box or button)
//   answer TEXT           presses the button TEXT of the first visible message box
//   close TITLE           asks the window to close
//   send TITLE MSG WP LP  sends message MSG (LP a number, else a text) and prints the answer
//   windows TITLE         the handles of the top-level windows titled TITLE, as JSON; "#" and a
//                         handle stands for TITLE in every command
//   minimize TITLE        minimizes it as the title-bar button does
//   broadcast NAME        broadcasts the registered window message NAME
//   tooltips              the visible tooltip and balloon windows of all programs, their text and
//                         whether they are balloons, as JSON
//   hotkey MODS VK        tries to register MODS+VK for itself; prints the result, keeps it
//                         registered until stdin closes
//   resources TITLE       the GDI and USER object counts of TITLE's process, as JSON: the
//                         system's (GetGuiResources, null where it does not answer), the live
//                         entries of Wine's GDI handle table, and the process's windows
//   soak-lists TITLE N    N changes of the combination through TITLE's two lists, in turn, each
//                         a new choice, 25 ms apart so that each is bound
//   soak-tray TITLE N     N cycles of minimizing TITLE into the tray and restoring it by the tray
//                         icon's click, reported to its tray window as the shell does
//   accessible TITLE      what assistive technology reads of each child of TITLE (role, name,
//                         state, default action, shortcut, value), as JSON
//   do-default TITLE NAME carries out the default action of the child whose accessible name is NAME
//   announce TITLE N I    selects item I in the N-th list, as `select`, and prints the name and
//                         live-region events TITLE's process raised within two seconds, as JSON
//   modules TITLE         the names of the DLLs loaded in TITLE's process, as JSON
//   screen-reader on|off  tells the system a screen reader is running, or not (kept in the
//                         user's settings, so programs started later see it)
//   reset KEY NAME RUN... deletes the key KEY (HKCU\... or HKLM\...) with all below it, and the
//                         value NAME in each key RUN: the registry a test starts from, in one
//                         process
// Texts of buttons and frames are read as shown: without the "&" that marks a shortcut.
// The soak commands serve the bench.
#include <windows.h>
#include <oleacc.h>
#include <psapi.h>

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
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
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

// Empty for a window that closed while it was being read.
std::wstring className(HWND h) {
    wchar_t buf[256];
    const int n = GetClassNameW(h, buf, 256);
    return std::wstring(buf, n > 0 ? n : 0);
}

// The text as a button or frame shows it: "&Help" is shown as "Help", "&&" as "&".
std::wstring shownText(HWND h) {
    const std::wstring raw = text(h), cls = className(h);
    if (cls != L"Button" && cls != L"VantrelPushButton" && cls != L"VantrelFrame") return raw;
    std::wstring shown;
    for (size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] == L'&' && i + 1 < raw.size()) ++i;
        shown += raw[i];
    }
    return shown;
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

// The top-level windows titled `title`. Message boxes and tooltips (the tray's tip carries the
// program's title) are not among them.
std::vector<HWND> titled(const std::wstring& title) {
    std::vector<HWND> found;
    for (HWND h : topLevel())
        if (text(h) == title && className(h) != L"#32770" && className(h) != L"tooltips_class32")
            found.push_back(h);
    return found;
}

// The window titled `title`, or the one whose handle `title` gives as "#" and a decimal number
// (where two copies of a program show the same title).
HWND findTop(const std::wstring& title) {
    if (title.size() > 1 && title[0] == L'#') {
        HWND h = (HWND)(ULONG_PTR)wcstoul(title.c_str() + 1, nullptr, 10);
        return IsWindow(h) ? h : nullptr;
    }
    const auto found = titled(title);
    return found.empty() ? nullptr : found.front();
}

// Sends a message from this process and prints the answer, or "no answer" when the window's
// thread never gave one (it ended, or did not answer within 5 s). A second parameter that is
// not a number is passed as a pointer to its text, as WM_SETTINGCHANGE carries its area.
void sendTo(HWND top, UINT msg, const wchar_t* wp, const wchar_t* lp) {
    wchar_t* end = nullptr;
    LPARAM lparam = (LPARAM)wcstoul(lp, &end, 0);
    if (*end || !*lp) lparam = (LPARAM)lp;
    DWORD_PTR answer = 0;
    if (SendMessageTimeoutW(top, msg, (WPARAM)wcstoul(wp, nullptr, 0), lparam, SMTO_ABORTIFHUNG,
                            5000, &answer))
        printf("%lu\n", (unsigned long)answer);
    else
        printf("no answer\n");
}

std::string rectJson(RECT r) {
    char buf[128];
    snprintf(buf, sizeof buf, "[%ld, %ld, %ld, %ld]", r.left, r.top, r.right - r.left,
             r.bottom - r.top);
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
    printf(
        "{\"hwnd\": %lu, \"title\": %s, \"class\": %s, \"rect\": %s, \"client\": %s, \"style\": "
        "%lu, "
        "\"exstyle\": %lu, \"visible\": %s, \"iconic\": %s, \"foreground\": %s, \"focus\": %lu, "
        "\"dpi_x\": %d, \"origin\": [%ld, %ld], "
        "\"children\": [",
        (unsigned long)(ULONG_PTR)top, json(text(top)).c_str(), json(className(top)).c_str(),
        rectJson(wr).c_str(), rectJson(cr).c_str(), (unsigned long)GetWindowLongW(top, GWL_STYLE),
        (unsigned long)GetWindowLongW(top, GWL_EXSTYLE), IsWindowVisible(top) ? "true" : "false",
        IsIconic(top) ? "true" : "false", GetForegroundWindow() == top ? "true" : "false",
        (unsigned long)(ULONG_PTR)gti.hwndFocus, 96, origin.x, origin.y);
    bool first = true;
    for (HWND h : descendants(top)) {
        RECT r;
        GetWindowRect(h, &r);
        OffsetRect(&r, -origin.x, -origin.y);
        std::wstring cls = className(h);
        std::string extra;
        if (cls == L"ComboBox") {
            int count = (int)SendMessageW(h, CB_GETCOUNT, 0, 0);
            extra += ", \"selected\": " + std::to_string((int)SendMessageW(h, CB_GETCURSEL, 0, 0)) +
                     ", \"items\": [";
            for (int i = 0; i < count; ++i) {
                wchar_t item[256] = L"";
                SendMessageW(h, CB_GETLBTEXT, i, (LPARAM)item);
                extra += (i ? ", " : "") + json(item);
            }
            extra += "]";
        }
        if (cls == L"Button")
            extra += ", \"checked\": " + std::to_string((int)SendMessageW(h, BM_GETCHECK, 0, 0));
        HFONT font = (HFONT)SendMessageW(h, WM_GETFONT, 0, 0);
        LOGFONTW lf{};
        if (font) GetObjectW(font, sizeof lf, &lf);
        printf(
            "%s\n  {\"hwnd\": %lu, \"class\": %s, \"text\": %s, \"rect\": %s, \"parent\": %lu, "
            "\"style\": %lu, "
            "\"visible\": %s, \"font\": %s, \"font_height\": %ld, \"font_weight\": %ld, "
            "\"charset\": %d%s}",
            first ? "" : ",", (unsigned long)(ULONG_PTR)h, json(cls).c_str(),
            json(shownText(h)).c_str(), rectJson(r).c_str(), (unsigned long)(ULONG_PTR)GetParent(h),
            (unsigned long)GetWindowLongW(h, GWL_STYLE), IsWindowVisible(h) ? "true" : "false",
            json(lf.lfFaceName).c_str(), lf.lfHeight, lf.lfWeight, (int)lf.lfCharSet,
            extra.c_str());
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
                } else if (!text(h).empty())
                    message = text(h);
            }
        }
        printf(
            "%s\n {\"title\": %s, \"text\": %s, \"buttons\": [%s], \"has_icon\": %s, "
            "\"owner_pid\": %lu}",
            first ? "" : ",", json(text(box)).c_str(), json(message).c_str(), buttons.c_str(),
            icons.empty() ? "false" : "true", [&] {
                DWORD pid;
                GetWindowThreadProcessId(box, &pid);
                return (unsigned long)pid;
            }());
        first = false;
    }
    printf("]\n");
}

HWND childByText(HWND top, const std::wstring& caption) {
    for (HWND h : descendants(top))
        if (shownText(h) == caption) return h;
    return nullptr;
}

// ---- what assistive technology reads ------------------------------------------------------

struct Accessible {
    IAccessible* object = nullptr;
    explicit Accessible(HWND h) {
        if (FAILED(AccessibleObjectFromWindow(h, OBJID_CLIENT, __uuidof(IAccessible),
                                              reinterpret_cast<void**>(&object))))
            object = nullptr;
    }
    ~Accessible() {
        if (object) object->Release();
    }
    using TextGetter = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, BSTR*);
    std::string textOf(TextGetter getter) const {
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR value = nullptr;
        if (!object || (object->*getter)(self, &value) != S_OK || !value) return "null";
        std::string out = json(value);
        SysFreeString(value);
        return out;
    }
    using NumberGetter = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, VARIANT*);
    std::string numberOf(NumberGetter getter) const {
        VARIANT self{}, value{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        if (!object || (object->*getter)(self, &value) != S_OK || value.vt != VT_I4) return "null";
        return std::to_string(value.lVal);
    }
};

void printAccessible(HWND top) {
    printf("[");
    bool first = true;
    for (HWND h : descendants(top)) {
        const Accessible a(h);
        printf(
            "%s\n {\"hwnd\": %lu, \"class\": %s, \"role\": %s, \"name\": %s, \"state\": %s, "
            "\"default_action\": %s, \"shortcut\": %s, \"value\": %s, \"description\": %s}",
            first ? "" : ",", (unsigned long)(ULONG_PTR)h, json(className(h)).c_str(),
            a.numberOf(&IAccessible::get_accRole).c_str(),
            a.textOf(&IAccessible::get_accName).c_str(),
            a.numberOf(&IAccessible::get_accState).c_str(),
            a.textOf(&IAccessible::get_accDefaultAction).c_str(),
            a.textOf(&IAccessible::get_accKeyboardShortcut).c_str(),
            a.textOf(&IAccessible::get_accValue).c_str(),
            a.textOf(&IAccessible::get_accDescription).c_str());
        first = false;
    }
    printf("]\n");
}

int doDefaultAction(HWND top, const std::wstring& name) {
    for (HWND h : descendants(top)) {
        const Accessible a(h);
        if (a.textOf(&IAccessible::get_accName) != json(name)) continue;
        VARIANT self{};
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        return a.object->accDoDefaultAction(self) == S_OK ? 0 : 3;
    }
    return 2;
}

std::string events = "";
void CALLBACK onEvent(HWINEVENTHOOK, DWORD event, HWND h, LONG object, LONG, DWORD, DWORD) {
    events += (events.empty() ? "" : ", ") + std::string("{\"event\": ") + std::to_string(event) +
              ", \"object\": " + std::to_string(object) + ", \"class\": " + json(className(h)) +
              ", \"text\": " + json(text(h)) + "}";
}

int selectItem(HWND top, int n, int index) {
    for (HWND h : descendants(top)) {
        if (className(h) != L"ComboBox" || n-- != 0) continue;
        SendMessageW(h, CB_SETCURSEL, index, 0);
        SendMessageW(GetParent(h), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(h), CBN_SELCHANGE),
                     (LPARAM)h);
        return 0;
    }
    return 2;
}

int announce(HWND top, int n, int index) {
    DWORD pid = 0;
    GetWindowThreadProcessId(top, &pid);
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_LIVEREGIONCHANGED,
                                         nullptr, onEvent, pid, 0, WINEVENT_OUTOFCONTEXT);
    if (!hook) return 3;
    if (selectItem(top, n, index)) return 2;
    for (DWORD start = GetTickCount(); GetTickCount() - start < 2000;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    UnhookWinEvent(hook);
    printf("[%s]\n", events.c_str());
    return 0;
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
               (GetWindowLongW(h, GWL_STYLE) & 0x40 /* TTS_BALLOON */) ? "true" : "false",
               rectJson(r).c_str());
        first = false;
    }
    printf("]\n");
}

DWORD processOf(HWND h) {
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    return pid;
}

// The live entries of Wine's GDI handle table in another process: the table its PEB points to,
// 65536 entries of 24 bytes whose type byte (at 14) is 0 when the entry is free. Wine hands out
// entries from the front, so the read stops at the first page never used: reading a page maps it
// into the process, which would grow what is measured. -1 where there is no table.
long wineGdiHandles(HANDLE process) {
    struct BasicInformation {
        LONG_PTR exitStatus;
        ULONG_PTR peb, affinity, basePriority, pid, parentPid;
    } info{};
    using QueryFn = LONG(WINAPI*)(HANDLE, int, void*, ULONG, ULONG*);
    const auto query = reinterpret_cast<QueryFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    if (!query || query(process, 0, &info, sizeof info, nullptr) != 0 || !info.peb) return -1;
    const ULONG_PTR tableField =
        info.peb + (sizeof(void*) == 8 ? 0xF8 : 0x94);  // PEB.GdiSharedHandleTable
    ULONG_PTR table = 0;
    if (!ReadProcessMemory(process, reinterpret_cast<void*>(tableField), &table, sizeof table,
                           nullptr) ||
        !table)
        return -1;
    constexpr size_t kEntrySize = 24,
                     kPage = 4096 * kEntrySize / 8;  // whole entries: 12 KiB, 512 entries
    constexpr size_t kTableSize = 0x10000 * kEntrySize;
    std::vector<unsigned char> chunk(kPage);
    long live = 0;
    for (size_t at = 0; at < kTableSize; at += kPage) {
        if (!ReadProcessMemory(process, reinterpret_cast<void*>(table + at), chunk.data(), kPage,
                               nullptr))
            return -1;
        bool used = false;
        for (unsigned char b : chunk) used |= b != 0;
        if (!used) break;
        for (size_t e = 0; e < kPage; e += kEntrySize) live += chunk[e + 14] != 0;
    }
    return live;
}

void printModules(HWND top) {
    HANDLE process =
        OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processOf(top));
    HMODULE modules[512];
    DWORD bytes = 0;
    printf("[");
    if (process && EnumProcessModules(process, modules, sizeof modules, &bytes)) {
        for (DWORD i = 0; i < bytes / sizeof(HMODULE) && i < 512; ++i) {
            wchar_t name[MAX_PATH] = L"";
            GetModuleBaseNameW(process, modules[i], name, MAX_PATH);
            printf("%s%s", i ? ", " : "", json(name).c_str());
        }
    }
    printf("]\n");
    if (process) CloseHandle(process);
}

void printResources(HWND top) {
    const DWORD pid = processOf(top);
    long windows = 0;
    for (HWND h : topLevel())
        if (processOf(h) == pid) windows += 1 + static_cast<long>(descendants(h).size());
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    std::string gdi = "null", user = "null";
    long table = -1;
    if (process) {
        // A process always holds some objects of both kinds: 0 means the system did not answer.
        if (DWORD n = GetGuiResources(process, GR_GDIOBJECTS)) gdi = std::to_string(n);
        if (DWORD n = GetGuiResources(process, GR_USEROBJECTS)) user = std::to_string(n);
        table = wineGdiHandles(process);
        CloseHandle(process);
    }
    printf("{\"pid\": %lu, \"gdi\": %s, \"user\": %s, \"gdi_table\": %s, \"windows\": %ld}\n",
           (unsigned long)pid, gdi.c_str(), user.c_str(),
           table < 0 ? "null" : std::to_string(table).c_str(), windows);
}

// Waits up to ten seconds for `done`; false when it did not come.
template <class Done>
bool waitUntil(Done done) {
    for (DWORD start = GetTickCount(); GetTickCount() - start < 10000; Sleep(2))
        if (done()) return true;
    return false;
}

int soakLists(HWND top, int changes) {
    std::vector<HWND> lists;
    for (HWND h : descendants(top))
        if (className(h) == L"ComboBox") lists.push_back(h);
    if (lists.size() != 2) return 2;
    for (int i = 0; i < changes; ++i) {
        HWND list = lists[i % 2];
        const int count = (int)SendMessageW(list, CB_GETCOUNT, 0, 0);
        const int next = ((int)SendMessageW(list, CB_GETCURSEL, 0, 0) + 1 + i / 2 % 2) %
                         count;  // always another
        SendMessageW(list, CB_SETCURSEL, next, 0);
        SendMessageW(GetParent(list), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(list), CBN_SELCHANGE),
                     (LPARAM)list);
        Sleep(25);
    }
    printf("{\"changes\": %d, \"selected\": [%d, %d]}\n", changes,
           (int)SendMessageW(lists[0], CB_GETCURSEL, 0, 0),
           (int)SendMessageW(lists[1], CB_GETCURSEL, 0, 0));
    return 0;
}

int soakTray(HWND top, int cycles) {
    HWND tray = nullptr;
    for (HWND h : topLevel())
        if (processOf(h) == processOf(top) && className(h) == L"VantrelTrayControl") tray = h;
    if (!tray) return 2;
    const DWORD start = GetTickCount();
    for (int i = 0; i < cycles; ++i) {
        PostMessageW(top, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        if (!waitUntil([&] { return !IsWindowVisible(top); })) return 3;
        PostMessageW(tray, 1125, 0, WM_LBUTTONDOWN);
        PostMessageW(tray, 1125, 0, WM_LBUTTONUP);
        if (!waitUntil([&] { return IsWindowVisible(top) && !IsIconic(top); })) return 4;
    }
    printf("{\"cycles\": %d, \"ms\": %lu}\n", cycles, (unsigned long)(GetTickCount() - start));
    return 0;
}

int fail(const char* what) {
    fprintf(stderr, "window_reader: %s\n", what);
    return 2;
}

// "HKCU\path" or "HKLM\path" as its root and path; false for any other root.
bool splitKey(const std::wstring& full, HKEY& root, std::wstring& path) {
    const size_t at = full.find(L'\\');
    const std::wstring head = full.substr(0, at);
    if (head == L"HKCU")
        root = HKEY_CURRENT_USER;
    else if (head == L"HKLM")
        root = HKEY_LOCAL_MACHINE;
    else
        return false;
    path = at == std::wstring::npos ? L"" : full.substr(at + 1);
    return true;
}

// A key or value that is not there is already as asked. Keys are named in the 64-bit view, as a
// 64-bit program names them, the 32-bit view by its Wow6432Node path (which a 32-bit prefix lacks).
int reset(int argc, wchar_t** argv) {
    const auto gone = [](LSTATUS rc) { return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND; };
    HKEY root, run;
    std::wstring path;
    if (!splitKey(argv[2], root, path)) return fail("a key must begin with HKCU or HKLM");
    if (!gone(RegDeleteTreeW(root, path.c_str()))) return fail("the key was not deleted");
    for (int i = 4; i < argc; ++i) {
        if (!splitKey(argv[i], root, path)) return fail("a key must begin with HKCU or HKLM");
        if (RegOpenKeyExW(root, path.c_str(), 0, KEY_SET_VALUE | KEY_WOW64_64KEY, &run)) continue;
        const LSTATUS rc = RegDeleteValueW(run, argv[3]);
        RegCloseKey(run);
        if (!gone(rc)) return fail("a start-up value was not deleted");
    }
    return 0;
}

}  // namespace

// The commands that need no window; -1 for any other.
int globalCommand(const std::wstring& cmd, int argc, wchar_t** argv) {
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
    if (cmd == L"screen-reader" && argc == 3) {
        const BOOL on = std::wstring(argv[2]) == L"on";
        return SystemParametersInfoW(SPI_SETSCREENREADER, on, nullptr,
                                     SPIF_UPDATEINIFILE | SPIF_SENDCHANGE)
                   ? 0
                   : fail("the system refused");
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
    if (cmd == L"windows" && argc == 3) {
        const char* sep = "";
        printf("[");
        for (HWND h : titled(argv[2])) {
            printf("%s%lu", sep, (unsigned long)(ULONG_PTR)h);
            sep = ", ";
        }
        printf("]\n");
        return 0;
    }
    if (cmd == L"reset" && argc >= 4) return reset(argc, argv);
    if (cmd == L"hotkey" && argc == 4) {
        BOOL ok = RegisterHotKey(nullptr, 1, (UINT)_wtoi(argv[2]), (UINT)_wtoi(argv[3]));
        printf("%s\n", ok ? "registered" : "refused");
        fflush(stdout);
        char buf[16];
        while (fread(buf, 1, sizeof buf, stdin) > 0) {
        }
        return 0;
    }
    return -1;
}

// The commands on the top-level window `top` (argv[2]).
int windowCommand(HWND top, const std::wstring& cmd, int argc, wchar_t** argv) {
    if (cmd == L"tree") {
        printTree(top);
    } else if (cmd == L"close") {
        PostMessageW(top, WM_CLOSE, 0, 0);
    } else if (cmd == L"send" && argc == 6) {
        sendTo(top, (UINT)wcstoul(argv[3], nullptr, 0), argv[4], argv[5]);
    } else if (cmd == L"resources") {
        printResources(top);
    } else if (cmd == L"soak-lists" && argc == 4) {
        if (soakLists(top, _wtoi(argv[3]))) return fail("no two lists");
    } else if (cmd == L"soak-tray" && argc == 4) {
        if (int rc = soakTray(top, _wtoi(argv[3])))
            return fail(rc == 2 ? "no tray window" : "a cycle did not complete");
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
        if (selectItem(top, _wtoi(argv[3]), _wtoi(argv[4]))) return fail("no such list");
    } else if (cmd == L"modules") {
        printModules(top);
    } else if (cmd == L"accessible") {
        printAccessible(top);
    } else if (cmd == L"do-default" && argc == 4) {
        if (int rc = doDefaultAction(top, argv[3]))
            return fail(rc == 2 ? "no control of that name" : "the action failed");
    } else if (cmd == L"announce" && argc == 5) {
        if (int rc = announce(top, _wtoi(argv[3]), _wtoi(argv[4])))
            return fail(rc == 2 ? "no such list" : "no event hook");
    } else {
        return fail("unknown command");
    }
    return 0;
}

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return fail("no command");
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const std::wstring cmd = argv[1];
    if (int rc = globalCommand(cmd, argc, argv); rc >= 0) return rc;
    if (argc < 3) return fail("no window title");
    HWND top = findTop(argv[2]);
    if (!top) return fail("no such window");
    return windowCommand(top, cmd, argc, argv);
}
