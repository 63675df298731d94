#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lcdiag {

// The small mark-up of the safety notes: <b> <i> <u> (and their closing tags) switch the
// style, <br> breaks the line, <l> <c> <r> align, <t> continues at the bullet indent, and a
// table text separates its cells with "|". Any other tag has no effect and is not drawn.
enum class TokenKind { Tag, Word, Blank };

struct MarkupToken {
    TokenKind kind;
    std::string text;

    bool operator==(const MarkupToken&) const = default;
};

struct TextStyle {
    bool bold = false;
    bool italic = false;
    bool underline = false;

    bool operator==(const TextStyle&) const = default;
    // Applies a style tag; other tags leave the style alone.
    void Apply(std::string_view tag);
};

// How wide and high a text is drawn in the document's font with a style: the painter's font
// metrics in the program, fixed-width fakes in tests.
class TextMetrics {
public:
    virtual ~TextMetrics() = default;
    virtual int Width(std::string_view text, TextStyle style) const = 0;
    virtual int Height(std::string_view text, TextStyle style) const = 0;
};

inline constexpr std::string_view LineBreakTag = "<br>";
inline constexpr std::string_view IndentTag = "<t>";
// The bullet mark whose width a continued bullet line is indented by.
inline constexpr std::string_view BulletMark = " - ";

// Cuts a paragraph into tags, words and runs of blanks, in order.
std::vector<MarkupToken> TokenizeMarkup(std::string_view text);

// Inserts <br> (and <t> in a bullet line) where the words no longer fit into `limit` pixels.
// A blank before a wrapped word is dropped. A word wider than the limit stands alone on its
// line and overflows.
std::vector<MarkupToken> WrapMarkup(const std::vector<MarkupToken>& tokens,
                                    const TextMetrics& metrics, TextStyle base, int limit);

// One drawn line: its tokens without the <br> that ends it, and its width.
struct MarkupLine {
    std::vector<MarkupToken> tokens;
    int width = 0;
};

// Splits wrapped tokens into lines and measures each with the styles the tags switch
// (the style carries over from line to line).
std::vector<MarkupLine> MeasureLines(const std::vector<MarkupToken>& wrapped,
                                     const TextMetrics& metrics, TextStyle base);

// A paragraph tokenized, wrapped and measured.
std::vector<MarkupLine> LayoutParagraph(std::string_view text, const TextMetrics& metrics,
                                        TextStyle base, int limit);

// The document's alignment values, and the tags that switch them.
enum class MarkupAlignment { Left = 0, Right = 1, Centred = 2 };

// Switches the alignment for <l>, <c> and <r>; returns whether the tag was one of them.
bool ApplyAlignmentTag(std::string_view tag, MarkupAlignment& alignment);

// Where a line or table of `width` starts within `space` pixels.
int AlignedOffset(MarkupAlignment alignment, int space, int width);

// A grid table: cell k (row-major) is the k-th "|"-separated part of the text, wrapped to
// the text width less the cell margins.
struct MarkupTable {
    static constexpr int CellMarginX = 10;
    static constexpr int CellMarginY = 2;

    int columns = 0;
    int rows = 0;
    std::vector<std::vector<MarkupLine>> cells;
    std::vector<int> columnWidths; // widest line of the column's cells + 2 x CellMarginX
    std::vector<int> rowHeights;   // most lines of the row's cells x lineHeight + 2 x CellMarginY
    int width = 0;
    int height = 0;
};

// Nothing when the number of cells differs from columns x rows.
std::optional<MarkupTable> LayoutTable(int columns, int rows, std::string_view text,
                                       const TextMetrics& metrics, TextStyle base, int textWidth,
                                       int lineHeight);

} // namespace lcdiag
