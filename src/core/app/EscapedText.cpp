#include "core/app/EscapedText.h"

#include <algorithm>
#include <utility>

namespace lcdiag {
namespace {

int HexDigit(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    return -1;
}

bool IsControl(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

// The character of the escape whose backslash is at text[pos], and the escape's length.
std::optional<std::pair<char, std::size_t>> Escape(std::string_view text, std::size_t pos) {
    if (pos + 1 >= text.size()) {
        return std::nullopt;
    }
    switch (text[pos + 1]) {
    case '\\':
        return std::pair{'\\', 2};
    case '"':
        return std::pair{'"', 2};
    case 'r':
        return std::pair{'\r', 2};
    case 'n':
        return std::pair{'\n', 2};
    case 't':
        return std::pair{'\t', 2};
    case 'x': {
        const int high = pos + 2 < text.size() ? HexDigit(text[pos + 2]) : -1;
        const int low = pos + 3 < text.size() ? HexDigit(text[pos + 3]) : -1;
        if (high < 0 || low < 0 || high > 7) {
            return std::nullopt;
        }
        return std::pair{static_cast<char>(high * 16 + low), 4};
    }
    default:
        return std::nullopt;
    }
}

} // namespace

std::string EscapeText(std::string_view text) {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (IsControl(c)) {
            out += {'\\', 'x', digits[byte >> 4], digits[byte & 15]};
        } else {
            out += c;
        }
    }
    return out;
}

std::optional<std::string> UnescapeText(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        if (text[pos] != '\\') {
            out += text[pos++];
        } else if (const auto escape = Escape(text, pos)) {
            out += escape->first;
            pos += escape->second;
        } else {
            return std::nullopt;
        }
    }
    return out;
}

bool NeedsEscapes(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return c == '\\' || IsControl(c); });
}

} // namespace lcdiag
