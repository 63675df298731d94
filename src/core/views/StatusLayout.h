#pragma once

namespace lcdiag {

// The measured size of a text in the font it is drawn in.
struct TextSize {
    int width = 0;
    int height = 0;
};

// Spacing of the status view's tables: outer margin, column gap, cell inset, row gap.
namespace status_layout {
inline constexpr int Margin = 8;
inline constexpr int ColumnGap = 2;
inline constexpr int CellInset = 3;
inline constexpr int RowGap = 2;
} // namespace status_layout

struct FunctionTableMetrics {
    TextSize heading;    // the table heading (font 8)
    TextSize active;     // "Active" (font 9); its height is also the indicator side
    int signalWidth = 0; // "Signal"
    int widestRow = 0;   // the widest row text
    int rows = 0;
};

// The function table: a heading, the column headings "Active" and "Signal", one row per
// function; a heading wider than the table widens it and the text column takes the extra.
struct FunctionTableLayout {
    int textWidth = 0; // the text column
    int width = 0;
    int height = 0;
    int headingLeft = 0;
    int headingRule = 0; // the etched line under the heading
    int columnLine = 0;  // the top of the column-heading line
    int activeHeadingLeft = 0;
    int signalHeadingLeft = 0;
    int firstSeparator = 0; // etched vertical lines: shadow here, highlight one to the right
    int secondSeparator = 0;
    int indicatorSize = 0;
    int activeLeft = 0;
    int signalLeft = 0;
    int rowPitch = 0;
    int textHeight = 0;

    // The top of the text and the indicators of row 0, 1, ...
    int RowTop(int row) const;
    // The etched line under the column headings (i = 0) and under row i - 1.
    int RuleTop(int i) const;
};

FunctionTableLayout MakeFunctionTableLayout(const FunctionTableMetrics& metrics);

struct LedTableMetrics {
    TextSize heading;        // font 8
    int firstTextHeight = 0; // the first LED text (font 9)
    int widestText = 0;
    int indicatorSize = 0; // as in the function table
    int cellSize = 0;      // the LED pitch of the large LED image
    int rows = 0;
};

// The LED table: per row a piece of the lit LED panel, the LED's name and an indicator.
struct LedTableLayout {
    int textWidth = 0;
    int width = 0;
    int height = 0;
    int headingLeft = 0;
    int headingRule = 0;
    int top = 0; // the top of row 0
    int rowPitch = 0;
    int separator = 0;
    int indicatorLeft = 0;
    int textLeft = 0;
    int textOffset = 0; // centres the text in the row
    int cellSize = 0;

    int RowTop(int row) const { return top + row * rowPitch; }
    int ImageTop(int row, int imageHeight) const;
    int TextTop(int row) const;
    int RuleTop(int row) const; // the etched line under the row (not after the last)
};

LedTableLayout MakeLedTableLayout(const LedTableMetrics& metrics);

} // namespace lcdiag
