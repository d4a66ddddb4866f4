#pragma once
#include <string>

namespace win {

// The system's own text for an error code, without its trailing line break.
std::wstring systemErrorText(unsigned long code);

}  // namespace win
