#pragma once
#include <string>

namespace app {

// The system's own text for an error code, without its trailing line break.
std::wstring systemErrorText(unsigned long code);

}  // namespace app
