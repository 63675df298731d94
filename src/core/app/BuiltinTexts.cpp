#include "core/app/BuiltinTexts.h"

#include "core/app/LanguageTextFile.h"

#include <cstddef>
#include <string_view>

namespace lcdiag {

// Generated at build time from resources/texts/English.txt.
extern const unsigned char BuiltinEnglishTexts[];
extern const std::size_t BuiltinEnglishTextsSize;

namespace {

LanguageData ParseBuiltinTexts() {
    const std::string_view text(reinterpret_cast<const char*>(BuiltinEnglishTexts),
                                BuiltinEnglishTextsSize);
    std::string error;
    // The table is checked by the tests; a broken one would leave every text empty.
    return ParseLanguageText(text, error).value_or(LanguageData{});
}

} // namespace

const LanguageData& BuiltinLanguage() {
    static const LanguageData language = ParseBuiltinTexts();
    return language;
}

const std::string& BuiltinText(TextId id) {
    static const std::string empty;
    return id < TextIdCount ? BuiltinLanguage().texts[id] : empty;
}

} // namespace lcdiag
