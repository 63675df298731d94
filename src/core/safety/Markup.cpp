#include "core/safety/Markup.h"

#include <algorithm>

namespace lcdiag {

namespace {

bool IsBlankToken(const std::vector<MarkupToken>& tokens, std::size_t i) {
    return i < tokens.size() && tokens[i].kind == TokenKind::Blank;
}

// " - " at the start of a line: a blank, the word "-", a blank and at least one more token.
bool StartsBullet(const std::vector<MarkupToken>& tokens, std::size_t blank) {
    return blank + 3 < tokens.size() && tokens[blank + 1].kind == TokenKind::Word &&
           tokens[blank + 1].text == "-" && IsBlankToken(tokens, blank + 2);
}

} // namespace

void TextStyle::Apply(std::string_view tag) {
    if (tag == "<b>" || tag == "</b>") {
        bold = tag == "<b>";
    } else if (tag == "<i>" || tag == "</i>") {
        italic = tag == "<i>";
    } else if (tag == "<u>" || tag == "</u>") {
        underline = tag == "<u>";
    }
}

std::vector<MarkupToken> TokenizeMarkup(std::string_view text) {
    std::vector<MarkupToken> tokens;
    auto kindOf = [](char c) { return c == ' ' ? TokenKind::Blank : TokenKind::Word; };
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '<') {
            const std::size_t close = text.find('>', i);
            const std::size_t end = close == std::string_view::npos ? text.size() : close + 1;
            tokens.push_back({TokenKind::Tag, std::string(text.substr(i, end - i))});
            i = end;
            continue;
        }
        const TokenKind kind = kindOf(text[i]);
        std::size_t end = i;
        while (end < text.size() && text[end] != '<' && kindOf(text[end]) == kind) {
            ++end;
        }
        tokens.push_back({kind, std::string(text.substr(i, end - i))});
        i = end;
    }
    return tokens;
}

std::vector<MarkupToken> WrapMarkup(const std::vector<MarkupToken>& tokens,
                                    const TextMetrics& metrics, TextStyle base, int limit) {
    std::vector<MarkupToken> wrapped;
    TextStyle style = base;
    int x = 0;
    const MarkupToken* pendingBlank = nullptr;
    int pendingWidth = 0;
    bool indent = false;
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        const MarkupToken& token = tokens[i];
        if (token.kind == TokenKind::Tag) {
            style.Apply(token.text);
            if (token.text == LineBreakTag) {
                x = 0;
                pendingBlank = nullptr;
                indent = false;
            }
            wrapped.push_back(token);
        } else if (token.kind == TokenKind::Blank) {
            pendingBlank = &token;
            pendingWidth = metrics.Width(token.text, style);
            if (x == 0 && StartsBullet(tokens, i)) {
                indent = true;
            }
        } else {
            const int width = metrics.Width(token.text, style);
            const int blankWidth = pendingBlank ? pendingWidth : 0;
            if (x + blankWidth + width > limit) {
                wrapped.push_back({TokenKind::Tag, std::string(LineBreakTag)});
                x = width;
                if (indent) {
                    wrapped.push_back({TokenKind::Tag, std::string(IndentTag)});
                    x += metrics.Width(BulletMark, style);
                }
            } else {
                if (pendingBlank) {
                    wrapped.push_back(*pendingBlank);
                }
                // Words joined by a tag, without a blank, continue the line.
                x += blankWidth + width;
            }
            pendingBlank = nullptr;
            wrapped.push_back(token);
        }
    }
    return wrapped;
}

std::vector<MarkupLine> MeasureLines(const std::vector<MarkupToken>& wrapped,
                                     const TextMetrics& metrics, TextStyle base) {
    std::vector<MarkupLine> lines(1);
    TextStyle style = base;
    for (const MarkupToken& token : wrapped) {
        if (token.kind == TokenKind::Tag) {
            style.Apply(token.text);
            if (token.text == LineBreakTag) {
                lines.emplace_back();
                continue;
            }
            if (token.text == IndentTag) {
                lines.back().width += metrics.Width(BulletMark, style);
            }
        } else {
            lines.back().width += metrics.Width(token.text, style);
        }
        lines.back().tokens.push_back(token);
    }
    return lines;
}

std::vector<MarkupLine> LayoutParagraph(std::string_view text, const TextMetrics& metrics,
                                        TextStyle base, int limit) {
    return MeasureLines(WrapMarkup(TokenizeMarkup(text), metrics, base, limit), metrics, base);
}

bool ApplyAlignmentTag(std::string_view tag, MarkupAlignment& alignment) {
    if (tag == "<l>") {
        alignment = MarkupAlignment::Left;
    } else if (tag == "<c>") {
        alignment = MarkupAlignment::Centred;
    } else if (tag == "<r>") {
        alignment = MarkupAlignment::Right;
    } else {
        return false;
    }
    return true;
}

int AlignedOffset(MarkupAlignment alignment, int space, int width) {
    switch (alignment) {
    case MarkupAlignment::Right:
        return space - width;
    case MarkupAlignment::Centred:
        return (space - width) / 2;
    case MarkupAlignment::Left:
        break;
    }
    return 0;
}

std::optional<MarkupTable> LayoutTable(int columns, int rows, std::string_view text,
                                       const TextMetrics& metrics, TextStyle base, int textWidth,
                                       int lineHeight) {
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t bar = text.find('|', start);
        parts.push_back(text.substr(start, bar == std::string_view::npos ? bar : bar - start));
        if (bar == std::string_view::npos) {
            break;
        }
        start = bar + 1;
    }
    if (columns <= 0 || rows <= 0 ||
        static_cast<long long>(columns) * rows != static_cast<long long>(parts.size())) {
        return std::nullopt;
    }
    MarkupTable table;
    table.columns = columns;
    table.rows = rows;
    table.columnWidths.assign(static_cast<std::size_t>(columns), 0);
    table.rowHeights.assign(static_cast<std::size_t>(rows), 0);
    const int limit = textWidth - 2 * MarkupTable::CellMarginX - 2;
    for (std::size_t k = 0; k < parts.size(); ++k) {
        auto lines = LayoutParagraph(parts[k], metrics, base, limit);
        int& columnWidth = table.columnWidths[k % static_cast<std::size_t>(columns)];
        int& rowHeight = table.rowHeights[k / static_cast<std::size_t>(columns)];
        for (const MarkupLine& line : lines) {
            columnWidth = std::max(columnWidth, line.width + 2 * MarkupTable::CellMarginX);
        }
        const int height =
            static_cast<int>(lines.size()) * lineHeight + 2 * MarkupTable::CellMarginY;
        rowHeight = std::max(rowHeight, height);
        table.cells.push_back(std::move(lines));
    }
    for (int width : table.columnWidths) {
        table.width += width;
    }
    for (int height : table.rowHeights) {
        table.height += height;
    }
    return table;
}

} // namespace lcdiag
