#pragma once
// Reading numbers out of stored text, and narrowing them to 16-bit list indexes.
#include <cstdint>
#include <string_view>

namespace runtime {

// The lenient reading of a stored number: leading blanks (space, tab, CR, LF) are skipped and the
// longest leading decimal number is taken: an optional sign, digits with at most one decimal
// point, and an optional exponent "e"/"E" with at least one digit. Text with no such prefix reads
// as 0. Only decimal text is understood: "&H10" and "1d2" read as 0 and 1, because nothing that
// writes the settings ever writes hexadecimal or D-exponent numbers. Out-of-range exponents give
// an infinity, which the 16-bit rounding then reports as an overflow.
double leadingNumber(std::wstring_view text);

// The nearest 16-bit integer, ties going to the even neighbour (2.5 -> 2, 3.5 -> 4). Throws
// runtime::Error(kOverflow) when the rounded value lies outside -32768..32767 or is not a number.
std::int16_t roundToInt16(double value);

}  // namespace runtime
