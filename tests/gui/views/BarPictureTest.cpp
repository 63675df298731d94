#include "SampleCycles.h"
#include "ViewTestSupport.h"
#include "gui/views/Artwork.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lcdiag {
namespace {

using namespace testing;

const QRgb Yellow = qRgb(255, 216, 0);

// Where a beam row shows its state: the middle of the lens of the connected unit's end tile
// and the beam line over that unit's body, both drawn undimmed.
struct RowSamples {
    QRgb lens;
    QRgb line;
};

RowSamples Sample(const ViewPictures& pictures, int row) {
    const BarGeometry& g = pictures.Bar();
    const QImage& image = pictures.BarPicture();
    const int y = g.RowTop(row) + g.tileHeight / 2;
    if (pictures.Controller() == ControllerType::Receiver) {
        return {Pixel(image, g.ReceiverTileLeft() + g.tileWidth / 2, y),
                Pixel(image, g.receiver.body.left + 3, y)};
    }
    return {Pixel(image, g.EmitterTileLeft() + g.tileWidth / 2, y),
            Pixel(image, g.emitter.body.Right() - 3, y)};
}

void ExpectState(const ViewPictures& pictures, int row, QRgb colour) {
    const RowSamples samples = Sample(pictures, row);
    EXPECT_EQ(samples.lens, colour) << "row " << row;
    EXPECT_EQ(samples.line, colour) << "row " << row;
}

void ExpectInactive(const ViewPictures& pictures, int row, QRgb lens) {
    const RowSamples samples = Sample(pictures, row);
    EXPECT_EQ(samples.lens, lens) << "row " << row;
    EXPECT_EQ(samples.line, Yellow) << "row " << row; // no beam over the housing
}

ReceiverSample TenBeams() {
    ReceiverSample sample;
    sample.beams = 10;
    sample.free = AllBut(10, {1});   // beam 2 interrupted
    sample.weak = Only({3});         // beam 4 weak
    sample.active = AllBut(10, {2}); // beam 3 blanked out
    return sample;
}

TEST(BarPictureTest, ReceiverRowsShowTheColourOfTheirState) {
    ViewPictures pictures = Pictures();
    const LiveViewData data = ReceiverData(TenBeams());
    pictures.DrawBar(data, 1);
    ExpectState(pictures, 1, Palette(beam_colour::Free));
    ExpectState(pictures, 2, Palette(beam_colour::Interrupted));
    ExpectState(pictures, 3, Palette(beam_colour::BlankedOut));
    ExpectState(pictures, 4, Palette(beam_colour::WeakSignal));
    // Ten beams: rows 11 to 16 are drawn inactive and the scroll bar stays still.
    for (int row = 11; row <= 16; ++row) {
        ExpectInactive(pictures, row, Palette(beam_colour::BlankedOut));
    }
    EXPECT_FALSE(ViewPictures::BarScroll(data).enabled);
}

TEST(BarPictureTest, ManufacturerBuildShowsWeakSignalsInBlue) {
    ViewPictures pictures = Pictures(true);
    pictures.DrawBar(ReceiverData(TenBeams()), 1);
    ExpectState(pictures, 4, qRgb(0, 0, 255));
}

TEST(BarPictureTest, FortyBeamsScrollToTheLastSixteen) {
    ViewPictures pictures = Pictures();
    ReceiverSample sample;
    sample.beams = 40;
    sample.free = AllBut(40, {24}); // beam 25 interrupted
    sample.active = BeamMask::FirstBeams(40);
    const LiveViewData data = ReceiverData(sample);
    EXPECT_EQ(ViewPictures::BarScroll(data), (ScrollRange{1, 25, true}));
    pictures.DrawBar(data, 30);
    ExpectState(pictures, 1, Palette(beam_colour::Interrupted));
    ExpectState(pictures, 16, Palette(beam_colour::Free));
    pictures.DrawBar(data, 10);
    ExpectState(pictures, 16, Palette(beam_colour::Interrupted));
}

TEST(BarPictureTest, EmitterPictureShowsCurrentsAndFadesTheReceiver) {
    ViewPictures pictures = Pictures();
    EmitterSample sample;
    sample.beams = 12;
    sample.notReached = Only({1});
    sample.exceeded = Only({2});
    pictures.DrawBar(EmitterData(sample, 1), 1);
    EXPECT_EQ(pictures.Controller(), ControllerType::Emitter);
    ExpectState(pictures, 1, Palette(beam_colour::EmitterActive));
    ExpectState(pictures, 2, Palette(beam_colour::CurrentNotReached));
    ExpectState(pictures, 3, Palette(beam_colour::CurrentExceeded));
    ExpectInactive(pictures, 13, Palette(beam_colour::EmitterInactive));

    const BarGeometry& g = pictures.Bar();
    const int y = g.RowTop(17) + 2; // below the beams
    const QRgb dimmed = BlendColour(QColor::fromRgb(Yellow), TestColours().face, 63).rgb();
    EXPECT_EQ(Pixel(pictures.BarPicture(), g.emitter.body.left + 2, y), Yellow);
    EXPECT_EQ(Pixel(pictures.BarPicture(), g.receiver.body.left + 2, y), dimmed);
    pictures.DrawBar(ReceiverData(TenBeams()), 1);
    EXPECT_EQ(Pixel(pictures.BarPicture(), g.emitter.body.left + 2, y), dimmed);
    EXPECT_EQ(Pixel(pictures.BarPicture(), g.receiver.body.left + 2, y), Yellow);
}

TEST(BarPictureTest, WithoutACycleEveryRowIsInactive) {
    ViewPictures pictures = Pictures();
    pictures.DrawBar(LiveViewData{}, 1);
    for (int row = 1; row <= 16; ++row) {
        ExpectInactive(pictures, row, Palette(beam_colour::BlankedOut));
    }
}

// The middle of LED cell 0-5 of a head in the bar picture.
QRgb LedPixel(const ViewPictures& pictures, ControllerType unit, int cell) {
    const BarGeometry& g = pictures.Bar();
    const Rect& head = g.Unit(unit).head;
    const int panel = 3 * 19; // the small LED panel of profile 0
    const QRect rect = LedCellRect(19, cell);
    return Pixel(pictures.BarPicture(), head.left + (head.width - panel) / 2 + rect.center().x(),
                 head.top + (head.height - panel) / 2 + rect.center().y());
}

TEST(BarPictureTest, ReceiverLedsLightOssdOnAndOffWhileTheCycleReportsThem) {
    ViewPictures pictures = Pictures();
    const ViewResources resources = Resources();
    const QRect ossdOn = LedCellRect(19, 5);
    const QRgb on = resources.SmallLedFrame(1, false).pixel(ossdOn.center());
    const QRgb off = resources.SmallLedFrame(0, false).pixel(ossdOn.center());
    ASSERT_NE(on, off);

    ReceiverSample sample = TenBeams();
    sample.ledStatus = 0x04;
    LiveViewData data = ReceiverData(sample);
    pictures.DrawBar(data, 1);
    EXPECT_EQ(LedPixel(pictures, ControllerType::Receiver, 5), on);
    EXPECT_NE(LedPixel(pictures, ControllerType::Receiver, 4),
              resources.SmallLedFrame(0, false).pixel(LedCellRect(19, 4).center()));
    EXPECT_EQ(LedPixel(pictures, ControllerType::Receiver, 3),
              resources.SmallLedFrame(0, false).pixel(LedCellRect(19, 3).center()));
    data.diagnosis = false;
    pictures.DrawBar(data, 1);
    EXPECT_EQ(LedPixel(pictures, ControllerType::Receiver, 5), off);
}

TEST(BarPictureTest, TooSmallAViewWritesTheTraceToTheStateFolder) {
    QTemporaryDir state;
    ASSERT_TRUE(state.isValid());
    const bool wasSet = qEnvironmentVariableIsSet("XDG_STATE_HOME");
    const QByteArray previous = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", state.path().toLocal8Bit());
    {
        // 63 pixels leave no room for the units: the receiver body's left edge is 0.
        ViewPictures pictures(0, QSize(63, 100), ViewBuild{}, TestColours(), TestLogo(),
                              ButtonHeight);
        ASSERT_EQ(pictures.Bar().receiver.body.left, 0);
        const LiveViewData data = ReceiverData(TenBeams());
        pictures.DrawBar(data, 1);
        pictures.DrawStatus(data);
        pictures.DrawLines(data, LinesPage::Lines);
    }
    if (wasSet) {
        qputenv("XDG_STATE_HOME", previous);
    } else {
        qunsetenv("XDG_STATE_HOME");
    }
    QFile trace(state.filePath(QStringLiteral("lcdiag/debug1.txt")));
    ASSERT_TRUE(trace.open(QIODevice::ReadOnly));
    const QByteArray text = trace.readAll();
    EXPECT_TRUE(text.startsWith("0001: "));
    EXPECT_TRUE(text.contains("0008: 0\n"));
}

} // namespace
} // namespace lcdiag
