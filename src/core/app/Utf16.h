#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace lcdiag {

// Language files hold UTF-16LE; the program works with UTF-8. Both directions replace what
// cannot be converted (a lone surrogate, a broken UTF-8 sequence) by U+FFFD, so any bytes
// of a file yield a valid string.

std::string Utf16ToUtf8(std::u16string_view text);

// Converts UTF-16LE bytes; an odd last byte is ignored.
std::string Utf16LeToUtf8(std::span<const std::uint8_t> bytes);

std::u16string Utf8ToUtf16(std::string_view text);

// Whether the text is well-formed UTF-8 (no overlong forms, no surrogates).
bool IsValidUtf8(std::string_view text);

} // namespace lcdiag
