#include "core/app/IniDocument.h"

#include "core/app/EscapedText.h"
#include "core/app/TextLines.h"

#include <algorithm>
#include <vector>

namespace lcdiag {
namespace {

struct IniEntry {
    std::string_view name;
    std::string_view value;
};

// The document's lines without their line ends. A line may end in several carriage returns
// (a file whose CR LF ends were converted twice ends its lines in CR CR LF): all of them
// belong to the line end, or a value would read with them and lose one at every rewrite.
std::vector<std::string_view> DocumentLines(std::string_view document) {
    std::vector<std::string_view> lines = SplitLines(document);
    for (std::string_view& line : lines) {
        while (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
    }
    return lines;
}

// The name of the section the line opens, or nullopt.
std::optional<std::string_view> SectionOf(std::string_view line) {
    line = TrimBlanks(line);
    if (line.size() < 2 || line.front() != '[' || line.back() != ']') {
        return std::nullopt;
    }
    return TrimBlanks(line.substr(1, line.size() - 2));
}

bool IsComment(std::string_view line) {
    return line.starts_with('#') || line.starts_with(';');
}

std::optional<IniEntry> EntryOf(std::string_view line) {
    line = TrimBlanks(line);
    const auto equals = line.find('=');
    if (IsComment(line) || equals == std::string_view::npos) {
        return std::nullopt;
    }
    return IniEntry{TrimBlanks(line.substr(0, equals)), TrimBlanks(line.substr(equals + 1))};
}

bool IsQuoted(std::string_view value) {
    return value.size() >= 2 && value.front() == '"' && value.back() == '"';
}

std::string DecodeValue(std::string_view value) {
    if (IsQuoted(value)) {
        if (auto text = UnescapeText(value.substr(1, value.size() - 2))) {
            return *text;
        }
    }
    return std::string(value);
}

std::string EncodeValue(std::string_view value) {
    const bool plain =
        !NeedsEscapes(value) && TrimBlanks(value) == value && !value.starts_with('"');
    return plain ? std::string(value) : '"' + EscapeText(value) + '"';
}

bool HasControlCharacter(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) {
        return static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) == 0x7F;
    });
}

bool IsWritableName(std::string_view name) {
    const std::string_view trimmed = TrimBlanks(name);
    return !trimmed.empty() && trimmed.find('=') == std::string_view::npos &&
           !HasControlCharacter(trimmed) && !IsComment(trimmed) && !trimmed.starts_with('[');
}

bool IsSection(std::string_view line, std::string_view section) {
    const auto name = SectionOf(line);
    return name && EqualsIgnoringCase(*name, TrimBlanks(section));
}

bool IsEntry(std::string_view line, std::string_view name) {
    const auto entry = EntryOf(line);
    return entry && EqualsIgnoringCase(entry->name, TrimBlanks(name));
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string out;
    for (const std::string& line : lines) {
        out += line;
        out += '\n';
    }
    return out;
}

} // namespace

std::string IniSectionName(const PreferenceKey& key) {
    const std::string root(RootKeyName(key.root));
    return key.subKey.empty() ? root : root + '\\' + key.subKey;
}

std::optional<std::string> IniReadValue(std::string_view document, std::string_view section,
                                        std::string_view name) {
    bool inSection = false;
    for (const std::string_view line : DocumentLines(document)) {
        if (SectionOf(line)) {
            inSection = IsSection(line, section);
        } else if (inSection && IsEntry(line, name)) {
            return DecodeValue(EntryOf(line)->value);
        }
    }
    return std::nullopt;
}

std::optional<std::string> IniWriteValue(std::string_view document, std::string_view section,
                                         std::string_view name, std::string_view value) {
    if (!IsWritableName(name) || HasControlCharacter(section)) {
        return std::nullopt;
    }
    const std::vector<std::string_view> views = DocumentLines(document);
    std::vector<std::string> lines(views.begin(), views.end());
    const std::string entry = std::string(TrimBlanks(name)) + '=' + EncodeValue(value);
    const auto start = std::find_if(lines.begin(), lines.end(), [&](const std::string& line) {
        return IsSection(line, section);
    });
    if (start == lines.end()) {
        if (!lines.empty() && !TrimBlanks(lines.back()).empty()) {
            lines.emplace_back();
        }
        lines.push_back('[' + std::string(TrimBlanks(section)) + ']');
        lines.push_back(entry);
        return Joined(lines);
    }
    const auto end = std::find_if(start + 1, lines.end(), [](const std::string& line) {
        return SectionOf(line).has_value();
    });
    auto insertAt = start + 1;
    for (auto line = start + 1; line != end; ++line) {
        if (IsEntry(*line, name)) {
            *line = entry;
            return Joined(lines);
        }
        if (!TrimBlanks(*line).empty()) {
            insertAt = line + 1;
        }
    }
    lines.insert(insertAt, entry);
    return Joined(lines);
}

} // namespace lcdiag
