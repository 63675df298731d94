#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace lcdiag {

// One argument of a text used as a format string: a number or a string.
using TextArg = std::variant<std::int64_t, std::string>;

// Fills a text with arguments. Format strings come from language files that anyone can
// write, so this understands only what the texts use: "%s" and "%d", each with an optional
// "-" (left-aligned) and a width, and "%%". Each conversion takes the next argument and
// writes it as it is, whichever of the two letters asks for it (a translator's "%s" for a
// number still shows the number). A conversion without an argument left, and anything else
// after a "%" ("%n", "%x", "%5.2f"), is copied unchanged; surplus arguments are ignored.
// Widths above 1000 count as 1000.
std::string FormatText(std::string_view format, std::span<const TextArg> args);

} // namespace lcdiag
