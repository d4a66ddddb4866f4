// The main window as designed, and its start-up and pointer rules, on real windows.
#include "main_window/form1.h"

#include <windows.h>
#include <gtest/gtest.h>

#include <fstream>

#include "runtime/procedure_path.h"
#include "startup_entry/run_value.h"
#include "win/files.h"
#include "win/registry.h"
#include "win/services.h"
#include "win_test_support.h"

namespace {

RECT clientRectOf(HWND child, HWND form) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, form, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

class Form1Test : public test_support::CapturedBoxes {
  protected:
    void SetUp() override {
        CapturedBoxes::SetUp();
        form.create();
    }
    void TearDown() override {
        form.Timer1.setEnabled(false);
        CapturedBoxes::TearDown();
    }
    Form1 form;
};

TEST_F(Form1Test, ControlsSitAtTheirDesignedPlacesAt96Dpi) {
    ASSERT_EQ(form.dpi(), 96) << "the layout table below is for 96 dpi";
    RECT client;
    GetClientRect(form.hwnd(), &client);
    EXPECT_EQ(client.right, 536);
    EXPECT_EQ(client.bottom, 177);
    struct Row {
        ui::Control* control;
        RECT expected;  // left, top, right, bottom in the form's client area
    };
    const Row rows[] = {
        {&form.Text2, {8, 420, 89, 466}},     {&form.PushButton1, {8, 8, 528, 35}},
        {&form.Frame1, {8, 37, 528, 90}},     {&form.Combo1, {24, 57, 264, 0}},
        {&form.Combo2, {272, 57, 512, 0}},    {&form.Label1, {8, 99, 528, 116}},
        {&form.Frame3, {8, 121, 528, 170}},   {&form.Check4, {24, 141, 278, 160}},
        {&form.Check8, {288, 141, 428, 160}},
    };
    for (const Row& row : rows) {
        const RECT r = clientRectOf(row.control->hwnd(), form.hwnd());
        EXPECT_EQ(r.left, row.expected.left);
        EXPECT_EQ(r.top, row.expected.top);
        EXPECT_EQ(r.right, row.expected.right);
        if (row.expected.bottom) {
            EXPECT_EQ(r.bottom, row.expected.bottom);
        }
    }
    // The text box lies wholly below the client area.
    EXPECT_GT(clientRectOf(form.Text2.hwnd(), form.hwnd()).top, client.bottom);
    // The lists sit in the first frame, the check boxes in the second.
    EXPECT_EQ(GetParent(form.Combo1.hwnd()), form.Frame1.hwnd());
    EXPECT_EQ(GetParent(form.Check8.hwnd()), form.Frame3.hwnd());
}

TEST_F(Form1Test, FontsAndFrameStyleAreAsDesigned) {
    auto fontOf = [](HWND h) {
        LOGFONTW lf{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(h, WM_GETFONT, 0, 0)), sizeof lf, &lf);
        return lf;
    };
    const struct {
        HWND hwnd;
        LONG height;
        BYTE charset;
    } rows[] = {{form.PushButton1.hwnd(), -15, 204},
                {form.Combo1.hwnd(), -12, 238},
                {form.Combo2.hwnd(), -12, 238},
                {form.Label1.hwnd(), -12, 204},
                {form.Check4.hwnd(), -12, 204}};
    for (const auto& row : rows) {
        const LOGFONTW lf = fontOf(row.hwnd);
        EXPECT_STREQ(lf.lfFaceName, L"Arial");
        EXPECT_EQ(lf.lfHeight, row.height);
        EXPECT_EQ(lf.lfWeight, FW_BOLD);
        EXPECT_EQ(lf.lfCharSet, row.charset);
    }
    const LONG_PTR style = GetWindowLongPtrW(form.hwnd(), GWL_STYLE);
    EXPECT_TRUE(style & WS_MINIMIZEBOX);
    EXPECT_FALSE(style & WS_MAXIMIZEBOX);
    EXPECT_FALSE(style & WS_THICKFRAME);
    EXPECT_TRUE(GetWindowLongPtrW(form.Label1.hwnd(), GWL_STYLE) & WS_BORDER);
    EXPECT_TRUE(GetWindowLongPtrW(form.Label1.hwnd(), GWL_STYLE) & SS_CENTER);
}

TEST_F(Form1Test, TabOrderStartsAtTheUnseenTextBoxAndSkipsFramesAndTheLabel) {
    form.Form_Load();
    form.Timer1.setEnabled(false);
    form.show();
    test_support::pumpFor(50);
    EXPECT_EQ(GetFocus(), form.Text2.hwnd());
    std::vector<HWND> order{GetFocus()};
    for (int i = 0; i < 5; ++i)
        order.push_back(GetNextDlgTabItem(form.hwnd(), order.back(), FALSE));
    const std::vector<HWND> expected{form.Text2.hwnd(),  form.PushButton1.hwnd(),
                                     form.Combo1.hwnd(), form.Combo2.hwnd(),
                                     form.Check4.hwnd(), form.Text2.hwnd()};
    EXPECT_EQ(order, expected) << "Check8 is hidden, so the cycle wraps after Check4";

    // Narrator sets no screen-reader flag, but UI Automation sends WM_GETOBJECT to the windows it
    // meets: a query at the form (f) or at the unseen box (b) moves the first focus to Help, once.
    // h: started hidden in the tray, a query while hidden moves nothing and keeps the rule; t: once
    // the user was on Help (Tab, then Shift+Tab back), the focus stays in the box.
    for (const auto& [where, toHelp] :
         {std::pair{"f", true}, {"b", true}, {"hf", true}, {"tf", false}}) {
        Form1 f;
        f.create();
        f.Form_Load();
        f.Timer1.setEnabled(false);
        const auto query = [&] {
            SendMessageW(*where == 'b' ? f.Text2.hwnd() : f.hwnd(), WM_GETOBJECT, 0, OBJID_CLIENT);
            test_support::pumpFor(30);
        };
        f.hiddenInTray = *where == 'h';  // as a minimized start leaves it
        if (f.hiddenInTray) query();
        f.cSysTray1_MouseUp();  // shown; the focus passes through the form to the box
        if (*where == 't') SetFocus(f.PushButton1.hwnd()), SetFocus(f.Text2.hwnd());
        query();
        EXPECT_EQ(GetFocus(), toHelp ? f.PushButton1.hwnd() : f.Text2.hwnd()) << where;
    }
}

TEST_F(Form1Test, LoadRestoresTheStartOptions) {
    // The start-up box follows the user's Run value, the tray box the stored option.
    struct Row {
        bool runValue;
        const wchar_t* minimized;
        int check4, check8;
        bool check8Visible;
        ui::WindowState state;
    };
    const Row rows[] = {
        {false, nullptr, 0, 0, false, ui::kStateNormal},
        {true, L"On", 1, 1, true, ui::kStateMinimized},
        {true, L"Off", 1, 0, true, ui::kStateNormal},
        {false, L"On", 0, 1, false, ui::kStateNormal},
        {true, L"ON", 1, 0, true, ui::kStateNormal},  // only the exact word counts
    };
    const std::wstring name = startup_entry::runValueName(win::programPath());
    for (const Row& row : rows) {
        test_support::clearSettings();
        if (row.runValue)
            win::createAndWriteString(HKEY_CURRENT_USER, startup_entry::kRunSubkey, name,
                                      startup_entry::runValueData(win::programPath()));
        if (row.minimized) test_support::storeSetting(L"Minimized", row.minimized);
        Form1 f;
        f.create();
        f.Form_Load();
        f.Timer1.setEnabled(false);
        RegDeleteKeyValueW(HKEY_CURRENT_USER, startup_entry::kRunSubkey, name.c_str());
        SCOPED_TRACE(testing::Message()
                     << row.runValue << "/" << (row.minimized ? row.minimized : L"-"));
        EXPECT_EQ(f.Check4.value(), row.check4);
        EXPECT_EQ(f.Check8.value(), row.check8);
        EXPECT_EQ(f.Check8.visible(), row.check8Visible);
        EXPECT_EQ(f.windowState(), row.state);
        EXPECT_FALSE(f.visible()) << "the load handler runs before the window is shown";
    }
    EXPECT_TRUE(reports.empty());
}

// What the load makes of a stored list index: the item selected, none, or the error it reports
// at the statement that applies the index (138 for the modifier list, 156 for the keys).
TEST_F(Form1Test, LoadRestoresAStoredListIndexOrReportsIt) {
    const struct {
        const wchar_t* stored;
        int count;  // 3: the modifier list, 36: the key list
        const char* outcome;
    } rows[] = {
        {L"0", 3, "0"},
        {L"2", 3, "2"},
        {L"3", 3, "none"},
        {L"7", 3, "none"},
        {L"-1", 3, "none"},
        {L"1.6", 3, "2"},
        {L"2.5", 3, "2"},
        {L"0.5", 3, "0"},
        {L"1.5", 3, "2"},
        {L"2.9", 3, "error 380"},
        {L"-1.4", 3, "none"},
        {L"-1.6", 3, "error 380"},
        {L"-2", 3, "error 380"},
        {L"-40000", 3, "error 6"},
        {L"-1e400", 3, "error 6"},
        {L"abc", 3, "0"},
        {L"", 3, "0"},
        {L"11", 36, "11"},
        {L"35", 36, "35"},
        {L"35.6", 36, "error 380"},
        {L"36", 36, "none"},
        {L"3.5", 36, "4"},
        {L"  2.5", 36, "2"},
        {L"7abc", 36, "7"},
        {L"1e1", 36, "10"},
        {L"&H10", 36, "0"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message()
                     << "stored [" << row.stored << "] in a list of " << row.count);
        const bool keys = row.count == 36;
        test_support::clearSettings();
        test_support::storeSetting(keys ? L"Combo2" : L"Combo1", row.stored);
        reports.clear();
        Form1 f;
        f.create();
        runtime::Guard load(runtime::procedurePath(L"Form1", L"Form_Load"));
        f.FillLists(load);
        ui::ComboBox& list = keys ? f.Combo2 : f.Combo1;
        std::string outcome = list.listIndex() < 0 ? "none" : std::to_string(list.listIndex());
        if (!reports.empty()) {
            const std::wstring where = keys ? L"at line 156" : L"at line 138";
            EXPECT_NE(reports[0].find(where), std::wstring::npos) << "the report names " << where;
            outcome = reports[0].starts_with(L"Overflow\r\n")                 ? "error 6"
                      : reports[0].starts_with(L"Invalid property value\r\n") ? "error 380"
                                                                              : "another error";
        }
        EXPECT_EQ(outcome, row.outcome);
        EXPECT_LE(reports.size(), 1u);
    }
}

TEST_F(Form1Test, LoadSetsTitleIconTimerAndStatusLine) {
    form.Form_Load();
    EXPECT_EQ(form.caption(), L"Vantrel Desk Guard");
    EXPECT_EQ(ui::applicationTitle(), L"Vantrel Desk");
    const auto icon = [&](WPARAM which) {
        return reinterpret_cast<HANDLE>(SendMessageW(form.hwnd(), WM_GETICON, which, 0));
    };
    // At the window's DPI, and at a new one when it moves; the icons it replaced are destroyed.
    const HANDLE big = icon(ICON_BIG), small = icon(ICON_SMALL);
    EXPECT_EQ(test_support::iconWidth(big), MulDiv(32, form.dpi(), 96));
    EXPECT_EQ(test_support::iconWidth(small), MulDiv(16, form.dpi(), 96));
    RECT r;
    GetWindowRect(form.hwnd(), &r);
    SendMessageW(form.hwnd(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(test_support::iconWidth(icon(ICON_BIG)), 48);
    EXPECT_EQ(test_support::iconWidth(icon(ICON_SMALL)), 24);
    EXPECT_EQ(test_support::iconWidth(big) + test_support::iconWidth(small), 0);
    EXPECT_TRUE(form.Timer1.enabled());
    EXPECT_EQ(form.Timer1.interval(), 10);
    EXPECT_EQ(form.Label1.caption(), L"Software is on. Press Ctrl + Alt + L to lock computer");
    EXPECT_EQ(form.Label1.backColor(), ui::kWhite);
    EXPECT_TRUE(reports.empty());
}

TEST_F(Form1Test, TheHomePageOpensOnOneDrawInAHundredWithTheWindowsFoldersExplorer) {
    struct Start {
        std::wstring program, line;
        int show;
    };
    std::vector<Start> started;
    for (double r : {0.5, 0.065, 0.075, 0.0, 0.055}) {
        win::services().random = [r] { return r; };
        win::services().runProgram = [&](const std::wstring& program, const std::wstring& line,
                                         int show) {
            started.push_back({program, line, show});
        };
        Form1 f;
        f.create();
        f.Form_Load();
        f.Timer1.setEnabled(false);
    }
    ASSERT_EQ(started.size(), 1u);
    wchar_t windows[MAX_PATH];
    ASSERT_GT(GetWindowsDirectoryW(windows, MAX_PATH), 0u);
    EXPECT_EQ(CompareStringOrdinal(started[0].program.c_str(), -1,
                                   (std::wstring(windows) + L"\\explorer.exe").c_str(), -1, TRUE),
              CSTR_EQUAL)
        << "named in full, never searched for";
    EXPECT_TRUE(win::fileExists(started[0].program));
    EXPECT_EQ(started[0].line, L"explorer \"https://www.tamberlin.example/\"");
    EXPECT_EQ(started[0].show, SW_SHOWMINIMIZED);
}

// A bare name is looked for in the program's own folder first. The real start takes the program
// it is given, not a namesake planted beside ours.
TEST(ProgramStart, StartsTheProgramItNamesNotOneBesideTheTests) {
    const std::wstring marker = win::programFolder() + L"\\planted.exe";
    ASSERT_TRUE(win::fileExists(marker)) << "built with the tests";
    wchar_t temp[MAX_PATH];
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    const std::wstring folder = std::wstring(temp) + L"vdg-program-start";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring beside = win::programFolder() + L"\\explorer.exe",
                       named = folder + L"\\explorer.exe";
    for (const std::wstring& copy : {beside, named}) {
        DeleteFileW((copy + L".ran").c_str());
        ASSERT_TRUE(CopyFileW(marker.c_str(), copy.c_str(), FALSE));
    }
    win::services().runProgram(named, L"explorer \"https://www.tamberlin.example/\"", SW_HIDE);
    const DWORD deadline = GetTickCount() + 20000;
    while (!win::fileExists(named + L".ran") && static_cast<LONG>(deadline - GetTickCount()) > 0)
        Sleep(20);
    EXPECT_TRUE(win::fileExists(named + L".ran")) << "the named program ran";
    EXPECT_FALSE(win::fileExists(beside + L".ran")) << "the one beside the tests did not";
    for (const std::wstring& copy : {beside, named}) {
        DeleteFileW((copy + L".ran").c_str());
        DeleteFileW(copy.c_str());
    }
    RemoveDirectoryW(folder.c_str());
}

TEST_F(Form1Test, AHomePageThatCannotStartIsReportedAtLine108) {
    win::services().random = [] { return 0.065; };
    win::services().runProgram = [](const std::wstring&, const std::wstring&, int) {
        throw runtime::Error(53, L"File not found");
    };
    form.Form_Load();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(
        reports[0].substr(0, reports[0].find(L"\r\r")),
        L"File not found\r\n" + runtime::procedurePath(L"Form1", L"Form_Load") + L"at line 108");
    EXPECT_EQ(form.caption(), L"Vantrel Desk Guard") << "start-up goes on after the report";
}

// A 32 x 32 monochrome cursor file with its hot spot at (5, 2).
std::string cursorFile() {
    std::string f;
    auto u16 = [&](int v) { f += char(v & 0xFF), f += char((v >> 8) & 0xFF); };
    auto u32 = [&](unsigned v) { u16(v & 0xFFFF), u16(v >> 16); };
    const unsigned imageBytes = 40 + 8 + 128 + 128;
    u16(0), u16(2), u16(1);                                    // header: type 2 = cursor, 1 image
    f += char(32), f += char(32), f += char(0), f += char(0);  // 32 x 32, no palette count
    u16(5), u16(2), u32(imageBytes), u32(6 + 16);              // hot spot, size, offset
    u32(40), u32(32), u32(64), u16(1), u16(1), u32(0), u32(256), u32(0), u32(0), u32(2), u32(0);
    u32(0), u32(0xFFFFFF);          // palette: black, white
    f += std::string(128, '\x0F');  // XOR mask
    f += std::string(128, '\xF0');  // AND mask
    return f;
}

class HandPointerTest : public Form1Test {
  protected:
    void TearDown() override {
        DeleteFileW(path.c_str());
        Form1Test::TearDown();
    }
    void write(const std::string& bytes) { std::ofstream(path.c_str(), std::ios::binary) << bytes; }
    const std::wstring path = win::programFolder() + L"\\HAND-M.CUR";
};

TEST_F(HandPointerTest, ACursorFileBesideTheProgramBecomesTheCustomPointer) {
    write(cursorFile());
    form.Form_Load();
    EXPECT_TRUE(reports.empty());
    ASSERT_NE(form.customPointer(), nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(form.customPointer(), &info));
    EXPECT_EQ(info.xHotspot, 5u);
    EXPECT_EQ(info.yHotspot, 2u);
    DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
}

TEST_F(HandPointerTest, AFileThatIsNoCursorIsReportedAtLine106AndLoadGoesOn) {
    write("not a cursor at all");
    form.Form_Load();
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_EQ(
        reports[0].substr(0, reports[0].find(L"\r\r")),
        L"Invalid picture\r\n" + runtime::procedurePath(L"Form1", L"Form_Load") + L"at line 106");
    EXPECT_EQ(form.customPointer(), nullptr);
    EXPECT_EQ(form.caption(), L"Vantrel Desk Guard");
}

TEST_F(Form1Test, PointerFollowsTheButtonAndTheBackgroundButNeverReplacesTheHourglass) {
    struct Step {
        void (Form1::*move)();
        ui::PointerMode before, after;
    };
    const Step steps[] = {
        {&Form1::PushButton1_MouseMove, ui::kPointerDefault, ui::kPointerCustom},
        {&Form1::Background_MouseMove, ui::kPointerCustom, ui::kPointerDefault},
        {&Form1::PushButton1_MouseMove, ui::kPointerHourglass, ui::kPointerHourglass},
        {&Form1::Background_MouseMove, ui::kPointerHourglass, ui::kPointerHourglass},
    };
    for (const Step& s : steps) {
        form.setPointerMode(s.before);
        (form.*s.move)();
        EXPECT_EQ(form.pointerMode(), s.after);
    }
    // Real mouse movement over the controls reaches the same handlers.
    form.setPointerMode(ui::kPointerDefault);
    SendMessageW(form.PushButton1.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(form.pointerMode(), ui::kPointerCustom);
    SendMessageW(form.Frame3.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(form.pointerMode(), ui::kPointerDefault);
    form.setPointerMode(ui::kPointerCustom);
    SendMessageW(form.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(form.pointerMode(), ui::kPointerDefault);
    form.setPointerMode(ui::kPointerCustom);
    SendMessageW(form.Label1.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
    EXPECT_EQ(form.pointerMode(), ui::kPointerCustom)
        << "the status line has no mouse-move handler";
}

}  // namespace
