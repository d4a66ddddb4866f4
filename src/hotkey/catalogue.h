#pragma once
// The combinations the user can choose from: three modifier pairs and 36 keys.
#include <array>
#include <string>

namespace hotkey {

struct ModifierPair {
    const wchar_t* text;
    unsigned flags;  // MOD_ALT 1, MOD_CONTROL 2, MOD_SHIFT 4
};

inline constexpr std::array<ModifierPair, 3> kModifierPairs{{
    {L"Ctrl + Alt", 3},
    {L"Ctrl + Shift", 6},
    {L"Alt + Shift", 5},
}};

// The key list in its fixed order: "A" to "Z", "1" to "9", then "0". Index 11 is "L".
std::array<std::wstring, 36> keyTexts();

inline constexpr int kDefaultModifierIndex = 0;
inline constexpr int kDefaultKeyIndex = 11;

// The virtual-key code of a key text: the code of its first character. An empty text has none
// and fails with "Invalid procedure call or argument".
int keyCode(const std::wstring& keyText);

// The modifier flags of the pair at a list index, 0 to 2.
unsigned modifierFlags(int index);

}  // namespace hotkey
