#include "settings/policy_rules.h"

namespace settings {

bool policyIndexValid(const std::wstring& text, int listCount) {
    if (text.empty()) return false;
    long value = 0;
    for (const wchar_t c : text) {
        if (c < L'0' || c > L'9') return false;
        value = value * 10 + (c - L'0');
        if (value >= listCount) return false;
    }
    return true;
}

bool policySwitchValid(const std::wstring& text) {
    return text == L"On" || text == L"Off";
}

}  // namespace settings
