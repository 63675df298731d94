// The text files users and translators write: the editable language texts, the preference
// file and the format strings inside the texts. The first byte chooses which one.
#include "core/app/IniDocument.h"
#include "core/app/LanguageTextFile.h"
#include "core/app/TextFormat.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

void LanguageText(std::string_view text) {
    std::string error;
    const auto data = lcdiag::ParseLanguageText(text, error);
    if (!data) {
        return;
    }
    const auto again = lcdiag::ParseLanguageText(lcdiag::WriteLanguageText(*data), error);
    if (!again || again->texts != data->texts || again->name != data->name ||
        again->attributes != data->attributes) {
        std::abort();
    }
}

void Preferences(std::string_view document) {
    const std::string section = "HKEY_CURRENT_USER\\Software\\Kelberg\\DVX7";
    lcdiag::IniReadValue(document, section, "Lang");
    const std::string value(document.substr(0, 40));
    const auto changed = lcdiag::IniWriteValue(document, section, "Lang", value);
    if (!changed || lcdiag::IniReadValue(*changed, section, "Lang") != value) {
        std::abort();
    }
}

void Format(std::string_view format) {
    const std::vector<lcdiag::TextArg> args = {std::int64_t{-2147483647 - 1}, "text"};
    lcdiag::FormatText(format, args);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    switch (data[0] % 3) {
    case 0:
        LanguageText(text);
        break;
    case 1:
        Preferences(text);
        break;
    default:
        Format(text);
        break;
    }
    return 0;
}
