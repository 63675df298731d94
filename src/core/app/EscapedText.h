#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace lcdiag {

// Escapes that keep any text on one line of a hand-editable file: \r carriage return,
// \n line feed, \t tab, \\ backslash, \xHH any other control character (HH below 80).
// Quotes are left alone: such files take a text from the first to the last quote of its
// line. \" is also read as a quote.
std::string EscapeText(std::string_view text);
// Nullopt for an unknown or incomplete escape.
std::optional<std::string> UnescapeText(std::string_view text);

// Whether EscapeText would change the text.
bool NeedsEscapes(std::string_view text);

} // namespace lcdiag
