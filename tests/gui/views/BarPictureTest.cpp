#include "SampleCycles.h"
#include "ViewTestSupport.h"
#include "gui/views/Artwork.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace lcdiag {
namespace {

using namespace testing;

const QRgb Yellow = qRgb(255, 216, 0);

// A beam row shows its state in the middle of the lens of the connected unit's end tile and
// in the beam line over that unit's body (the bare yellow housing for an inactive row).
void ExpectRow(const ViewPictures& pictures, int row, QRgb lens, QRgb line) {
    const BarGeometry& g = pictures.Bar();
    const QImage& image = pictures.BarPicture();
    const int y = g.RowTop(row) + g.tileHeight / 2;
    const bool receiver = pictures.Controller() == ControllerType::Receiver;
    const int lensX = (receiver ? g.ReceiverTileLeft() : g.EmitterTileLeft()) + g.tileWidth / 2;
    const int lineX = receiver ? g.receiver.body.left + 3 : g.emitter.body.Right() - 3;
    EXPECT_EQ(image.pixel(lensX, y), lens) << "row " << row;
    EXPECT_EQ(image.pixel(lineX, y), line) << "row " << row;
}

void ExpectState(const ViewPictures& pictures, int row, int entry) {
    ExpectRow(pictures, row, Palette(entry), Palette(entry));
}

ReceiverSample TenBeams() {
    ReceiverSample sample;
    sample.beams = 10;
    sample.free = AllBut(10, {1});   // beam 2 interrupted
    sample.weak = Only({3});         // beam 4 weak
    sample.active = AllBut(10, {2}); // beam 3 blanked out
    return sample;
}

// A redraw draws only the rows that look different and reports just those; the picture is
// the same as one drawn afresh from the new data.
TEST(BarPictureTest, OnlyChangedRowsAreDrawnAndReported) {
    ViewPictures pictures = Pictures();
    const LiveViewData data = ReceiverData(TenBeams());
    pictures.DrawBar(data, 1);
    EXPECT_EQ(pictures.TakeBarDamage(), pictures.BarPicture().rect()); // the static parts too
    pictures.DrawBar(data, 1);
    EXPECT_TRUE(pictures.TakeBarDamage().isEmpty());

    ReceiverSample sample = TenBeams();
    sample.free = AllBut(10, {1, 5}); // beam 6 interrupted as well
    sample.ledStatus = 0x04;          // the receiver's LEDs light
    const LiveViewData changed = ReceiverData(sample);
    pictures.DrawBar(changed, 1);
    const BarGeometry& g = pictures.Bar();
    const QRect damage = pictures.TakeBarDamage();
    EXPECT_TRUE(damage.contains(QRect(0, g.RowTop(6), g.viewWidth, g.tileHeight)));
    EXPECT_FALSE(damage.intersects(QRect(0, g.RowTop(7), g.viewWidth, g.tileHeight)));
    EXPECT_TRUE(damage.intersects(QRect(g.receiver.head.left, g.receiver.head.top,
                                        g.receiver.head.width, g.receiver.head.height)));

    ViewPictures fresh = Pictures();
    fresh.DrawBar(changed, 1);
    EXPECT_EQ(fresh.BarPicture(), pictures.BarPicture());
}

TEST(BarPictureTest, ReceiverRowsShowTheColourOfTheirState) {
    ViewPictures pictures = Pictures();
    const LiveViewData data = ReceiverData(TenBeams());
    pictures.DrawBar(data, 1);
    ExpectState(pictures, 1, beam_colour::Free);
    ExpectState(pictures, 2, beam_colour::Interrupted);
    ExpectState(pictures, 3, beam_colour::BlankedOut);
    ExpectState(pictures, 4, beam_colour::WeakSignal);
    // Ten beams: rows 11 to 16 are drawn inactive and the scroll bar stays still.
    for (int row = 11; row <= 16; ++row) {
        ExpectRow(pictures, row, Palette(beam_colour::BlankedOut), Yellow);
    }
    EXPECT_FALSE(ViewPictures::BarScroll(data).enabled);

    pictures.DrawBar(LiveViewData{}, 1); // without a cycle every row is inactive
    for (int row = 1; row <= 16; ++row) {
        ExpectRow(pictures, row, Palette(beam_colour::BlankedOut), Yellow);
    }

    ViewPictures factory = Pictures(true); // the manufacturer build shows weak signals in blue
    factory.DrawBar(data, 1);
    ExpectRow(factory, 4, qRgb(0, 0, 255), qRgb(0, 0, 255));
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
    ExpectState(pictures, 1, beam_colour::Interrupted);
    ExpectState(pictures, 16, beam_colour::Free);
    pictures.DrawBar(data, 10);
    ExpectState(pictures, 16, beam_colour::Interrupted);
}

TEST(BarPictureTest, EmitterPictureShowsCurrentsAndFadesTheReceiver) {
    ViewPictures pictures = Pictures();
    EmitterSample sample;
    sample.beams = 12;
    sample.notReached = Only({1});
    sample.exceeded = Only({2});
    pictures.DrawBar(EmitterData(sample, 1), 1);
    EXPECT_EQ(pictures.Controller(), ControllerType::Emitter);
    ExpectState(pictures, 1, beam_colour::EmitterActive);
    ExpectState(pictures, 2, beam_colour::CurrentNotReached);
    ExpectState(pictures, 3, beam_colour::CurrentExceeded);
    ExpectRow(pictures, 13, Palette(beam_colour::EmitterInactive), Yellow);

    // Below the beams, the body of the unit not connected is faded toward the face.
    const BarGeometry& g = pictures.Bar();
    const int y = g.RowTop(17) + 2;
    const QRgb faded = BlendColour(QColor::fromRgb(Yellow), TestColours().face, 63).rgb();
    EXPECT_EQ(pictures.BarPicture().pixel(g.emitter.body.left + 2, y), Yellow);
    EXPECT_EQ(pictures.BarPicture().pixel(g.receiver.body.left + 2, y), faded);
    pictures.DrawBar(ReceiverData(TenBeams()), 1);
    EXPECT_EQ(pictures.BarPicture().pixel(g.emitter.body.left + 2, y), faded);
}

TEST(BarPictureTest, ReceiverLedsLightOssdOnAndOffWhileTheCycleReportsThem) {
    ViewPictures pictures = Pictures();
    const ViewResources resources = Resources();
    // The middle of LED cell 0-5 in the small LED panel (3 cells of 19) of the receiver's head.
    const auto led = [&](int cell) {
        const Rect& head = pictures.Bar().Unit(ControllerType::Receiver).head;
        const QPoint centre = LedCellRect(19, cell).center();
        return pictures.BarPicture().pixel(head.left + (head.width - 57) / 2 + centre.x(),
                                           head.top + (head.height - 57) / 2 + centre.y());
    };
    const auto frame = [&](int frame, int cell) {
        return resources.SmallLedFrame(frame, false).pixel(LedCellRect(19, cell).center());
    };
    ASSERT_NE(frame(1, 5), frame(0, 5));

    ReceiverSample sample = TenBeams();
    sample.ledStatus = 0x04;
    LiveViewData data = ReceiverData(sample);
    pictures.DrawBar(data, 1);
    EXPECT_EQ(led(5), frame(1, 5));
    EXPECT_NE(led(4), frame(0, 4));
    EXPECT_EQ(led(3), frame(0, 3));
    data.diagnosis = false;
    pictures.DrawBar(data, 1);
    EXPECT_EQ(led(5), frame(0, 5));
}

TEST(BarPictureTest, TooSmallAViewWritesTheTraceToTheStateFolder) {
    QTemporaryDir state;
    ASSERT_TRUE(state.isValid());
    const QByteArray testsState = qgetenv("XDG_STATE_HOME");
    qputenv("XDG_STATE_HOME", state.path().toLocal8Bit());
    {
        // 63 pixels leave no room for the units: the receiver body's left edge is 0.
        ViewPictures pictures(0, QSize(63, 100), ViewBuild{}, TestColours(), TestLogo(),
                              ButtonHeight, English());
        ASSERT_EQ(pictures.Bar().receiver.body.left, 0);
        const LiveViewData data = ReceiverData(TenBeams());
        pictures.DrawBar(data, 1);
        pictures.DrawStatus(data);
        pictures.DrawLines(data, LinesPage::Lines);
    }
    qputenv("XDG_STATE_HOME", testsState);
    QFile trace(state.filePath(QStringLiteral("lcdiag/debug1.txt")));
    ASSERT_TRUE(trace.open(QIODevice::ReadOnly));
    const QByteArray text = trace.readAll();
    EXPECT_TRUE(text.startsWith("0001: "));
    EXPECT_TRUE(text.contains("0008: 0\n"));
}

} // namespace
} // namespace lcdiag
