#pragma once
// Restoring a list's selection from the stored text of its index.
#include <optional>
#include <string>

namespace settings {

// The first reading of a stored index decides whether it is applied at all: its number must be
// below the list's item count. Text that is absent reads as the default 0.
bool storedIndexInRange(const std::wstring& stored, int listCount);

// The index the second reading applies: the number rounded to 16 bits, ties to even. Throws the
// overflow error outside the 16-bit range. (Whether it names an item is for the list to decide.)
int storedIndex(const std::wstring& stored);

}  // namespace settings
