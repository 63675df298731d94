#include "ViewTestSupport.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

namespace lcdiag {
namespace {

using namespace testing;

constexpr int X0 = 30;
constexpr int TitleTop = 15;

// Pixels well darker than the face: text in the button-text colour.
int DarkPixels(const QImage& image, const QRect& area) {
    return CountPixels(image, area, [](QRgb pixel) { return qGray(pixel) < 160; });
}

// Pixels of the title's soft shadow: the face darkened toward navy, red and green alike.
int ShadowPixels(const QImage& image, const QRect& area) {
    return CountPixels(image, area, [](QRgb pixel) {
        return qRed(pixel) == qGreen(pixel) && qBlue(pixel) > qRed(pixel) + 20;
    });
}

// Line `line` of the information panel under the logo title of brand 1: the title ends 10
// pixels below its second line, the panel starts under the rule (12) and "INFO" (font 1, 10).
QRect InfoLine(int line, int width) {
    const ViewResources resources = Resources();
    const int titleEnd =
        TitleTop + TestLogo().height() + QFontMetrics(resources.Font(0)).height() + 10;
    const int top = titleEnd + 12 + QFontMetrics(resources.Font(1)).height() + 10;
    const int height = QFontMetrics(resources.Font(2)).height();
    return {X0, top + line * height, width, height};
}

TEST(TitlePictureTest, InformationLinesFollowTheUnitAndTheLanguage) {
    ViewPictures pictures = Pictures();
    const QImage& bar = pictures.BarPicture();
    const int width = pictures.Size().width() / 2 - X0 - 1;
    EXPECT_GT(DarkPixels(bar, InfoLine(0, width)), 0); // type
    EXPECT_EQ(DarkPixels(bar, InfoLine(1, width)), 0); // always empty
    EXPECT_GT(DarkPixels(bar, InfoLine(6, width)), 0); // configuration date
    EXPECT_GT(DarkPixels(bar, InfoLine(7, width)), 0); // configuration time
    EXPECT_GT(DarkPixels(bar, InfoLine(8, width)), 0); // operating hours

    pictures.SetControllerType(ControllerType::Emitter); // an emitter counts no hours
    EXPECT_GT(DarkPixels(bar, InfoLine(7, width)), 0);
    EXPECT_EQ(DarkPixels(bar, InfoLine(8, width)), 0);
    pictures.SetControllerType(ControllerType::Receiver);
    EXPECT_GT(DarkPixels(bar, InfoLine(8, width)), 0);
}

TEST(TitlePictureTest, LogoForBrandOneShadowedTextOtherwise) {
    ViewPictures logo = Pictures();
    const int half = logo.Size().width() / 2;
    const QRect title(0, 0, half - 1, TitleTop + 2 * QFontMetrics(Resources().Font(0)).height());
    const QPoint band((half - TestLogo().width()) / 2 + 5, TitleTop + 19);
    EXPECT_EQ(logo.BarPicture().pixel(band), qRgb(43, 58, 127));
    EXPECT_EQ(ShadowPixels(logo.BarPicture(), title), 0);
    // The status picture carries the same title on its right side.
    logo.DrawStatus(LiveViewData{});
    EXPECT_EQ(logo.StatusPicture().pixel(band + QPoint(half + 1, 0)), qRgb(43, 58, 127));

    const ViewPictures text(0, Profile0View, ViewBuild{false, 0}, TestColours(), TestLogo(),
                            ButtonHeight, English());
    EXPECT_NE(text.BarPicture().pixel(band), qRgb(43, 58, 127));
    EXPECT_GT(ShadowPixels(text.BarPicture(), title), 0);
}

} // namespace
} // namespace lcdiag
