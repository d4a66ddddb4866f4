// Under high contrast every surface of the window takes the user's system colours: no fixed
// colour of the design is painted, the hover face takes the highlight pair, and no skin applies.
#include <windows.h>
#include <gtest/gtest.h>

#include <set>

#include "main_window/form1.h"
#include "main_window/skin_step.h"
#include "win/services.h"
#include "win/win_handles.h"
#include "win_test_support.h"

namespace {

// A high-contrast scheme whose colours are none of the design's (white, black, the standard
// button face), so that any fixed colour painted shows.
const std::pair<int, COLORREF> kScheme[] = {
    {COLOR_WINDOW, RGB(10, 20, 90)},     {COLOR_WINDOWTEXT, RGB(250, 250, 120)},
    {COLOR_BTNFACE, RGB(60, 0, 60)},     {COLOR_BTNTEXT, RGB(120, 250, 250)},
    {COLOR_HIGHLIGHT, RGB(0, 160, 0)},   {COLOR_HIGHLIGHTTEXT, RGB(8, 8, 8)},
    {COLOR_GRAYTEXT, RGB(200, 120, 0)},  {COLOR_BTNHIGHLIGHT, RGB(200, 200, 210)},
    {COLOR_BTNSHADOW, RGB(90, 90, 100)}, {COLOR_3DDKSHADOW, RGB(30, 30, 40)},
    {COLOR_3DLIGHT, RGB(170, 170, 180)}, {COLOR_WINDOWFRAME, RGB(240, 200, 0)},
};

class HighContrast : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const auto& [index, colour] : kScheme) saved_.emplace_back(index, GetSysColor(index));
        setColours(kScheme, std::size(kScheme));
        win::services().highContrast = [] { return true; };
        form.create();
        SendMessageW(form.hwnd(), WM_SYSCOLORCHANGE, 0, 0);  // as the system tells every window
        ShowWindow(form.hwnd(), SW_SHOWNOACTIVATE);
    }
    void TearDown() override { setColours(saved_.data(), saved_.size()); }
    static void setColours(const std::pair<int, COLORREF>* colours, size_t n) {
        std::vector<int> indexes;
        std::vector<COLORREF> values;
        for (size_t i = 0; i < n; ++i) {
            indexes.push_back(colours[i].first);
            values.push_back(colours[i].second);
        }
        SetSysColors(static_cast<int>(n), indexes.data(), values.data());
    }

    // Every pixel of the client area as painted now.
    std::vector<COLORREF> pixels() {
        RedrawWindow(form.hwnd(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
        RECT rc;
        GetClientRect(form.hwnd(), &rc);
        HDC window = GetDC(form.hwnd());
        HDC memory = CreateCompatibleDC(window);
        BITMAPINFO info{};
        info.bmiHeader = {
            sizeof(BITMAPINFOHEADER), rc.right, -rc.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        HBITMAP bitmap = CreateDIBSection(window, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, rc.right, rc.bottom, window, 0, 0, SRCCOPY);
        std::vector<COLORREF> out;
        const auto* p = static_cast<const DWORD*>(bits);
        for (LONG i = 0; i < rc.right * rc.bottom; ++i)
            out.push_back(RGB((p[i] >> 16) & 0xFF, (p[i] >> 8) & 0xFF, p[i] & 0xFF));
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(form.hwnd(), window);
        return out;
    }
    COLORREF at(const std::vector<COLORREF>& all, HWND child, int x, int y) {
        POINT pt{x, y};
        MapWindowPoints(child, form.hwnd(), &pt, 1);
        RECT rc;
        GetClientRect(form.hwnd(), &rc);
        return all[static_cast<size_t>(pt.y * rc.right + pt.x)];
    }

    test_support::SeamGuard<win::Services> savedServices{win::services};
    Form1 form;
    std::vector<std::pair<int, COLORREF>> saved_;
};

// The system draws the lists' frames and buttons and the check boxes' squares itself: Windows
// turns visual styles off under high contrast, while Wine's built-in theme stays on and paints
// them in its own colours. Those parts are left out; everything the window paints is checked.
TEST_F(HighContrast, NoFixedColourIsPaintedAndHoverTakesTheHighlight) {
    form.Label1.setBackColor(ui::kWhite);  // as the load sets it
    form.Check8.setVisible(true);
    const std::vector<COLORREF> all = pixels();
    RECT client;
    GetClientRect(form.hwnd(), &client);
    std::vector<RECT> systemDrawn;
    const ui::Control* systemControls[] = {&form.Combo1, &form.Combo2, &form.Check4, &form.Check8};
    for (const ui::Control* c : systemControls) {
        RECT r;
        GetWindowRect(c->hwnd(), &r);
        MapWindowPoints(nullptr, form.hwnd(), reinterpret_cast<POINT*>(&r), 2);
        if (c->kind() == ui::Control::Kind::CheckBox) r.right = r.left + 16;  // the square
        systemDrawn.push_back(r);
    }
    const std::set<COLORREF> designed = {RGB(255, 255, 255), RGB(0, 0, 0), RGB(240, 240, 240)};
    size_t fixed = 0;
    for (size_t i = 0; i < all.size(); ++i) {
        const POINT pt{static_cast<LONG>(i % client.right), static_cast<LONG>(i / client.right)};
        bool skip = false;
        for (const RECT& r : systemDrawn) skip |= PtInRect(&r, pt) != FALSE;
        if (!skip) fixed += designed.count(all[i]);
    }
    EXPECT_EQ(fixed, 0u) << "pixels in a fixed colour of the design";
    EXPECT_EQ(at(all, form.hwnd(), 2, 2), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(at(all, form.PushButton1.hwnd(), 4, 4), GetSysColor(COLOR_BTNFACE));
    EXPECT_EQ(at(all, form.Label1.hwnd(), 1, 1), GetSysColor(COLOR_WINDOW));
    EXPECT_EQ(at(all, form.Combo1.hwnd(), 6, 6), GetSysColor(COLOR_WINDOW));

    // Hovered, the button's face takes the highlight.
    SendMessageW(form.PushButton1.hwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    EXPECT_EQ(at(pixels(), form.PushButton1.hwnd(), 4, 4), GetSysColor(COLOR_HIGHLIGHT));
}

TEST_F(HighContrast, SwitchingItOffRepaintsInTheDesignedColours) {
    win::services().highContrast = [] { return false; };
    SendMessageW(form.hwnd(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    const std::vector<COLORREF> all = pixels();
    EXPECT_EQ(at(all, form.hwnd(), 2, 2), RGB(255, 255, 255));
    EXPECT_EQ(at(all, form.Frame1.hwnd(), 2, 20), RGB(255, 255, 255));

    // A box the user may not change is drawn in the system's grey, so on the system's background,
    // not the designed white.
    RECT box;
    GetClientRect(form.Check4.hwnd(), &box);
    EXPECT_EQ(at(all, form.Check4.hwnd(), box.right - 2, box.bottom - 2), RGB(255, 255, 255));
    form.Check4.setEnabled(false);
    EXPECT_EQ(at(pixels(), form.Check4.hwnd(), box.right - 2, box.bottom - 2),
              GetSysColor(COLOR_WINDOW));
}

TEST_F(HighContrast, NoSkinIsApplied) {
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    const std::wstring dir = std::wstring(folder) + L"vdg-hc-skin";
    CreateDirectoryW(dir.c_str(), nullptr);
    CreateDirectoryW((dir + L"\\x").c_str(), nullptr);
    HANDLE created = CreateFileW((dir + L"\\x\\o.cjs").c_str(), GENERIC_WRITE, 0, nullptr,
                                 CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(created, INVALID_HANDLE_VALUE);
    win::OwnedFile{created}.reset();  // an empty skin file
    main_window::SkinMainWindow(form, form.SkinFramework1, dir);
    EXPECT_FALSE(form.SkinFramework1.skin().has_value());
    EXPECT_EQ(form.backColor(), ui::kWhite);
    DeleteFileW((dir + L"\\x\\o.cjs").c_str());
    RemoveDirectoryW((dir + L"\\x").c_str());
    RemoveDirectoryW(dir.c_str());
}

}  // namespace
