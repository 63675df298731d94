#include "gui/safety/DocImage.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

namespace lcdiag {
namespace {

constexpr QRgb White = 0xFFFFFFFF;
constexpr QRgb Black = 0xFF000000;
const QColor Face(240, 240, 240);

// A document 400 pixels wide with margins of 10, on the grey of a dialog.
class DocImageTest : public ::testing::Test {
protected:
    DocImageTest() {
        doc.resize(400, 2000);
        doc.BackColor = Face;
        doc.SetMargins(10, 10, 10, 10);
        doc.Font() =
            TDocFont{QStringLiteral("Arial Unicode MS"), 12, false, false, false, Qt::black};
        doc.Clear();
    }

    int LineHeight() const { return QFontMetrics(doc.Font().Styled({})).height(); }

    // Columns of the row range that hold a pixel darker than the background.
    std::pair<int, int> InkColumns(int top, int bottom) const {
        int first = -1;
        int last = -1;
        const QImage& picture = doc.Picture();
        for (int y = top; y < bottom; ++y) {
            for (int x = 0; x < picture.width(); ++x) {
                if (qGray(picture.pixel(x, y)) < 128) {
                    first = first < 0 ? x : std::min(first, x);
                    last = std::max(last, x);
                }
            }
        }
        return {first, last};
    }

    TDocImage doc;
};

TEST_F(DocImageTest, GrowsWithEveryParagraphAndKeepsWhatWasDrawn) {
    EXPECT_EQ(doc.TextWidth(), 380);
    doc.AddText("First");
    EXPECT_EQ(doc.CursorY(), LineHeight());
    EXPECT_EQ(doc.Picture().height(), LineHeight() + 20);
    EXPECT_EQ(doc.height(), doc.Picture().height());
    const auto firstInk = InkColumns(10, 10 + LineHeight());

    doc.AddText({}); // an empty line of the height of "M"
    EXPECT_EQ(doc.CursorY(), 2 * LineHeight());
    doc.AddText("Second");
    EXPECT_EQ(doc.CursorY(), 3 * LineHeight());
    EXPECT_EQ(InkColumns(10, 10 + LineHeight()), firstInk);
    EXPECT_NE(InkColumns(10 + 2 * LineHeight(), 10 + 3 * LineHeight()).first, -1);
    EXPECT_EQ(doc.Picture().pixel(2, doc.Picture().height() - 2), Face.rgb());
}

TEST_F(DocImageTest, WrapsLongTextAndAlignsLines) {
    doc.AddText("word word word word word word word word word word word word word word word "
                "word word word word word word word word word word word word word word word");
    EXPECT_GE(doc.CursorY(), 2 * LineHeight());
    const auto left = InkColumns(10, 10 + LineHeight());
    EXPECT_LE(left.first, 12);
    EXPECT_LE(left.second, 390);

    const int top = 10 + doc.CursorY();
    doc.AddText("<r>right");
    EXPECT_GE(InkColumns(top, top + LineHeight()).second, 385);
    const int centredTop = 10 + doc.CursorY();
    doc.AddText("<c>middle");
    const auto centred = InkColumns(centredTop, centredTop + LineHeight());
    EXPECT_NEAR((centred.first + centred.second) / 2, 200, 4);
}

TEST_F(DocImageTest, BulletLinesContinueUnderTheirText) {
    doc.AddText(" - a bullet that runs on long enough to be wrapped onto a second line of the "
                "narrow document");
    ASSERT_GE(doc.CursorY(), 2 * LineHeight());
    const int indent = QFontMetrics(doc.Font().Styled({})).horizontalAdvance(QStringLiteral(" - "));
    const auto second = InkColumns(10 + LineHeight(), 10 + 2 * LineHeight());
    EXPECT_GE(second.first, 10 + indent - 1);
    EXPECT_LE(second.first, 10 + indent + 3);
}

TEST_F(DocImageTest, TableIsAFramedWhiteGridWhoseRowsTakeTheTallestCell) {
    doc.Alignment = MarkupAlignment::Centred;
    const int h = LineHeight();
    doc.AddTable(1, 1, "Warning");
    EXPECT_EQ(doc.CursorY(), h + 4);
    const QImage& picture = doc.Picture();
    const auto ink = InkColumns(10, 10 + h + 4);
    EXPECT_NEAR(ink.first - 10, 390 - ink.second, 2);        // as much room either side
    EXPECT_EQ(picture.pixel(ink.first, 10), Black);          // top left corner
    EXPECT_EQ(picture.pixel(ink.second, 10 + h + 4), Black); // bottom right corner
    EXPECT_EQ(picture.pixel(ink.first + 2, 12), White);      // inside the frame
    EXPECT_EQ(picture.pixel(ink.first - 2, 12), Face.rgb()); // outside it

    doc.AddTable(2, 2, "one|two<br>lines|three|four");
    EXPECT_EQ(doc.CursorY(), (h + 4) + (2 * h + 4) + (h + 4));

    // The wrong number of cells adds nothing.
    const QImage before = doc.Picture();
    doc.AddTable(7, 21, "a|b|c"); // 3 cells for 147
    doc.AddTable(0, 1, "");
    EXPECT_EQ(doc.Picture(), before);
    EXPECT_EQ(doc.CursorY(), (h + 4) + (2 * h + 4) + (h + 4));
}

} // namespace
} // namespace lcdiag
