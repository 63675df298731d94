#include "gui/safety/DocImage.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>

namespace lcdiag {

namespace {

QString Q(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Where a line starts in its box: `inset` pixels in from the side it is aligned to, or centred.
struct LineBox {
    int left = 0;  // the box's left edge in the bitmap
    int width = 0; // the box's width
    int inset = 0; // distance of a left- or right-aligned line from the box's edge

    int Offset(MarkupAlignment alignment, int lineWidth) const {
        switch (alignment) {
        case MarkupAlignment::Left:
            return inset;
        case MarkupAlignment::Right:
            return AlignedOffset(alignment, width, lineWidth) - inset;
        case MarkupAlignment::Centred:
            break;
        }
        return AlignedOffset(alignment, width, lineWidth);
    }
};

} // namespace

QFont TDocFont::Styled(TextStyle style) const {
    QFont font;
    font.setFamilies({Name, QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")});
    font.setPixelSize(std::max(1, (Size * 96 + 36) / 72));
    font.setBold(style.bold);
    font.setItalic(style.italic);
    font.setUnderline(style.underline);
    return font;
}

int QtTextMetrics::Width(std::string_view text, TextStyle style) const {
    return QFontMetrics(font_.Styled(style)).horizontalAdvance(Q(text));
}

int QtTextMetrics::Height(std::string_view /*text*/, TextStyle style) const {
    return QFontMetrics(font_.Styled(style)).height();
}

TDocImage::TDocImage(QWidget* parent) : QWidget(parent) {
    Clear();
}

void TDocImage::SetMargins(int left, int top, int right, int bottom) {
    marginLeft_ = left;
    marginTop_ = top;
    marginRight_ = right;
    marginBottom_ = bottom;
}

void TDocImage::Clear() {
    textWidth_ = width() - marginLeft_ - marginRight_;
    textHeight_ = height() - marginTop_ - marginBottom_;
    picture_ = QImage(size().expandedTo({1, 1}), QImage::Format_RGB32);
    picture_.fill(BackColor);
    cursorY_ = 0;
    update();
}

void TDocImage::AddText(std::string_view text) {
    const QtTextMetrics metrics(font_);
    const TextStyle base = font_.BaseStyle();
    if (text.empty()) {
        GrowTo(cursorY_ + metrics.Height("M", base));
        return;
    }
    const int lineHeight = metrics.Height(text, base);
    const std::vector<MarkupLine> lines = LayoutParagraph(text, metrics, base, textWidth_);
    const int top = marginTop_ + cursorY_;
    // The bitmap grows before the paragraph is drawn, so that nothing of it is cut off.
    GrowTo(cursorY_ + static_cast<int>(lines.size()) * lineHeight);
    QPainter painter(&picture_);
    TextStyle style = base;
    MarkupAlignment alignment = Alignment;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        DrawLine(painter, lines[i], marginLeft_, 0, top + static_cast<int>(i) * lineHeight, style,
                 alignment);
    }
}

void TDocImage::AddTable(int columns, int rows, std::string_view text) {
    const QtTextMetrics metrics(font_);
    const TextStyle base = font_.BaseStyle();
    const int lineHeight = metrics.Height("M", base);
    const auto table = LayoutTable(columns, rows, text, metrics, base, textWidth_, lineHeight);
    if (!table) {
        return;
    }
    const int left = marginLeft_ + AlignedOffset(Alignment, textWidth_, table->width);
    const int top = marginTop_ + cursorY_;
    GrowTo(cursorY_ + table->height);
    QPainter painter(&picture_);
    painter.fillRect(left, top, table->width, table->height, Qt::white);
    painter.setPen(Qt::black);
    for (int row = 0, y = top; row <= table->rows; ++row) {
        painter.drawLine(left, y, left + table->width, y);
        y += row < table->rows ? table->rowHeights[static_cast<std::size_t>(row)] : 0;
    }
    for (int column = 0, x = left; column <= table->columns; ++column) {
        painter.drawLine(x, top, x, top + table->height);
        x += column < table->columns ? table->columnWidths[static_cast<std::size_t>(column)] : 0;
    }
    int cellTop = top;
    for (int row = 0; row < table->rows; ++row) {
        int cellLeft = left;
        for (int column = 0; column < table->columns; ++column) {
            const auto& cell =
                table->cells[static_cast<std::size_t>(row * table->columns + column)];
            const int cellWidth = table->columnWidths[static_cast<std::size_t>(column)];
            TextStyle style = base;
            MarkupAlignment alignment = MarkupAlignment::Centred;
            for (std::size_t i = 0; i < cell.size(); ++i) {
                DrawLine(painter, cell[i], cellLeft, cellWidth,
                         cellTop + MarkupTable::CellMarginY + static_cast<int>(i) * lineHeight,
                         style, alignment);
            }
            cellLeft += cellWidth;
        }
        cellTop += table->rowHeights[static_cast<std::size_t>(row)];
    }
}

// A cell (cellWidth > 0) keeps its lines 10 pixels from its sides; a paragraph uses the text
// width to its margins.
void TDocImage::DrawLine(QPainter& painter, const MarkupLine& line, int left, int cellWidth,
                         int top, TextStyle& style, MarkupAlignment& alignment) const {
    const LineBox box = cellWidth > 0 ? LineBox{left, cellWidth, MarkupTable::CellMarginX}
                                      : LineBox{left, textWidth_, 0};
    const QtTextMetrics metrics(font_);
    int x = 0;
    for (const MarkupToken& token : line.tokens) {
        if (token.kind == TokenKind::Tag) {
            style.Apply(token.text);
            ApplyAlignmentTag(token.text, alignment);
            if (token.text == IndentTag) {
                x = metrics.Width(BulletMark, style);
            }
            continue;
        }
        const QFont font = font_.Styled(style);
        painter.setFont(font);
        painter.setPen(font_.Color);
        const int at = box.left + x + box.Offset(alignment, line.width);
        painter.drawText(at, top + QFontMetrics(font).ascent(), Q(token.text));
        x += metrics.Width(token.text, style);
    }
}

// The bitmap keeps its width and takes the content's height with the margins; what was drawn
// stays at the top.
void TDocImage::GrowTo(int contentHeight) {
    cursorY_ = contentHeight;
    const int height = std::max(1, cursorY_ + marginTop_ + marginBottom_);
    QImage grown(picture_.width(), height, QImage::Format_RGB32);
    grown.fill(BackColor);
    QPainter(&grown).drawImage(0, 0, picture_);
    picture_ = grown;
    resize(width(), height);
    update();
}

void TDocImage::paintEvent(QPaintEvent* event) {
    QPainter(this).drawImage(event->rect().topLeft(), picture_, event->rect());
}

} // namespace lcdiag
