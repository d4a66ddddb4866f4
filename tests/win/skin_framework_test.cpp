// The skin engine on a real main window: loading files and its errors, and what applying a skin
// does to the colours and fonts the window and its controls are painted with.
#include "skin_engine/skin_framework.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "main_window/form1.h"
#include "main_window/skin_step.h"
#include "runtime/run_error.h"
#include "skin_test_support.h"

namespace {

using skin_test::ctlColor;
using skin_test::TempFolder;

constexpr char kSkin[] =
    "vantrel-skin 1\n"
    "[window]\nbackground = #102030\ntext = #E0E1E2\n"
    "[frame]\ntext = #8AB4F8\n"           // no background: takes the window's
    "[checkbox]\nbackground = #112233\n"  // no text: takes the window's
    "[list]\nbackground = #303134\ntext = #F1F2F3\n"
    "[status]\ntext = #1A1B1C\nborder = #5F6368\n"
    "[button]\nface = #1A73E8\ntext = #FFFFFF\nhover = #4285F4\npressed = #1557B0\nborder = "
    "#8AB4F8\n"
    "[font]\nface = Liberation Serif\nsize = 10.5\nweight = 600\n";

TEST(SkinLoading, FaultsAreRunTimeErrorsNamingTheFile) {
    struct Case {
        const char* what;
        std::string bytes;  // written as the file unless `missing`
        bool missing;
        std::wstring displayName;  // how the engine is told to name the file
        int number;
        std::wstring startsWith;  // %s: the path
    };
    const std::string tooLong =
        "vantrel-skin 1\n[window]\n[button]\n" + std::string(64 * 1024, '#');
    const Case cases[] = {
        {"missing file", "", true, L"", runtime::kPathFileAccess,
         L"Skin file %s: cannot be read ("},
        {"random bytes", std::string("\x9c\xff\x01\x80zq\x00\x13", 8), false, L"",
         runtime::kBadSkinFile, L"Skin file %s"},
        {"longer than 64 KiB", tooLong, false, L"", runtime::kBadSkinFile, L"Skin file %s: "},
        {"named by its display name", "vantrel-skin 1\n[window]\nbogus = 1\n[button]\n", false,
         L"my skin", runtime::kBadSkinFile, L"Skin file my skin, line 3: unknown key"},
    };
    for (const Case& c : cases) {
        TempFolder dir;
        const std::wstring path =
            c.missing ? dir.path() + L"\\x\\o.cjs" : dir.write(L"x\\o.cjs", c.bytes);
        std::wstring expected = c.startsWith;
        if (auto at = expected.find(L"%s"); at != std::wstring::npos) expected.replace(at, 2, path);
        skin_engine::SkinFramework engine;
        try {
            engine.loadSkin(path, c.displayName);
            ADD_FAILURE() << c.what << ": loaded";
        } catch (const runtime::Error& e) {
            EXPECT_EQ(e.number, c.number) << c.what;
            EXPECT_EQ(e.description.substr(0, expected.size()), expected) << c.what;
        }
        EXPECT_FALSE(engine.skin().has_value()) << c.what;
    }
}

TEST(SkinLoading, ASizeFaultNamesNoLineAndAFileOfExactlyTheLimitLoads) {
    TempFolder dir;
    std::string atLimit = "vantrel-skin 1\n[window]\n[button]\n";
    atLimit += std::string(64 * 1024 - atLimit.size() - 1, '#') + "\n";
    ASSERT_EQ(atLimit.size(), skin_engine::kMaxSkinFileBytes);
    skin_engine::SkinFramework engine;
    engine.loadSkin(dir.write(L"a.cjs", atLimit), L"");
    EXPECT_TRUE(engine.skin().has_value());
    try {
        engine.loadSkin(dir.write(L"b.cjs", atLimit + "#"), L"b");
        ADD_FAILURE() << "a file one byte too long loaded";
    } catch (const runtime::Error& e) {
        EXPECT_EQ(e.description.find(L"line"), std::wstring::npos) << e.description;
    }
    EXPECT_FALSE(engine.skin().has_value()) << "a failed load leaves no skin";
}

TEST(SkinApplying, NeedsALoadedSkinAndAWindowOfThisProgram) {
    Form1 form;
    form.create();
    TempFolder dir;
    skin_engine::SkinFramework engine;
    EXPECT_THROW(engine.applyTo(form.hwnd()), runtime::Error) << "no skin loaded";
    engine.loadSkin(dir.write(L"s.cjs", kSkin), L"");
    HWND stranger =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    EXPECT_THROW(engine.applyTo(stranger), runtime::Error) << "not a form";
    EXPECT_THROW(engine.applyTo(form.Check4.hwnd()), runtime::Error) << "a control, not a form";
    DestroyWindow(stranger);
    EXPECT_EQ(form.backColor(), ui::kWhite);
}

// A real main window through the whole skin step, with the real engine.
struct SkinnedWindow : ::testing::Test {
    std::unique_ptr<Form1> form = std::make_unique<Form1>();
    TempFolder dir;

    void SetUp() override {
        form->create();
        dir.write(L"x\\o.cjs", kSkin);
        main_window::SkinMainWindow(*form, form->SkinFramework1, dir.path());
    }
};

TEST_F(SkinnedWindow, ControlsAnswerTheirColourMessagesInTheSkinsColours) {
    HWND checkBox = form->Check4.hwnd(), combo = form->Combo1.hwnd(), label = form->Label1.hwnd();
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    ASSERT_TRUE(GetComboBoxInfo(combo, &info));
    struct Case {
        const char* what;
        UINT message;
        HWND child;
        COLORREF back, text;
    };
    const Case cases[] = {
        {"check box", WM_CTLCOLORSTATIC, checkBox, RGB(0x11, 0x22, 0x33), RGB(0xE0, 0xE1, 0xE2)},
        {"second check box", WM_CTLCOLORBTN, form->Check8.hwnd(), RGB(0x11, 0x22, 0x33),
         RGB(0xE0, 0xE1, 0xE2)},
        {"list, closed", WM_CTLCOLOREDIT, combo, RGB(0x30, 0x31, 0x34), RGB(0xF1, 0xF2, 0xF3)},
        {"list, dropped down", WM_CTLCOLORLISTBOX, info.hwndList, RGB(0x30, 0x31, 0x34),
         RGB(0xF1, 0xF2, 0xF3)},
        {"second list", WM_CTLCOLORLISTBOX, form->Combo2.hwnd(), RGB(0x30, 0x31, 0x34),
         RGB(0xF1, 0xF2, 0xF3)},
        // The status line keeps the button face the skin step gave it, with the skin's fixed
        // text: so the face as designed, not as the user's scheme has it.
        {"status line", WM_CTLCOLORSTATIC, label, RGB(0xF0, 0xF0, 0xF0), RGB(0x1A, 0x1B, 0x1C)},
        // The hidden text box is no part of any skin section.
        {"text box", WM_CTLCOLOREDIT, form->Text2.hwnd(), GetSysColor(COLOR_WINDOW),
         GetSysColor(COLOR_WINDOWTEXT)},
    };
    for (const Case& c : cases) {
        const skin_test::Answer a = ctlColor(*form, c.message, c.child);
        EXPECT_EQ(a.back, c.back) << c.what;
        EXPECT_EQ(a.brush, c.back) << c.what;
        EXPECT_EQ(a.text, c.text) << c.what;
    }
}

TEST_F(SkinnedWindow, WindowFramesAndButtonTakeTheSkinsColours) {
    const COLORREF window = RGB(0x10, 0x20, 0x30);
    EXPECT_EQ(form->rgb(form->backColor()), window);
    // The window's background as it is painted.
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 600, 300);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessageW(form->hwnd(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    EXPECT_EQ(GetPixel(dc, 3, 3), window);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);

    for (const ui::Frame* frame : {&form->Frame1, &form->Frame3}) {
        EXPECT_EQ(form->rgb(frame->backColor()), window) << "[frame] sets no background";
        EXPECT_EQ(form->rgb(frame->foreColor()), RGB(0x8A, 0xB4, 0xF8));
    }
    EXPECT_EQ(form->rgb(form->PushButton1.backColor()), RGB(0x1A, 0x73, 0xE8));
    EXPECT_EQ(form->rgb(form->PushButton1.foreColor()), RGB(0xFF, 0xFF, 0xFF));
}

TEST_F(SkinnedWindow, TheStatusLineIsWhiteOnceTheLoadHandlerWhitensIt) {
    form->Label1.setBackColor(ui::kWhite);  // statement 160 of the load handler
    const skin_test::Answer a = ctlColor(*form, WM_CTLCOLORSTATIC, form->Label1.hwnd());
    EXPECT_EQ(a.back, RGB(255, 255, 255));
    EXPECT_EQ(a.text, RGB(0x1A, 0x1B, 0x1C));
}

TEST_F(SkinnedWindow, FontsTakeFaceSizeAndWeightButTheHelpButtonKeepsItsSize) {
    struct Case {
        const char* what;
        const ui::Control& control;
        double points;
        BYTE charset;
    };
    const Case cases[] = {
        {"Help button", form->PushButton1, 11.25, 204},
        {"frame", form->Frame1, 10.5, 204},
        {"list", form->Combo1, 10.5, 238},
        {"check box", form->Check8, 10.5, 204},
        {"status line", form->Label1, 10.5, 204},
    };
    for (const Case& c : cases) {
        const ui::FontSpec& f = c.control.font();
        EXPECT_EQ(f.face, L"Liberation Serif") << c.what;
        EXPECT_EQ(f.points, c.points) << c.what;
        EXPECT_EQ(f.weight, 600) << c.what;
        EXPECT_EQ(f.charset, c.charset) << c.what;
        // The control was handed the font it now names.
        HFONT font = reinterpret_cast<HFONT>(SendMessageW(c.control.hwnd(), WM_GETFONT, 0, 0));
        if (c.control.kind() != ui::Control::Kind::Frame &&
            c.control.kind() != ui::Control::Kind::PushButton) {
            LOGFONTW lf{};
            ASSERT_TRUE(GetObjectW(font, sizeof lf, &lf)) << c.what;
            EXPECT_STREQ(lf.lfFaceName, L"Liberation Serif") << c.what;
            EXPECT_EQ(lf.lfWeight, 600) << c.what;
        }
    }
}

// Which colours a skin replaces, by option bit 1 and the two switches.
TEST(SkinApplying, OptionsDecideWhatIsRestyled) {
    struct Case {
        const char* what;
        int options;
        bool controls, buttons;
        bool frameExplicit;  // Frame1 carries a fixed colour of the program's before applying
        COLORREF form, frame, check, button;
    };
    const COLORREF face = GetSysColor(COLOR_BTNFACE), skinWindow = RGB(0x10, 0x20, 0x30);
    const COLORREF skinCheck = RGB(0x11, 0x22, 0x33), skinButton = RGB(0x1A, 0x73, 0xE8),
                   white = RGB(255, 255, 255);
    const COLORREF mine = RGB(0x12, 0x34, 0x56);
    const Case cases[] = {
        {"all on", 1, true, true, false, skinWindow, skinWindow, skinCheck, skinButton},
        {"explicit colour kept", 1, true, true, true, skinWindow, mine, skinCheck, skinButton},
        {"explicit colour replaced without bit 1", 0, true, true, true, skinWindow, skinWindow,
         skinCheck, skinButton},
        {"other bits change nothing", 0x40 | 1, true, true, true, skinWindow, mine, skinCheck,
         skinButton},
        {"controls off", 1, false, true, false, skinWindow, face, face, skinButton},
        {"buttons off", 1, true, false, false, skinWindow, skinWindow, skinCheck, white},
    };
    TempFolder dir;
    const std::wstring path = dir.write(L"s.cjs", kSkin);
    for (const Case& c : cases) {
        Form1 form;
        form.create();
        // As the skin step leaves the window before it applies the skin.
        for (ui::Control* control :
             {static_cast<ui::Control*>(&form.Frame1), static_cast<ui::Control*>(&form.Check4)})
            control->setBackColor(ui::kButtonFace);
        form.setBackColor(ui::kButtonFace);
        if (c.frameExplicit) form.Frame1.setBackColor(mine);

        skin_engine::SkinFramework engine;
        engine.loadSkin(path, L"");
        engine.setOptions(c.options);
        engine.setRestyleControls(c.controls);
        engine.setDrawButtons(c.buttons);
        engine.applyTo(form.hwnd());
        EXPECT_EQ(form.rgb(form.backColor()), c.form) << c.what;
        EXPECT_EQ(form.rgb(form.Frame1.backColor()), c.frame) << c.what;
        EXPECT_EQ(ctlColor(form, WM_CTLCOLORSTATIC, form.Check4.hwnd()).back, c.check) << c.what;
        EXPECT_EQ(form.rgb(form.PushButton1.backColor()), c.button) << c.what;
    }
}

}  // namespace
