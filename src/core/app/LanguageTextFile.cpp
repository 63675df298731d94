#include "core/app/LanguageTextFile.h"

#include "core/app/EscapedText.h"
#include "core/app/TextLines.h"
#include "core/app/Utf16.h"

#include <charconv>
#include <cstdint>
#include <limits>
#include <vector>

namespace lcdiag {
namespace {

enum class Section { None, Language, Texts, Attributes };

std::optional<std::uint32_t> ParseNumber(std::string_view text, std::uint32_t maximum) {
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size() ||
        value > maximum) {
        return std::nullopt;
    }
    return value;
}

// The text between the first and the last quote of the value, its escapes resolved.
std::optional<std::string> Unquote(std::string_view value, std::string& error) {
    if (value.size() < 2 || value.front() != '"' || value.back() != '"') {
        error = "the text must be enclosed in double quotes";
        return std::nullopt;
    }
    auto text = UnescapeText(value.substr(1, value.size() - 2));
    if (!text) {
        error = "unknown escape (use \\r, \\n, \\t, \\\\, \\\" or \\xHH)";
    }
    return text;
}

class Parser {
public:
    // An empty result means the line was fine.
    std::string Line(std::string_view line) {
        line = TrimBlanks(line);
        if (line.empty() || line.front() == '#') {
            return {};
        }
        if (line.front() == '[' && line.back() == ']') {
            return StartSection(line.substr(1, line.size() - 2));
        }
        const auto equals = line.find('=');
        if (equals == std::string_view::npos) {
            return "expected a section or key=value";
        }
        const std::string_view key = TrimBlanks(line.substr(0, equals));
        const std::string_view value = TrimBlanks(line.substr(equals + 1));
        switch (section_) {
        case Section::Language:
            return LanguageValue(key, value);
        case Section::Texts:
            return Text(key, value);
        case Section::Attributes:
            return Attribute(key, value);
        case Section::None:
            break;
        }
        return "a value before the first section";
    }

    LanguageData Take() { return std::move(data_); }

private:
    std::string StartSection(std::string_view name) {
        if (name == "language") {
            section_ = Section::Language;
        } else if (name == "texts") {
            section_ = Section::Texts;
        } else if (name == "attributes") {
            section_ = Section::Attributes;
        } else {
            return "unknown section (use [language], [texts] or [attributes])";
        }
        return {};
    }

    std::string LanguageValue(std::string_view key, std::string_view value) {
        std::string error;
        if (key == "name") {
            if (auto name = Unquote(value, error)) {
                data_.name = std::move(*name);
            }
            return error;
        }
        if (key == "flag") {
            const auto flag = ParseNumber(value, 1);
            data_.headerFlag = flag == 1u;
            return flag ? "" : "the flag is 0 or 1";
        }
        return "unknown key (use name or flag)";
    }

    std::string Text(std::string_view key, std::string_view value) {
        const auto id = ParseNumber(key, TextIdCount - 1);
        if (!id) {
            return "the text id must be a number from 0 to 65535";
        }
        if (textSeen_[*id]) {
            return "text id " + std::string(key) + " is given twice";
        }
        textSeen_[*id] = true;
        std::string error;
        auto text = Unquote(value, error);
        if (!text) {
            return error;
        }
        if (Utf8ToUtf16(*text).size() > std::numeric_limits<std::uint16_t>::max()) {
            return "the text is longer than 65535 characters";
        }
        data_.texts[*id] = std::move(*text);
        return {};
    }

    std::string Attribute(std::string_view key, std::string_view value) {
        const auto id = ParseNumber(key, TextIdCount - 1);
        if (!id) {
            return "the text id must be a number from 0 to 65535";
        }
        if (attributeSeen_[*id]) {
            return "the attribute of text id " + std::string(key) + " is given twice";
        }
        attributeSeen_[*id] = true;
        const auto attribute = ParseNumber(value, 255);
        if (!attribute) {
            return "an attribute is a number from 0 to 255";
        }
        data_.attributes[*id] = static_cast<std::uint8_t>(*attribute);
        return {};
    }

    LanguageData data_;
    Section section_ = Section::None;
    std::vector<bool> textSeen_ = std::vector<bool>(TextIdCount);
    std::vector<bool> attributeSeen_ = std::vector<bool>(TextIdCount);
};

} // namespace

std::optional<LanguageData> ParseLanguageText(std::string_view text, std::string& error) {
    if (text.starts_with("\xEF\xBB\xBF")) {
        text.remove_prefix(3);
    }
    Parser parser;
    int number = 0;
    for (const std::string_view line : SplitLines(text)) {
        ++number;
        std::string problem = IsValidUtf8(line) ? parser.Line(line) : "the line is not UTF-8";
        if (!problem.empty()) {
            error = "line " + std::to_string(number) + ": " + problem;
            return std::nullopt;
        }
    }
    return parser.Take();
}

std::string WriteLanguageText(const LanguageData& data) {
    std::string out =
        "# lcdiag language texts (UTF-8). Each text lies between the first and the last\n"
        "# double quote of its line; in a text \\r is a carriage return, \\n a line feed,\n"
        "# \\t a tab, \\\\ a backslash. A text left out falls back to the built-in English.\n"
        "[language]\n"
        "name=\"" +
        EscapeText(data.name) + "\"\nflag=" + (data.headerFlag ? "1" : "0") + "\n\n[texts]\n";
    for (TextId id = 0; id < data.texts.size(); ++id) {
        if (!data.texts[id].empty()) {
            out += std::to_string(id) + "=\"" + EscapeText(data.texts[id]) + "\"\n";
        }
    }
    std::string attributes;
    for (TextId id = 0; id < data.attributes.size(); ++id) {
        if (data.attributes[id] != 0) {
            attributes += std::to_string(id) + "=" + std::to_string(data.attributes[id]) + "\n";
        }
    }
    if (!attributes.empty()) {
        out += "\n[attributes]\n" + attributes;
    }
    return out;
}

} // namespace lcdiag
