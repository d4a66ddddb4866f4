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

std::wstring_view runValuePath(std::wstring_view data) {
    const size_t close = data.empty() || data.front() != L'"' ? data.npos : data.find(L'"', 1);
    return close == data.npos ? data : data.substr(1, close - 1);
}

bool markDisables(std::string_view bytes) {
    return !bytes.empty() && (static_cast<unsigned char>(bytes[0]) & 1) != 0;
}

}  // namespace startup_entry
