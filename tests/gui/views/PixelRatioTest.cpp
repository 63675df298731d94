// The pictures drawn for a screen with twice the pixels: the same layout in logical pixels,
// every logical pixel a block of 2 x 2 device pixels.
#include "SampleCycles.h"
#include "ViewTestSupport.h"
#include "core/views/Rgb.h"
#include "gui/views/Artwork.h"

#include <gtest/gtest.h>

namespace lcdiag {
namespace {

using namespace testing;

ViewPictures PicturesAt(int ratio) {
    return ViewPictures(0, Profile0View, ViewBuild{}, TestColours(), TestLogo(), ButtonHeight,
                        English(), ratio);
}

// The share of the logical pixels whose colour at ratio 1 differs from the top-left device
// pixel of their block at ratio 2. Text and anti-aliased edges are drawn finer at ratio 2;
// a part drawn at another place or size differs over its whole area.
double Differing(const QImage& one, const QImage& two) {
    int count = 0;
    for (int y = 0; y < one.height(); ++y) {
        for (int x = 0; x < one.width(); ++x) {
            count += one.pixel(x, y) != two.pixel(2 * x, 2 * y) ? 1 : 0;
        }
    }
    return static_cast<double>(count) / (one.width() * one.height());
}

int CountColour(const QImage& image, QRgb colour) {
    return CountPixels(image, image.rect(), [colour](QRgb pixel) { return pixel == colour; });
}

TEST(PixelRatioTest, PictureOperationsTakeLogicalRectangles) {
    const QRgb white = qRgb(250, 250, 250);
    QImage picture = FilledImage(4, 3, QColor(10, 20, 30), 2);
    EXPECT_EQ(picture.size(), QSize(8, 6));
    EXPECT_EQ(LogicalRect(picture), QRect(0, 0, 4, 3));

    BlendToward(picture, QRect(1, 1, 2, 1), QColor::fromRgb(white), 0); // mask 0: the colour
    const QRect blended(2, 2, 4, 2);
    EXPECT_EQ(CountPixels(picture, picture.rect(), [&](QRgb p) { return p == white; }), 8);
    EXPECT_EQ(CountPixels(picture, blended, [&](QRgb p) { return p == white; }), 8);

    const QImage part = CopyArea(picture, QRect(1, 1, 2, 1));
    EXPECT_EQ(LogicalRect(part), QRect(0, 0, 2, 1));
    EXPECT_EQ(CountPixels(part, part.rect(), [&](QRgb p) { return p == white; }), 8);

    QImage target = FilledImage(4, 3, Qt::black, 2);
    {
        QPainter painter(&target);
        DrawImagePart(painter, QPoint(0, 2), picture, QRect(1, 1, 2, 1));
    }
    EXPECT_EQ(CountPixels(target, QRect(0, 4, 4, 2), [&](QRgb p) { return p == white; }), 8);
    EXPECT_EQ(CountPixels(target, target.rect(), [&](QRgb p) { return p == white; }), 8);
}

TEST(PixelRatioTest, PicturesKeepTheirLayoutAtRatioTwo) {
    ViewPictures one = PicturesAt(1);
    ViewPictures two = PicturesAt(2);
    EXPECT_EQ(two.Size(), Profile0View);
    EXPECT_EQ(two.BarPicture().size(), Profile0View * 2);

    ReceiverSample sample;
    sample.beams = 10;
    sample.free = AllBut(10, {1}); // beam 2 interrupted
    sample.ledStatus = 0x04;
    sample.function1 = 0x04 | 0x08 | 0x40;
    const LiveViewData data = ReceiverData(sample);
    one.DrawBar(data, 1);
    two.DrawBar(data, 1);
    one.DrawStatus(data);
    two.DrawStatus(data);
    one.DrawLines(data, LinesPage::Lines);
    two.DrawLines(data, LinesPage::Lines);
    EXPECT_LT(Differing(one.BarPicture(), two.BarPicture()), 0.1);
    EXPECT_LT(Differing(one.StatusPicture(), two.StatusPicture()), 0.06);
    EXPECT_LT(Differing(one.LinesPicture(), two.LinesPicture()), 0.02);

    // Flat parts keep their colours exactly: the lenses of the beam rows, the lit LED of the
    // receiver's head (cell 5 of its panel of 3 cells of 19), the lit status indicators.
    const BarGeometry& g = two.Bar();
    for (int row = 1; row <= 3; ++row) {
        const QPoint lens(g.ReceiverTileLeft() + g.tileWidth / 2, g.RowTop(row) + g.tileHeight / 2);
        EXPECT_EQ(two.BarPicture().pixel(2 * lens), one.BarPicture().pixel(lens)) << row;
    }
    const Rect& head = g.Unit(ControllerType::Receiver).head;
    const QPoint led =
        QPoint(head.left + (head.width - 57) / 2, head.top + (head.height - 57) / 2) +
        LedCellRect(19, 5).center();
    const ViewResources resources(0, ViewBuild{}, TestColours(), TestLogo(), English(), 2);
    EXPECT_EQ(two.BarPicture().pixel(2 * led),
              resources.SmallLedFrame(1, false).pixel(2 * LedCellRect(19, 5).center()));
    const QRgb green = ToQColor(view_colour::IndicatorGreen).rgb();
    ASSERT_GT(CountColour(one.StatusPicture(), green), 0);
    EXPECT_EQ(CountColour(two.StatusPicture(), green), 4 * CountColour(one.StatusPicture(), green));
}

} // namespace
} // namespace lcdiag
