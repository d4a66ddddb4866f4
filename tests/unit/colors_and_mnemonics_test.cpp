// The colour pair each surface paints with, and the shortcut marks of captions.
#include <gtest/gtest.h>

#include "ui/color.h"
#include "ui/mnemonic.h"

namespace {

// A dark scheme: every system colour the user chose differs from the standard one.
std::uint32_t darkScheme(int index) {
    switch (index) {
        case 5:   // window
        case 15:  // button face
            return 0x202020u;
        case 13:  // highlight
            return 0x00FFFFu;
        default:  // texts
            return 0xFFFFFFu;
    }
}

TEST(SurfaceColors, TextAndBackgroundAlwaysComeFromOneSource) {
    using ui::kButtonFace, ui::kButtonText, ui::kWhite, ui::kWindowBack, ui::kWindowText;
    struct Row {
        const char* what;
        ui::Color text, back;
        bool highContrast;
        std::uint32_t wantText, wantBack;
    } rows[] = {
        {"fixed back, system text: the designed look", kButtonText, kWhite, false, 0x000000u,
         0xFFFFFFu},
        {"system back, fixed text: the designed look", 0x0000FFu, kButtonFace, false, 0x0000FFu,
         0xF0F0F0u},
        {"both system: the user's scheme", kWindowText, kWindowBack, false, 0xFFFFFFu, 0x202020u},
        {"both fixed: as set", 0x123456u, 0xABCDEFu, false, 0x123456u, 0xABCDEFu},
        {"high contrast: the system's pair whatever is set", 0x123456u, kWhite, true, 0xFFFFFFu,
         0x202020u},
    };
    for (const Row& r : rows) {
        const ui::ColorPair pair =
            ui::surfaceColors(r.text, r.back, kWindowText, kWindowBack, r.highContrast, darkScheme);
        EXPECT_EQ(pair.text, r.wantText) << r.what;
        EXPECT_EQ(pair.back, r.wantBack) << r.what;
    }
}

TEST(Mnemonics, TheMarkedKeyIsTheShortcutAndTheMarksAreNotShown) {
    struct Row {
        const wchar_t *caption, *shown, *shortcut;
    } rows[] = {
        {L"&Help", L"Help", L"Alt+H"},
        {L"Start in system &tray", L"Start in system tray", L"Alt+T"},
        {L"Salt && &pepper", L"Salt & pepper", L"Alt+P"},
        {L"No mark", L"No mark", L""},
        {L"Trailing &", L"Trailing &", L""},
    };
    for (const Row& r : rows) {
        EXPECT_EQ(ui::withoutMnemonic(r.caption), r.shown);
        EXPECT_EQ(ui::mnemonicShortcut(r.caption), r.shortcut);
    }
}

}  // namespace
