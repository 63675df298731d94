#include "core/views/BarGeometry.h"

#include "SampleCycles.h"
#include "core/views/LiveViewData.h"

#include <gtest/gtest.h>

namespace lcdiag {
namespace {

using namespace testing;

// Profile 0 in a 784 x 538 view: tiles 23, small LED frame 57, head icon 31 high.
BarGeometry Profile0() {
    return MakeBarGeometry(784, 538, 23, 23, 57, 31);
}

TEST(BarGeometryTest, UnitsStandInTheThirdAndFourthQuarter) {
    const BarGeometry g = Profile0();
    EXPECT_EQ(g.emitter.body, (Rect{435, 116, 89, 414}));
    EXPECT_EQ(g.emitter.head, (Rect{435, 39, 89, 77}));
    EXPECT_EQ(g.emitter.unit, (Rect{435, 39, 89, 491}));
    EXPECT_EQ(g.receiver.body, (Rect{631, 116, 89, 414}));
    EXPECT_EQ(g.LineLeft(), 491);
    EXPECT_EQ(g.LineWidth(), 784 / 4 - 23);
    EXPECT_EQ(g.RowTop(1), 139);
    EXPECT_EQ(g.ScrollBar(), (Rect{766, 139, 0, 368}));
    EXPECT_EQ(g.FadeArea(ControllerType::Emitter), (Rect{434, 7, 91, 524}));
}

TEST(BarGeometryTest, BeamLineShadesTowardTheUnitNotConnected) {
    const BarGeometry g = Profile0();
    const int emitterEdge = g.emitter.body.Right();
    const int receiverEdge = g.receiver.body.left - 1;
    EXPECT_EQ(LineShadeMask(g, emitterEdge, ControllerType::Receiver), 63);
    EXPECT_EQ(LineShadeMask(g, receiverEdge, ControllerType::Receiver), 255);
    int previous = 63;
    for (int x = emitterEdge + 1; x < receiverEdge; ++x) {
        const int value = LineShadeMask(g, x, ControllerType::Receiver);
        EXPECT_GE(value, previous);
        EXPECT_EQ(LineShadeMask(g, x, ControllerType::Emitter), 255 + 63 - value);
        previous = value;
    }
    EXPECT_EQ(LineShadeMask(g, receiverEdge, ControllerType::Emitter), 63);
}

// The scroll bar moves only over more than sixteen beams; the window stays inside them.
TEST(BarGeometryTest, ScrollRangeAndBeamWindow) {
    EXPECT_EQ(BarScrollRange(0), (ScrollRange{1, 1, false}));
    EXPECT_EQ(BarScrollRange(10), (ScrollRange{1, 1, false}));
    EXPECT_EQ(BarScrollRange(16), (ScrollRange{1, 1, false}));
    EXPECT_EQ(BarScrollRange(17), (ScrollRange{1, 2, true}));
    EXPECT_EQ(BarScrollRange(40), (ScrollRange{1, 25, true}));
    EXPECT_EQ(BarBeamWindow(1, 10), (BeamWindow{1, 10}));
    EXPECT_EQ(BarBeamWindow(30, 40), (BeamWindow{25, 40}));
    EXPECT_EQ(BarBeamWindow(-5, 40), (BeamWindow{1, 16}));
    EXPECT_EQ(BarBeamWindow(1, 0), (BeamWindow{1, 0}));
}

TEST(BarGeometryTest, ReceiverRowsTakeTheirStateFromTheMasks) {
    ReceiverSample sample;
    sample.beams = 10;
    sample.free = AllBut(10, {1});   // beam 2 interrupted
    sample.weak = Only({3});         // beam 4 weak, wins over free
    sample.active = AllBut(10, {2}); // beam 3 blanked out, wins over everything
    const auto rows = BarRows(ReceiverData(sample), 1);
    EXPECT_EQ(rows[0], (BarRow{1, bar_tile::Free, true}));
    EXPECT_EQ(rows[1], (BarRow{2, bar_tile::Interrupted, true}));
    EXPECT_EQ(rows[2], (BarRow{3, bar_tile::BlankedOut, true}));
    EXPECT_EQ(rows[3], (BarRow{4, bar_tile::WeakSignal, true}));
    for (int row = 10; row < 16; ++row) {
        EXPECT_EQ(rows[static_cast<std::size_t>(row)],
                  (BarRow{row + 1, bar_tile::BlankedOut, false}));
    }
}

TEST(BarGeometryTest, FortyBeamsScrolledToThirtyShowBeamsTwentyFiveToForty) {
    ReceiverSample sample;
    sample.beams = 40;
    sample.free = AllBut(40, {24});
    sample.active = BeamMask::FirstBeams(40);
    const auto rows = BarRows(ReceiverData(sample), 30);
    EXPECT_EQ(rows.front(), (BarRow{25, bar_tile::Interrupted, true}));
    EXPECT_EQ(rows.back(), (BarRow{40, bar_tile::Free, true}));
    // Without a cycle every row is inactive.
    EXPECT_EQ(BarRows(LiveViewData{}, 7)[15], (BarRow{16, bar_tile::BlankedOut, false}));
}

TEST(BarGeometryTest, EmitterRowsShowExceededBeforeNotReached) {
    EmitterSample sample;
    sample.beams = 8;
    sample.notReached = Only({1, 2});
    sample.exceeded = Only({2});
    const auto rows = BarRows(EmitterData(sample, 1), 1);
    EXPECT_EQ(rows[0], (BarRow{1, bar_tile::EmitterActive, true}));
    EXPECT_EQ(rows[1], (BarRow{2, bar_tile::CurrentNotReached, true}));
    EXPECT_EQ(rows[2], (BarRow{3, bar_tile::CurrentExceeded, true}));
    EXPECT_EQ(rows[8], (BarRow{9, bar_tile::EmitterInactive, false}));
    LiveViewData noCycle;
    noCycle.controller = ControllerType::Emitter;
    EXPECT_EQ(BarRows(noCycle, 1)[0], (BarRow{1, bar_tile::EmitterInactive, false}));
}

} // namespace
} // namespace lcdiag
