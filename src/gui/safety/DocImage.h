#pragma once

#include "core/safety/Markup.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>
#include <QWidget>
#include <string_view>

namespace lcdiag {

// The document's base font.
struct TDocFont {
    QString Name = QStringLiteral("Arial");
    int Size = 10; // points
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    QColor Color = Qt::black;

    // The font with a mark-up style on top of the base flags, at the pixel height of its
    // point size on a 96 dots-per-inch screen (the document is an image).
    QFont Styled(TextStyle style) const;
    TextStyle BaseStyle() const { return {Bold, Italic, Underline}; }
};

// The mark-up measured with a document font.
class QtTextMetrics final : public TextMetrics {
public:
    explicit QtTextMetrics(const TDocFont& font) : font_(font) {}
    int Width(std::string_view text, TextStyle style) const override;
    int Height(std::string_view text, TextStyle style) const override;

private:
    const TDocFont& font_;
};

// A picture control that renders the mark-up into a bitmap that grows downwards with every
// paragraph or table added; its height follows the bitmap. The caller puts it into a
// scrolling area.
class TDocImage final : public QWidget {
public:
    explicit TDocImage(QWidget* parent = nullptr);

    TDocFont& Font() { return font_; }
    const TDocFont& Font() const { return font_; }
    QColor BackColor = Qt::white;
    // Applies to the next paragraph or table.
    MarkupAlignment Alignment = MarkupAlignment::Left;

    void SetMargins(int left, int top, int right, int bottom);
    // Takes the text area from the control's size and margins, and starts an empty bitmap of
    // the control's size.
    void Clear();
    // One paragraph; an empty text adds an empty line.
    void AddText(std::string_view text);
    // A grid table whose cells are the "|"-separated parts of the text; nothing when their
    // number is not columns x rows.
    void AddTable(int columns, int rows, std::string_view text);

    const QImage& Picture() const { return picture_; }
    int CursorY() const { return cursorY_; }
    int TextWidth() const { return textWidth_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void GrowTo(int contentHeight);
    // Draws one line's tokens from x = 0 at the top y; style and alignment carry on.
    void DrawLine(QPainter& painter, const MarkupLine& line, int left, int cellWidth, int top,
                  TextStyle& style, MarkupAlignment& alignment) const;

    TDocFont font_;
    QImage picture_;
    int marginLeft_ = 0;
    int marginTop_ = 0;
    int marginRight_ = 0;
    int marginBottom_ = 0;
    int cursorY_ = 0;
    int textWidth_ = 0;
    int textHeight_ = 0;
};

} // namespace lcdiag
