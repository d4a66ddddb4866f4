#include "startup_entry/run_value.h"

namespace startup_entry {

std::wstring runValueName(std::wstring_view programPath) {
    const size_t slash = programPath.find_last_of(L'\\');
    return std::wstring(slash == std::wstring_view::npos ? programPath
                                                         : programPath.substr(slash + 1));
}

std::wstring runValueData(std::wstring_view programPath) {
    return L"\"" + std::wstring(programPath) + L"\"";
}

}  // namespace startup_entry
