#pragma once

#include "core/app/TextId.h"
#include "core/app/ZnaFile.h"

#include <string>

namespace lcdiag {

// The built-in English texts, compiled into the program from resources/texts/English.txt.
const LanguageData& BuiltinLanguage();

// The built-in text of the id; empty for an id the table does not hold.
const std::string& BuiltinText(TextId id);

} // namespace lcdiag
