#include "SampleCycles.h"
#include "ViewTestSupport.h"
#include "core/views/Rgb.h"

#include <QFontMetrics>
#include <gtest/gtest.h>

namespace lcdiag {
namespace {

using namespace testing;

int Count(const QImage& image, QRgb colour) {
    return CountPixels(image, image.rect(), [colour](QRgb pixel) { return pixel == colour; });
}

// The pixels of one lit indicator: the inner square of the indicator, whose side is the
// height of the row font (font 9).
int LitArea() {
    const ViewResources resources = Resources();
    const int side = QFontMetrics(resources.Font(9)).height() - 6;
    return side * side;
}

const QRgb Green = ToQColor(view_colour::IndicatorGreen).rgb();

TEST(StatusPictureTest, ReceiverIndicatorsLightFromTheCycle) {
    ViewPictures pictures = Pictures();
    ReceiverSample sample;
    sample.function1 = 0x04 | 0x08 | 0x40; // fixed blanking, beam coding A; EDM off
    sample.function2 = 0x04;               // EDM signal
    sample.ledStatus = 0x20;
    const QImage lit = pictures.DrawStatus(ReceiverData(sample));
    const QRgb ossdOn = qRgb(0, 240, 0);
    const int ossdOnLit = Count(lit, ossdOn);
    EXPECT_EQ(Count(lit, Green), 3 * LitArea());

    LiveViewData dark = ReceiverData(sample);
    dark.diagnosis = false;
    dark.receiverCycle.Clear();
    const QImage& unlit = pictures.DrawStatus(dark);
    EXPECT_EQ(Count(unlit, Green), 0);
    EXPECT_EQ(ossdOnLit - Count(unlit, ossdOn), LitArea());
}

TEST(StatusPictureTest, EmitterLedsBlinkAndBeamCodingLights) {
    ViewPictures pictures = Pictures();
    LiveViewData data = EmitterData(EmitterSample{}, 1);
    data.emitterCustomer.SetByte(EmitterCustomerField::BeamCoding, 'b');
    data.emitterCustomerValid = true;
    const QRgb send = qRgb(240, 119, 0);
    data.tick = 150;
    const int sendLit = Count(pictures.DrawStatus(data), send);
    EXPECT_EQ(Count(pictures.StatusPicture(), Green), LitArea());
    data.tick = 300;
    EXPECT_EQ(sendLit - Count(pictures.DrawStatus(data), send), LitArea());
}

} // namespace
} // namespace lcdiag
