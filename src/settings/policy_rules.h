#pragma once
// Which texts a policy may set: only the exact texts the program itself stores for a choice. What
// the user's store would read leniently ("2.5", "abc", "on" for "On") is refused, so a slip in a
// policy is reported rather than locking an option in a state nobody chose.
#include <string>

namespace settings {

// True when `text` is the decimal index of an item of a list of `listCount` ("0" and up).
bool policyIndexValid(const std::wstring& text, int listCount);

// True for "On" and "Off", exactly.
bool policySwitchValid(const std::wstring& text);

}  // namespace settings
