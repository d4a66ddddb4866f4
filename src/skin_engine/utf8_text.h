#pragma once
// Reading UTF-8 into the platform's wide strings, without help from the C library's locale.
#include <optional>
#include <string>
#include <string_view>

namespace skin_engine {

// Well-formed UTF-8 as a wide string: UTF-16 where wchar_t has 16 bits (Windows), UTF-32 where it
// has 32. Nothing for ill-formed input: a stray or missing continuation byte, an overlong form, an
// encoded surrogate (U+D800..U+DFFF), a value above U+10FFFF, or the bytes C0, C1, F5..FF.
// A NUL byte is well-formed and gives a NUL character.
std::optional<std::wstring> decodeUtf8(std::string_view bytes);

}  // namespace skin_engine
