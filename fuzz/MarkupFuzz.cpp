// The mark-up of the safety notes as language files may bring it: any text must tokenize,
// wrap and lay out as a paragraph and as a table without a crash, and lose no character.
// The first three bytes choose the width and the table's columns and rows.
#include "core/safety/Markup.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace lcdiag;

// Each byte as wide as its value's last three bits plus one, bold one wider.
class FakeMetrics final : public TextMetrics {
public:
    int Width(std::string_view text, TextStyle style) const override {
        int width = 0;
        for (char c : text) {
            width += 1 + (static_cast<unsigned char>(c) & 7) + (style.bold ? 1 : 0);
        }
        return width;
    }
    int Height(std::string_view, TextStyle style) const override { return style.italic ? 13 : 12; }
};

std::string Joined(const std::vector<MarkupToken>& tokens) {
    std::string text;
    for (const MarkupToken& token : tokens) {
        text += token.text;
    }
    return text;
}

std::vector<std::string> Words(const std::vector<MarkupToken>& tokens) {
    std::vector<std::string> words;
    for (const MarkupToken& token : tokens) {
        if (token.kind == TokenKind::Word) {
            words.push_back(token.text);
        }
    }
    return words;
}

// Wrapping only breaks lines: the words stay, in their order.
void CheckParagraph(std::string_view text, const TextMetrics& metrics, int limit) {
    const auto tokens = TokenizeMarkup(text);
    if (Joined(tokens) != text) {
        std::abort();
    }
    std::vector<std::string> laidOut;
    for (const MarkupLine& line : LayoutParagraph(text, metrics, {}, limit)) {
        const auto words = Words(line.tokens);
        laidOut.insert(laidOut.end(), words.begin(), words.end());
    }
    if (laidOut != Words(tokens)) {
        std::abort();
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 3) {
        return 0;
    }
    static const FakeMetrics metrics;
    const int limit = data[0] * 4;
    const std::string_view text(reinterpret_cast<const char*>(data + 3), size - 3);
    CheckParagraph(text, metrics, limit);
    const auto table = LayoutTable(data[1] % 17, data[2] % 17, text, metrics, {}, limit, 12);
    if (table && table->cells.size() != static_cast<std::size_t>(table->columns * table->rows)) {
        std::abort();
    }
    return 0;
}
