#include "core/app/TextFormat.h"

#include <algorithm>
#include <optional>

namespace lcdiag {
namespace {

constexpr int MaxWidth = 1000;

struct Conversion {
    bool leftAligned = false;
    int width = 0;
    std::size_t length = 0; // characters from the "%" to the letter, both included
};

// The conversion starting with the "%" at pos, nullopt when it is not one we understand.
std::optional<Conversion> ParseConversion(std::string_view format, std::size_t pos) {
    Conversion conversion;
    std::size_t at = pos + 1;
    if (at < format.size() && format[at] == '-') {
        conversion.leftAligned = true;
        ++at;
    }
    for (; at < format.size() && format[at] >= '0' && format[at] <= '9'; ++at) {
        conversion.width = std::min(MaxWidth, conversion.width * 10 + (format[at] - '0'));
    }
    if (at >= format.size() || (format[at] != 's' && format[at] != 'd')) {
        return std::nullopt;
    }
    conversion.length = at + 1 - pos;
    return conversion;
}

std::string ArgumentText(const TextArg& arg) {
    if (const auto* number = std::get_if<std::int64_t>(&arg)) {
        return std::to_string(*number);
    }
    return std::get<std::string>(arg);
}

// Characters, not bytes, count for the width: UTF-8 continuation bytes are skipped.
std::size_t CharacterCount(std::string_view text) {
    return static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }));
}

std::string Padded(std::string text, const Conversion& conversion) {
    const std::size_t width = static_cast<std::size_t>(conversion.width);
    const std::size_t count = CharacterCount(text);
    if (count >= width) {
        return text;
    }
    const std::string padding(width - count, ' ');
    return conversion.leftAligned ? text + padding : padding + text;
}

} // namespace

std::string FormatText(std::string_view format, std::span<const TextArg> args) {
    std::string out;
    out.reserve(format.size());
    std::size_t nextArg = 0;
    std::size_t pos = 0;
    while (pos < format.size()) {
        if (format[pos] != '%') {
            out += format[pos++];
        } else if (format.substr(pos, 2) == "%%") {
            out += '%';
            pos += 2;
        } else if (const auto conversion = ParseConversion(format, pos);
                   conversion && nextArg < args.size()) {
            out += Padded(ArgumentText(args[nextArg++]), *conversion);
            pos += conversion->length;
        } else {
            out += format[pos++];
        }
    }
    return out;
}

} // namespace lcdiag
