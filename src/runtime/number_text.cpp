#include "runtime/number_text.h"

#include <cmath>
#include <cstdlib>
#include <string>

#include "runtime/run_error.h"

namespace runtime {
namespace {

bool isDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}
bool isBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n';
}

}  // namespace

double leadingNumber(std::wstring_view text) {
    size_t i = 0;
    while (i < text.size() && isBlank(text[i])) ++i;
    const size_t start = i;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) ++i;
    size_t digits = 0;
    while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    if (i < text.size() && text[i] == L'.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) ++i, ++digits;
    }
    if (digits == 0) return 0.0;
    size_t end = i;
    if (i < text.size() && (text[i] == L'e' || text[i] == L'E')) {
        size_t j = i + 1;
        if (j < text.size() && (text[j] == L'+' || text[j] == L'-')) ++j;
        if (j < text.size() && isDigit(text[j])) {
            while (j < text.size() && isDigit(text[j])) ++j;
            end = j;
        }
    }
    // The prefix is plain ASCII, so a narrow copy read in the "C" locale is exact.
    std::string ascii(text.begin() + start, text.begin() + end);
    return std::strtod(ascii.c_str(), nullptr);
}

std::int16_t roundToInt16(double value) {
    const double rounded = std::nearbyint(value);  // the default mode rounds ties to even
    if (!(rounded >= -32768.0 && rounded <= 32767.0)) throw Error(kOverflow);
    return static_cast<std::int16_t>(rounded);
}

}  // namespace runtime
