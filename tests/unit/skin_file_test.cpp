#include "skin_engine/skin_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "runtime/run_error.h"
#include "skin_engine/utf8_text.h"

namespace {

using skin_engine::parseSkin;
using skin_engine::Rgb;
using skin_engine::Skin;

const std::wstring kFile = L"C:\\app\\x\\o.cjs";
const std::string kHead = "vantrel-skin 1\n[window]\n[button]\n";  // the smallest good skin

// The description of the error that parsing raises; fails the test when none is raised.
std::wstring parseError(const std::string& bytes) {
    try {
        parseSkin(bytes, kFile);
    } catch (const runtime::Error& e) {
        EXPECT_EQ(e.number, runtime::kBadSkinFile);
        return e.description;
    }
    ADD_FAILURE() << "no error for:\n" << bytes;
    return L"";
}

struct BadCase {
    const char* what;
    std::string bytes;
    int line;  // 0: a fault of the whole file, named without a line
    std::wstring fragment;
};

TEST(ParseSkin, ReportsTheFirstFaultWithItsLine) {
    const BadCase cases[] = {
        {"empty file", "", 0, L"does not begin with the version line"},
        {"only comments", "# a\n; b\n\n", 0, L"does not begin with the version line"},
        {"no version line", "[window]\n[button]\n", 1, L"must be the version line"},
        {"wrong magic word", "vantrel-skins 1\n", 1, L"must be the version line"},
        {"version without number", "vantrel-skin\n", 1, L"must be the version line"},
        {"version with text", "vantrel-skin 1 beta\n", 1, L"must be the version line"},
        {"version after comments", "# c\n\nvantrel-skin x\n", 3, L"must be the version line"},
        {"newer version", "vantrel-skin 2\n[window]\n[button]\n", 1,
         L"unsupported skin version 2; this program reads version 1"},
        {"version zero", "vantrel-skin 0\n", 1, L"unsupported skin version 0"},
        {"NUL byte", kHead + std::string("text = a\0b\n", 11), 4,
         L"not a text file: the line holds a NUL"},
        {"invalid UTF-8", kHead + "face = \xC3\x28\n", 4, L"not valid UTF-8"},
        {"UTF-8 in the version line", "vantrel-skin 1\xFF\n", 1, L"not valid UTF-8"},
        {"stray CR", kHead + "face = #000000\rtext = #FFFFFF\n", 4, L"control character 13"},
        {"form feed", "vantrel-skin 1\n\f\n", 2, L"control character 12"},
        {"DEL", "vantrel-skin 1\n\x7F\n", 2, L"control character 127"},
        {"unknown section", kHead + "[buttons]\n", 4,
         L"unknown section [buttons] (known sections: window, frame, checkbox, list, status, "
         L"button, font)"},
        {"unclosed section", kHead + "[font\n", 4, L"must end with \"]\": \"[font\""},
        {"text after section", kHead + "[font] size = 9\n", 4, L"must end with \"]\""},
        {"empty section name", kHead + "[]\n", 4, L"unknown section []"},
        {"section twice", "vantrel-skin 1\n[window]\n[button]\n\n[Window]\n", 5,
         L"section [window] appears a second time (first at line 2)"},
        {"key before section", "vantrel-skin 1\nface = #000000\n", 2,
         L"key \"face\" comes before any section"},
        {"unknown key", kHead + "facecolour = #000000\n", 4,
         L"unknown key \"facecolour\" in section [button] (known keys: face, text, hover, "
         L"pressed, border)"},
        {"key of another section", "vantrel-skin 1\n[window]\nface = #000000\n", 3,
         L"unknown key \"face\" in section [window] (known keys: background, text)"},
        {"no background in status", kHead + "[status]\nbackground = #FFFFFF\n", 5,
         L"unknown key \"background\" in section [status]"},
        {"duplicate key", kHead + "text = #000000\nhover = #111111\nTEXT = #000000\n", 6,
         L"key \"text\" in section [button] appears a second time (first at line 4)"},
        {"line without =", kHead + "face #000000\n", 4,
         L"expected \"key = value\", a [section] or a comment, not \"face #000000\""},
        {"missing key", kHead + " = #000000\n", 4, L"key name is missing"},
        {"missing value", kHead + "face =  \n", 4,
         L"key \"face\" in section [button] has no value"},
        {"bad colour", kHead + "face = #12345\n", 4,
         L"bad colour \"#12345\" for key \"face\" in section [button]; write #RRGGBB"},
        {"comment after colour", kHead + "face = #FFFFFF # white\n", 4, L"bad colour"},
        {"bad rgb", kHead + "face = rgb(1, 2, 256)\n", 4, L"bad colour \"rgb(1, 2, 256)\""},
        {"bad size", kHead + "[font]\nsize = 9pt\n", 5, L"bad font size \"9pt\""},
        {"bad weight", kHead + "[font]\nweight = heavy\n", 5, L"bad font weight \"heavy\""},
        {"long face", kHead + "[font]\nface = " + std::string(32, 'A') + "\n", 5,
         L"longer than 31 characters"},
        {"missing window", "vantrel-skin 1\n[button]\n[font]\nsize = 9\n", 0,
         L"the required section [window] is missing"},
        {"missing button", "vantrel-skin 1\n[window]\n", 0,
         L"the required section [button] is missing"},
        // The first fault from the top wins, whatever its kind.
        {"first of two faults", kHead + "hover = red\nfoo = 1\n", 4, L"bad colour \"red\""},
        {"line fault before a missing section", "vantrel-skin 1\n[window]\nx\n", 3,
         L"expected \"key = value\""},
        {"CRLF lines are counted", "vantrel-skin 1\r\n[window]\r\n\r\nbad\r\n", 4, L"not \"bad\""},
        {"BOM is not a line", "\xEF\xBB\xBFvantrel-skin 1\n[window]\nbad\n", 3, L"not \"bad\""},
        {"long text is cut short", kHead + std::string(100, 'k') + " = 1\n", 4,
         L"unknown key \"" + std::wstring(40, L'k') + L"...\""},
    };
    for (const auto& c : cases) {
        const std::wstring description = parseError(c.bytes);
        const std::wstring prefix = L"Skin file " + kFile +
                                    (c.line > 0 ? L", line " + std::to_wstring(c.line) : L"") +
                                    L": ";
        EXPECT_EQ(description.substr(0, prefix.size()), prefix) << c.what;
        EXPECT_NE(description.find(c.fragment), std::wstring::npos)
            << c.what << ": " << testing::PrintToString(description);
    }
}

TEST(ParseSkin, RefusesFilesLongerThanTheLimit) {
    // A good skin padded with one long comment line to exactly the limit.
    std::string bytes = kHead + "#";
    bytes += std::string(skin_engine::kMaxSkinFileBytes - bytes.size() - 1, 'x') + "\n";
    ASSERT_EQ(bytes.size(), skin_engine::kMaxSkinFileBytes);
    EXPECT_NO_THROW(parseSkin(bytes, kFile));
    bytes += "\n";
    EXPECT_EQ(parseError(bytes), L"Skin file " + kFile +
                                     L": the file is 65537 bytes long; a skin file may hold at "
                                     L"most 65536 bytes");
}

TEST(ParseSkin, LeavesEveryOptionalValueUnsetByDefault) {
    const Skin skin = parseSkin(kHead, kFile);
    EXPECT_EQ(skin.version, 1);
    for (const auto& colour :
         {skin.window.background, skin.window.text, skin.frame.background, skin.frame.text,
          skin.checkBox.background, skin.checkBox.text, skin.list.background, skin.list.text,
          skin.status.text, skin.status.border, skin.button.face, skin.button.text,
          skin.button.hover, skin.button.pressed, skin.button.border}) {
        EXPECT_FALSE(colour.has_value());
    }
    EXPECT_TRUE(skin.font.face.empty());
    EXPECT_FALSE(skin.font.points.has_value());
    EXPECT_FALSE(skin.font.weight.has_value());
}

TEST(ParseSkin, PutsEachKeyIntoItsOwnField) {
    // Every colour gets a different value, so a key wired to the wrong field shows.
    const Skin skin = parseSkin(
        "vantrel-skin 1\n"
        "[window]\nbackground = #010000\ntext = #020000\n"
        "[frame]\nbackground = #030000\ntext = #040000\n"
        "[checkbox]\nbackground = #050000\ntext = #060000\n"
        "[list]\nbackground = #070000\ntext = #080000\n"
        "[status]\ntext = #090000\nborder = #0A0000\n"
        "[button]\nface = #0B0000\ntext = #0C0000\nhover = #0D0000\npressed = #0E0000\n"
        "border = #0F0000\n"
        "[font]\nface = Segoe UI\nsize = 10.5\nweight = 600\n",
        kFile);
    const skin_engine::Colour got[] = {
        skin.window.background,   skin.window.text,    skin.frame.background, skin.frame.text,
        skin.checkBox.background, skin.checkBox.text,  skin.list.background,  skin.list.text,
        skin.status.text,         skin.status.border,  skin.button.face,      skin.button.text,
        skin.button.hover,        skin.button.pressed, skin.button.border};
    for (int i = 0; i < 15; ++i) {
        EXPECT_EQ(got[i], (Rgb{static_cast<std::uint8_t>(i + 1), 0, 0})) << "field " << i;
    }
    EXPECT_EQ(skin.font.face, L"Segoe UI");
    EXPECT_EQ(skin.font.points, 10.5);
    EXPECT_EQ(skin.font.weight, 600);
}

TEST(ParseSkin, ReadsColoursInBothForms) {
    const std::pair<const char*, skin_engine::Colour> cases[] = {
        {"#000000", Rgb{0, 0, 0}},
        {"#FFFFFF", Rgb{255, 255, 255}},
        {"#1a73E8", Rgb{0x1A, 0x73, 0xE8}},
        {"rgb(1,2,3)", Rgb{1, 2, 3}},
        {"RGB ( 255 , 0 ,\t9 )", Rgb{255, 0, 9}},
        {"rgb(007, 0, 0)", Rgb{7, 0, 0}},
        {"#FFF", std::nullopt},
        {"#1234567", std::nullopt},
        {"#GG0000", std::nullopt},
        {"123456", std::nullopt},
        {"# 12345", std::nullopt},
        {"rgb(1, 2)", std::nullopt},
        {"rgb(1, 2, 3, 4)", std::nullopt},
        {"rgb(1, 2, 3", std::nullopt},
        {"rgb(-1, 2, 3)", std::nullopt},
        {"rgb(1, , 3)", std::nullopt},
        {"rgb(1 2, 3, 4)", std::nullopt},
        {"rgb(0256, 0, 0)", std::nullopt},
        {"rgb(1, 2, 3)x", std::nullopt},
        {"red", std::nullopt},
    };
    for (const auto& [text, expected] : cases) {
        const std::string bytes = kHead + "face = " + text + "\n";
        if (expected) {
            EXPECT_EQ(parseSkin(bytes, kFile).button.face, expected) << text;
        } else {
            EXPECT_NE(parseError(bytes).find(L"bad colour"), std::wstring::npos) << text;
        }
    }
}

TEST(ParseSkin, ReadsFontSizesAndWeights) {
    const std::pair<const char*, std::optional<double>> sizes[] = {
        {"9", 9.0},
        {"11.25", 11.25},
        {"1", 1.0},
        {"72", 72.0},
        {"8.5", 8.5},
        {"09.50", 9.5},
        {"0.99", std::nullopt},
        {"72.01", std::nullopt},
        {"0", std::nullopt},
        {"100", std::nullopt},
        {"9.", std::nullopt},
        {".5", std::nullopt},
        {"9.125", std::nullopt},
        {"-9", std::nullopt},
        {"9,5", std::nullopt},
        {"1e1", std::nullopt},
    };
    for (const auto& [text, expected] : sizes) {
        const std::string bytes = kHead + "[font]\nsize = " + text + "\n";
        if (expected) {
            EXPECT_EQ(parseSkin(bytes, kFile).font.points, expected) << text;
        } else {
            EXPECT_NE(parseError(bytes).find(L"bad font size"), std::wstring::npos) << text;
        }
    }
    const std::pair<const char*, std::optional<int>> weights[] = {
        {"normal", 400},        {"BOLD", 700},          {"100", 100},
        {"900", 900},           {"500", 500},           {"0", std::nullopt},
        {"450", std::nullopt},  {"1000", std::nullopt}, {"bolder", std::nullopt},
        {"0700", std::nullopt},
    };
    for (const auto& [text, expected] : weights) {
        const std::string bytes = kHead + "[font]\nweight = " + text + "\n";
        if (expected) {
            EXPECT_EQ(parseSkin(bytes, kFile).font.weight, expected) << text;
        } else {
            EXPECT_NE(parseError(bytes).find(L"bad font weight"), std::wstring::npos) << text;
        }
    }
}

TEST(ParseSkin, AcceptsAnyCaseCommentsBlanksCrlfAndBom) {
    const std::string variants[] = {
        "VANTREL-SKIN 1\n[WINDOW]\nBackGround = #0000ff\n[Button]\nFACE=#0000FF\n",
        "\xEF\xBB\xBFvantrel-skin 1\r\n[window]\r\nbackground = #0000FF\r\n[button]\r\n"
        "face = #0000FF\r\n",
        "# comment\n; comment\n\n  \t\nvantrel-skin\t1  \n  # indented comment\n[ window ]\n"
        "\tbackground\t=\t#0000FF\t\n; between\n[button]\nface = rgb(0, 0, 255)",
    };
    for (const auto& bytes : variants) {
        const Skin skin = parseSkin(bytes, kFile);
        EXPECT_EQ(skin.window.background, (Rgb{0, 0, 255})) << bytes;
        EXPECT_EQ(skin.button.face, (Rgb{0, 0, 255})) << bytes;
    }
    // The font face keeps its case and inner blanks, and may be any Unicode text.
    const Skin skin =
        parseSkin(kHead + "[Font]\nFace =  MS  Gothic \xE2\x80\x94 \xF0\x9F\x98\x80\n", kFile);
    EXPECT_EQ(skin.font.face, L"MS  Gothic \x2014 " + *skin_engine::decodeUtf8("\xF0\x9F\x98\x80"));
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good()) << path;
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

TEST(SampleSkins, Parse) {
    const Skin dark = parseSkin(readFile(VDG_SOURCE_DIR "/skins/dark.cjs"), L"dark.cjs");
    EXPECT_EQ(dark.window.background, (Rgb{0x20, 0x21, 0x24}));
    EXPECT_EQ(dark.font.face, L"Segoe UI");
    EXPECT_EQ(dark.font.weight, 700);

    const Skin contrast =
        parseSkin(readFile(VDG_SOURCE_DIR "/skins/high-contrast.cjs"), L"high-contrast.cjs");
    EXPECT_EQ(contrast.window.background, (Rgb{0, 0, 0}));
    EXPECT_EQ(contrast.list.text, (Rgb{255, 255, 255}));
    EXPECT_EQ(contrast.font.points, 9);
    EXPECT_EQ(contrast.font.weight, 800);
    // The status line sits on white: both samples keep its text dark.
    for (const Skin* s : {&dark, &contrast}) {
        ASSERT_TRUE(s->status.text.has_value());
        EXPECT_LT(int{s->status.text->r} + s->status.text->g + s->status.text->b, 3 * 64);
    }
}

TEST(Rgb, GivesThePlatformColourValue) {
    EXPECT_EQ((Rgb{0x12, 0x34, 0x56}).colorref(), 0x00563412u);
}

TEST(DecodeUtf8, DecodesWellFormedText) {
    // Wide literals are UTF-16 or UTF-32 just as the platform's wchar_t is.
    const std::pair<std::string, std::wstring> cases[] = {
        {"", L""},
        {std::string("a\0b", 3), std::wstring(L"a\0b", 3)},
        {"\xC2\x80\xDF\xBF", L"\u0080\u07FF"},
        {"\xE0\xA0\x80\xED\x9F\xBF\xEE\x80\x80\xEF\xBF\xBF", L"\u0800\uD7FF\uE000\uFFFF"},
        {"\xF0\x90\x80\x80\xF4\x8F\xBF\xBF", L"\U00010000\U0010FFFF"},
    };
    for (const auto& [bytes, expected] : cases) {
        EXPECT_EQ(skin_engine::decodeUtf8(bytes), expected) << testing::PrintToString(bytes);
    }
}

TEST(DecodeUtf8, RefusesIllFormedText) {
    const char* cases[] = {
        "\x80",              // continuation byte without a lead
        "a\xBF",             //
        "\xC2",              // cut short
        "\xE2\x82",          //
        "\xF0\x9F\x98",      //
        "\xC2\x41",          // lead followed by a non-continuation
        "\xE2\x28\xA1",      //
        "\xC0\x80",          // overlong NUL
        "\xC1\xBF",          // overlong
        "\xE0\x9F\xBF",      // overlong three-byte form
        "\xF0\x8F\xBF\xBF",  // overlong four-byte form
        "\xED\xA0\x80",      // encoded surrogate U+D800
        "\xED\xBF\xBF",      // encoded surrogate U+DFFF
        "\xF4\x90\x80\x80",  // above U+10FFFF
        "\xF5\x80\x80\x80",  //
        "\xFE",              //
        "\xFF",              //
    };
    for (const char* bytes : cases) {
        EXPECT_FALSE(skin_engine::decodeUtf8(bytes).has_value()) << testing::PrintToString(bytes);
    }
}

}  // namespace
