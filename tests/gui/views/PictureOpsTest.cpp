#include "gui/views/PictureOps.h"

#include <QFont>
#include <QFontMetrics>
#include <gtest/gtest.h>

namespace lcdiag {
namespace {

QImage Filled(int width, int height, QRgb colour) {
    return FilledImage(width, height, QColor::fromRgb(colour));
}

TEST(PictureOpsTest, BlendMovesEachChannelByItsMaskOverTheSmallestPicture) {
    QImage dest = Filled(2, 2, qRgb(200, 100, 0));
    Blend(dest, Filled(2, 2, qRgb(0, 200, 255)), Filled(2, 2, qRgb(63, 255, 0)));
    // 200 + (0 - 200) x 193 / 256 = 200 - 150 (toward zero); 255 leaves 100; 0 gives src.
    EXPECT_EQ(dest.pixel(1, 1), qRgb(50, 100, 255));
    EXPECT_EQ(BlendChannel(0, 255, 63), 192);
    EXPECT_EQ(BlendChannel(240, 32, 63), 84);

    QImage large = Filled(4, 4, qRgb(10, 10, 10));
    Blend(large, Filled(3, 2, qRgb(90, 90, 90)), Filled(2, 3, qRgb(0, 0, 0)));
    EXPECT_EQ(large.pixel(1, 1), qRgb(90, 90, 90));
    EXPECT_EQ(large.pixel(2, 0), qRgb(10, 10, 10));
    EXPECT_EQ(large.pixel(0, 2), qRgb(10, 10, 10));

    QImage toward = Filled(4, 4, qRgb(255, 216, 0));
    BlendToward(toward, QRect(1, 1, 2, 2), QColor(240, 240, 240), 63);
    EXPECT_EQ(toward.pixel(1, 1), qRgb(244, 234, 180));
    EXPECT_EQ(toward.pixel(3, 3), qRgb(255, 216, 0));
}

TEST(PictureOpsTest, BlurAveragesNineNeighboursAndKeepsTheBorder) {
    QImage source = Filled(5, 5, qRgb(0, 0, 0));
    source.setPixel(2, 2, qRgb(90, 100, 180));
    QImage dest = Filled(5, 5, qRgb(7, 7, 7));
    Blur(dest, source);
    for (int y = 0; y < 5; ++y) {
        for (int x = 0; x < 5; ++x) {
            const bool border = x == 0 || y == 0 || x == 4 || y == 4;
            // 100 / 9 rounds down
            EXPECT_EQ(dest.pixel(x, y), border ? qRgb(7, 7, 7) : qRgb(10, 11, 20)) << x << y;
        }
    }
}

// The bounding box of the pixels that are not white.
QRect Inked(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != qRgb(255, 255, 255)) {
                box = box.united(QRect(x, y, 1, 1));
            }
        }
    }
    return box;
}

TEST(PictureOpsTest, TextStandsWhereItsAngleTurnsIt) {
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPixelSize(20);
    const QFontMetrics metrics(font);
    const QString text = QStringLiteral("Emitter");
    const int w = metrics.horizontalAdvance(text);
    const int h = metrics.height();
    const auto draw = [&](int angle, int x, int y) {
        QImage image = Filled(300, 300, qRgb(255, 255, 255));
        QPainter painter(&image);
        painter.setFont(font);
        painter.setPen(Qt::black);
        if (angle == 0) {
            TextOut(painter, x, y, text);
        } else {
            RotatedTextOut(painter, x, y, angle, text);
        }
        return Inked(image);
    };
    // Antialiased glyph edges may reach one pixel past the advance.
    const auto around = [](QRect rect) { return rect.adjusted(-1, -1, 1, 1); };
    EXPECT_TRUE(around(QRect(100, 100, w, h)).contains(draw(0, 100, 100)));
    const QRect upward = draw(900, 100, 200);
    EXPECT_TRUE(around(QRect(100, 200 - w, h, w)).contains(upward));
    EXPECT_GT(upward.height(), upward.width());
    const QRect downward = draw(2700, 100, 50);
    EXPECT_TRUE(around(QRect(100 - h, 50, h, w)).contains(downward));
    EXPECT_GT(downward.height(), downward.width());
}

} // namespace
} // namespace lcdiag
