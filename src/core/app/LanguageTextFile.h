#pragma once

#include "core/app/ZnaFile.h"

#include <optional>
#include <string>
#include <string_view>

namespace lcdiag {

// The editable UTF-8 form of a language, in which translators write their texts and from
// which the built-in English table is compiled:
//
//   # a comment
//   [language]
//   name="Deutsch"
//   flag=0
//   [texts]
//   101="Unbekannter Fehler!"
//   [attributes]
//   101=3
//
// A text lies between the first and the last double quote of its line, so quotes inside
// need no escape. In a text, \r is a carriage return, \n a line feed, \t a tab, \\ a
// backslash, \" a quote and \xHH a control character (HH below 80); every other character
// stands for itself. Sections and lines may come in any order; ids are 0-65535, each given
// at most once; attributes are 0-255.

// The language of a text, or nullopt with error set to the first problem ("line 7: ...").
std::optional<LanguageData> ParseLanguageText(std::string_view text, std::string& error);

// The text form of a language: [language], every non-empty text, every non-zero attribute.
std::string WriteLanguageText(const LanguageData& data);

} // namespace lcdiag
