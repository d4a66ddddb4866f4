#include "skin_engine/skin_file.h"

#include <array>

#include "runtime/run_error.h"
#include "skin_engine/utf8_text.h"

namespace skin_engine {

namespace {

enum class Kind { kColour, kFace, kSize, kWeight };

struct SectionDef {
    std::wstring_view name;
    bool required;
};

enum Section : int { kWindow, kFrame, kCheckBox, kList, kStatus, kButton, kFont, kSectionCount };

constexpr std::array<SectionDef, kSectionCount> kSections = {{
    {L"window", true},
    {L"frame", false},
    {L"checkbox", false},
    {L"list", false},
    {L"status", false},
    {L"button", true},
    {L"font", false},
}};

struct KeyDef {
    Section section;
    std::wstring_view name;
    Kind kind;
    Colour& (*colour)(Skin&);  // where a colour goes; the font keys are stored by kind
};

constexpr KeyDef kKeys[] = {
    {kWindow, L"background", Kind::kColour, [](Skin& s) -> Colour& { return s.window.background; }},
    {kWindow, L"text", Kind::kColour, [](Skin& s) -> Colour& { return s.window.text; }},
    {kFrame, L"background", Kind::kColour, [](Skin& s) -> Colour& { return s.frame.background; }},
    {kFrame, L"text", Kind::kColour, [](Skin& s) -> Colour& { return s.frame.text; }},
    {kCheckBox, L"background", Kind::kColour,
     [](Skin& s) -> Colour& { return s.checkBox.background; }},
    {kCheckBox, L"text", Kind::kColour, [](Skin& s) -> Colour& { return s.checkBox.text; }},
    {kList, L"background", Kind::kColour, [](Skin& s) -> Colour& { return s.list.background; }},
    {kList, L"text", Kind::kColour, [](Skin& s) -> Colour& { return s.list.text; }},
    {kStatus, L"text", Kind::kColour, [](Skin& s) -> Colour& { return s.status.text; }},
    {kStatus, L"border", Kind::kColour, [](Skin& s) -> Colour& { return s.status.border; }},
    {kButton, L"face", Kind::kColour, [](Skin& s) -> Colour& { return s.button.face; }},
    {kButton, L"text", Kind::kColour, [](Skin& s) -> Colour& { return s.button.text; }},
    {kButton, L"hover", Kind::kColour, [](Skin& s) -> Colour& { return s.button.hover; }},
    {kButton, L"pressed", Kind::kColour, [](Skin& s) -> Colour& { return s.button.pressed; }},
    {kButton, L"border", Kind::kColour, [](Skin& s) -> Colour& { return s.button.border; }},
    {kFont, L"face", Kind::kFace, nullptr},
    {kFont, L"size", Kind::kSize, nullptr},
    {kFont, L"weight", Kind::kWeight, nullptr},
};
constexpr std::size_t kKeyCount = sizeof(kKeys) / sizeof(kKeys[0]);

constexpr std::size_t kMaxFaceLength = 31;  // the platform's font face names hold 31 characters
constexpr std::size_t kMaxQuoted = 40;      // longer text is cut short in messages

bool isBlank(wchar_t c) {
    return c == L' ' || c == L'\t';
}
bool isDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}
wchar_t lower(wchar_t c) {
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + 32) : c;
}

std::wstring_view trim(std::wstring_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

// Case-insensitive for the letters A to Z; names in the tables are lower case.
bool sameName(std::wstring_view text, std::wstring_view name) {
    if (text.size() != name.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (lower(text[i]) != name[i]) return false;
    }
    return true;
}

// Text from the file as messages show it: cut short after kMaxQuoted characters.
std::wstring shortened(std::wstring_view s) {
    if (s.size() <= kMaxQuoted) return std::wstring(s);
    std::size_t cut = kMaxQuoted;
    if (s[cut] >= 0xDC00 && s[cut] <= 0xDFFF) --cut;  // keep a surrogate pair whole
    return std::wstring(s.substr(0, cut)) + L"...";
}

std::wstring quoted(std::wstring_view s) {
    return L"\"" + shortened(s) + L"\"";
}

std::wstring inSection(Section section) {
    return L" in section [" + std::wstring(kSections[section].name) + L"]";
}

// Digits only, at most maxDigits of them; nothing otherwise.
std::optional<int> plainNumber(std::wstring_view s, std::size_t maxDigits) {
    if (s.empty() || s.size() > maxDigits) return std::nullopt;
    int value = 0;
    for (wchar_t c : s) {
        if (!isDigit(c)) return std::nullopt;
        value = value * 10 + (c - L'0');
    }
    return value;
}

int hexDigit(wchar_t c) {
    if (isDigit(c)) return c - L'0';
    c = lower(c);
    if (c >= L'a' && c <= L'f') return c - L'a' + 10;
    return -1;
}

std::optional<Rgb> readColour(std::wstring_view s) {
    if (s.size() == 7 && s[0] == L'#') {
        int v[6];
        for (int i = 0; i < 6; ++i) {
            v[i] = hexDigit(s[i + 1]);
            if (v[i] < 0) return std::nullopt;
        }
        return Rgb{static_cast<std::uint8_t>(v[0] * 16 + v[1]),
                   static_cast<std::uint8_t>(v[2] * 16 + v[3]),
                   static_cast<std::uint8_t>(v[4] * 16 + v[5])};
    }
    if (s.size() < 3 || !sameName(s.substr(0, 3), L"rgb")) return std::nullopt;
    s = trim(s.substr(3));
    if (s.size() < 2 || s.front() != L'(' || s.back() != L')') return std::nullopt;
    s = s.substr(1, s.size() - 2);
    int parts[3];
    for (int i = 0; i < 3; ++i) {
        const std::size_t comma = i < 2 ? s.find(L',') : s.size();
        if (comma == std::wstring_view::npos) return std::nullopt;
        const auto n = plainNumber(trim(s.substr(0, comma)), 3);
        if (!n || *n > 255) return std::nullopt;
        parts[i] = *n;
        s = i < 2 ? s.substr(comma + 1) : std::wstring_view{};
    }
    return Rgb{static_cast<std::uint8_t>(parts[0]), static_cast<std::uint8_t>(parts[1]),
               static_cast<std::uint8_t>(parts[2])};
}

// Points from 1 to 72 with at most two decimals.
std::optional<double> readSize(std::wstring_view s) {
    const std::size_t dot = s.find(L'.');
    const auto whole = plainNumber(s.substr(0, dot), 2);
    if (!whole) return std::nullopt;
    int hundredths = *whole * 100;
    if (dot != std::wstring_view::npos) {
        const std::wstring_view fraction = s.substr(dot + 1);
        const auto f = plainNumber(fraction, 2);
        if (!f) return std::nullopt;
        hundredths += fraction.size() == 1 ? *f * 10 : *f;
    }
    if (hundredths < 100 || hundredths > 7200) return std::nullopt;
    return hundredths / 100.0;
}

std::optional<int> readWeight(std::wstring_view s) {
    if (sameName(s, L"normal")) return 400;
    if (sameName(s, L"bold")) return 700;
    const auto n = plainNumber(s, 3);
    if (!n || *n < 100 || *n > 900 || *n % 100 != 0) return std::nullopt;
    return n;
}

class Parser {
  public:
    explicit Parser(std::wstring_view fileName) : fileName_(fileName) {}

    Skin run(std::string_view bytes) {
        if (bytes.size() > kMaxSkinFileBytes) {
            fail(0, L"the file is " + std::to_wstring(bytes.size()) +
                        L" bytes long; a skin file may hold at most " +
                        std::to_wstring(kMaxSkinFileBytes) + L" bytes");
        }
        if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
        while (!bytes.empty()) {
            const std::size_t end = bytes.find('\n');
            std::string_view line = bytes.substr(0, end);
            bytes = end == std::string_view::npos ? std::string_view{} : bytes.substr(end + 1);
            if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
            ++lineNumber_;
            readLine(line);
        }
        if (!versionSeen_) fail(0, L"it does not begin with the version line \"vantrel-skin 1\"");
        for (int s = 0; s < kSectionCount; ++s) {
            if (kSections[s].required && sectionLine_[s] == 0) {
                fail(0,
                     L"the required section [" + std::wstring(kSections[s].name) + L"] is missing");
            }
        }
        return skin_;
    }

  private:
    [[noreturn]] void fail(int line, const std::wstring& what) const {
        std::wstring text = L"Skin file " + std::wstring(fileName_);
        if (line > 0) text += L", line " + std::to_wstring(line);
        throw runtime::Error(runtime::kBadSkinFile, text + L": " + what);
    }
    [[noreturn]] void fail(const std::wstring& what) const { fail(lineNumber_, what); }

    void readLine(std::string_view bytes) {
        if (bytes.find('\0') != std::string_view::npos) {
            fail(L"this is not a text file: the line holds a NUL byte");
        }
        const auto decoded = decodeUtf8(bytes);
        if (!decoded) fail(L"this is not a text file: the line is not valid UTF-8");
        for (wchar_t c : *decoded) {
            if ((c < 0x20 && c != L'\t') || c == 0x7F) {
                fail(L"the line holds the control character " + std::to_wstring(int(c)) +
                     L"; only tabs are allowed");
            }
        }
        const std::wstring_view line = trim(*decoded);
        if (line.empty() || line.front() == L'#' || line.front() == L';') return;
        if (!versionSeen_) return readVersion(line);
        if (line.front() == L'[') return readSectionHeader(line);
        readKey(line);
    }

    void readVersion(std::wstring_view line) {
        std::size_t gap = 0;
        while (gap < line.size() && !isBlank(line[gap])) ++gap;
        const std::wstring_view number = trim(line.substr(gap));
        const auto version = plainNumber(number, 9);
        if (!sameName(line.substr(0, gap), L"vantrel-skin") || !version) {
            fail(L"the first line must be the version line \"vantrel-skin 1\", not " +
                 quoted(line));
        }
        if (*version != kSkinVersion) {
            fail(L"unsupported skin version " + std::wstring(number) +
                 L"; this program reads version 1");
        }
        versionSeen_ = true;
    }

    void readSectionHeader(std::wstring_view line) {
        if (line.back() != L']') fail(L"a section header must end with \"]\": " + quoted(line));
        const std::wstring_view name = trim(line.substr(1, line.size() - 2));
        for (int s = 0; s < kSectionCount; ++s) {
            if (!sameName(name, kSections[s].name)) continue;
            if (sectionLine_[s] != 0) {
                fail(L"section [" + std::wstring(kSections[s].name) +
                     L"] appears a second time (first at line " + std::to_wstring(sectionLine_[s]) +
                     L")");
            }
            sectionLine_[s] = lineNumber_;
            section_ = static_cast<Section>(s);
            return;
        }
        std::wstring known;
        for (const auto& def : kSections)
            known += (known.empty() ? L"" : L", ") + std::wstring(def.name);
        fail(L"unknown section [" + shortened(name) + L"] (known sections: " + known + L")");
    }

    void readKey(std::wstring_view line) {
        const std::size_t eq = line.find(L'=');
        if (eq == std::wstring_view::npos) {
            fail(L"expected \"key = value\", a [section] or a comment, not " + quoted(line));
        }
        const std::wstring_view key = trim(line.substr(0, eq));
        const std::wstring_view value = trim(line.substr(eq + 1));
        if (key.empty()) fail(L"a key name is missing before \"=\"");
        if (section_ == kSectionCount) fail(L"key " + quoted(key) + L" comes before any section");
        const std::size_t k = findKey(key);
        const std::wstring where =
            L"key \"" + std::wstring(kKeys[k].name) + L"\"" + inSection(section_);
        if (keyLine_[k] != 0) {
            fail(where + L" appears a second time (first at line " + std::to_wstring(keyLine_[k]) +
                 L")");
        }
        keyLine_[k] = lineNumber_;
        if (value.empty()) fail(where + L" has no value");
        storeValue(kKeys[k], value, where);
    }

    // The index in kKeys of `key` in the current section; an unknown key fails, naming the keys
    // the section knows.
    std::size_t findKey(std::wstring_view key) const {
        for (std::size_t k = 0; k < kKeyCount; ++k) {
            if (kKeys[k].section == section_ && sameName(key, kKeys[k].name)) return k;
        }
        std::wstring known;
        for (const auto& def : kKeys) {
            if (def.section != section_) continue;
            known += (known.empty() ? L"" : L", ") + std::wstring(def.name);
        }
        fail(L"unknown key " + quoted(key) + inSection(section_) + L" (known keys: " + known +
             L")");
    }

    // Reads `value` as its key's kind and puts it into the skin; `where` names the key in messages.
    void storeValue(const KeyDef& def, std::wstring_view value, const std::wstring& where) {
        switch (def.kind) {
            case Kind::kColour: {
                const auto colour = readColour(value);
                if (!colour) {
                    fail(L"bad colour " + quoted(value) + L" for " + where +
                         L"; write #RRGGBB or rgb(r, g, b) with r, g and b from 0 to 255");
                }
                def.colour(skin_) = colour;
                break;
            }
            case Kind::kFace:
                if (value.size() > kMaxFaceLength) {
                    fail(L"the font face " + quoted(value) + L" is longer than " +
                         std::to_wstring(kMaxFaceLength) + L" characters");
                }
                skin_.font.face = value;
                break;
            case Kind::kSize:
                skin_.font.points = readSize(value);
                if (!skin_.font.points) {
                    fail(L"bad font size " + quoted(value) +
                         L"; write points from 1 to 72 with at most two decimals, such as 9 or "
                         L"11.25");
                }
                break;
            case Kind::kWeight:
                skin_.font.weight = readWeight(value);
                if (!skin_.font.weight) {
                    fail(L"bad font weight " + quoted(value) +
                         L"; write normal, bold or a multiple of 100 from 100 to 900");
                }
                break;
        }
    }

    std::wstring_view fileName_;
    Skin skin_;
    int lineNumber_ = 0;
    bool versionSeen_ = false;
    Section section_ = kSectionCount;  // none yet
    std::array<int, kSectionCount> sectionLine_{};
    std::array<int, kKeyCount> keyLine_{};
};

}  // namespace

Skin parseSkin(std::string_view bytes, std::wstring_view fileNameForMessages) {
    return Parser(fileNameForMessages).run(bytes);
}

}  // namespace skin_engine
