#include "core/views/StatusLayout.h"

namespace lcdiag {

using namespace status_layout;

int FunctionTableLayout::RowTop(int row) const {
    return columnLine + (row + 1) * rowPitch + CellInset;
}

int FunctionTableLayout::RuleTop(int i) const {
    return columnLine + i * rowPitch + 2 * CellInset + textHeight;
}

FunctionTableLayout MakeFunctionTableLayout(const FunctionTableMetrics& metrics) {
    FunctionTableLayout layout;
    const int h = metrics.active.height;
    const int activeWidth = metrics.active.width;
    layout.textWidth = metrics.widestRow;
    layout.width = layout.textWidth + activeWidth + metrics.signalWidth + 48 + 2 * ColumnGap;
    if (layout.width < metrics.heading.width + 16) {
        layout.textWidth += metrics.heading.width + 16 - layout.width;
        layout.width = metrics.heading.width + 16;
    }
    const int rows = metrics.rows;
    layout.height = (rows + 1) * (2 * CellInset + h) + 4 * Margin + metrics.heading.height +
                    RowGap + rows * RowGap;
    layout.headingLeft = (layout.width - metrics.heading.width) / 2;
    layout.headingRule = 2 * Margin + metrics.heading.height;
    layout.columnLine = metrics.heading.height + 3 * Margin + RowGap;
    const int lw = layout.textWidth;
    layout.activeHeadingLeft = lw + 24 + ColumnGap;
    layout.signalHeadingLeft = layout.activeHeadingLeft + activeWidth + 16 + ColumnGap;
    layout.firstSeparator = lw + 16;
    layout.secondSeparator = lw + activeWidth + 34;
    layout.indicatorSize = h;
    layout.activeLeft = lw + 16 + ColumnGap + 8 + (activeWidth - h) / 2;
    layout.signalLeft =
        layout.activeLeft + (activeWidth + metrics.signalWidth) / 2 + 16 + ColumnGap;
    layout.rowPitch = 2 * CellInset + h + RowGap;
    layout.textHeight = h;
    return layout;
}

int LedTableLayout::ImageTop(int row, int imageHeight) const {
    return RowTop(row) + CellInset + (cellSize - imageHeight) / 2;
}

int LedTableLayout::TextTop(int row) const {
    return RowTop(row) + CellInset + textOffset;
}

int LedTableLayout::RuleTop(int row) const {
    return RowTop(row) + 2 * CellInset + cellSize;
}

LedTableLayout MakeLedTableLayout(const LedTableMetrics& metrics) {
    LedTableLayout layout;
    const int c = metrics.cellSize;
    layout.cellSize = c;
    layout.textOffset = (c - metrics.firstTextHeight) / 2;
    layout.textWidth = metrics.widestText + 8 + c;
    layout.width = layout.textWidth + metrics.indicatorSize + 32 + ColumnGap;
    if (layout.width < metrics.heading.width + 16) {
        layout.textWidth += metrics.heading.width + 16 - layout.width;
        layout.width = metrics.heading.width + 16;
    }
    const int n = metrics.rows;
    layout.height =
        4 * Margin + metrics.heading.height + RowGap + n * (2 * CellInset + c) + (n - 1) * RowGap;
    layout.headingLeft = (layout.width - metrics.heading.width) / 2;
    layout.headingRule = 2 * Margin + metrics.heading.height;
    layout.top = metrics.heading.height + 3 * Margin + RowGap;
    layout.rowPitch = 2 * CellInset + c + RowGap;
    layout.separator = layout.textWidth + 16;
    layout.indicatorLeft = layout.textWidth + 16 + ColumnGap + 8;
    layout.textLeft = 16 + c;
    return layout;
}

} // namespace lcdiag
