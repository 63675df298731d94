#pragma once

#include <string_view>
#include <vector>

namespace lcdiag {

// Small helpers for the line-based text files the program reads (language texts,
// preferences).

// Without the blanks (spaces and tabs) at both ends.
std::string_view TrimBlanks(std::string_view text);

// The lines of a text without their line ends ("\n" or "\r\n"); a last line without an end
// counts, an empty text has no lines.
std::vector<std::string_view> SplitLines(std::string_view text);

// Equal when ASCII letters are compared without regard to case.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);

} // namespace lcdiag
