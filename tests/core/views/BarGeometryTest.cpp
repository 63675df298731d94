#include "core/views/BarGeometry.h"

#include "SampleCycles.h"
#include "core/views/BarTrace.h"
#include "core/views/LiveViewData.h"

#include <gtest/gtest.h>

namespace lcdiag {
namespace {

using namespace testing;

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

// Valid rows are only counted; an invalid row writes the trace at its first and every
// hundredth occurrence.
TEST(BarTraceTest, InvalidRowsWriteTheTraceAtTheFirstAndEveryHundredth) {
    BarTrace trace;
    const BarGeometry valid = MakeBarGeometry(784, 538, 23, 23, 57, 31);
    for (int row = 0; row < 500; ++row) {
        EXPECT_FALSE(trace.CountRow(valid));
    }
    // A view 63 pixels wide puts the receiver body's left edge at 0.
    const BarGeometry broken = MakeBarGeometry(63, 100, 23, 23, 57, 31);
    ASSERT_EQ(broken.receiver.body.left, 0);
    const std::optional<std::string> first = trace.CountRow(broken);
    ASSERT_TRUE(first);
    EXPECT_EQ(*first, "0001: -16 -180 73 311\n"
                      "0002: 0 -180 89 311\n"
                      "0003: -16 -180 73 -103\n"
                      "0004: 0 -180 89 -103\n"
                      "0005: -16 -103 73 311\n"
                      "0006: 0 -103 89 311\n"
                      "0007: 500\n"
                      "0008: 0\n"
                      "0009: 500\n");
    for (int row = 1; row < 100; ++row) {
        EXPECT_FALSE(trace.CountRow(broken));
    }
    const std::optional<std::string> hundredth = trace.CountRow(broken);
    ASSERT_TRUE(hundredth);
    EXPECT_NE(hundredth->find("0008: 100\n"), std::string::npos);
    EXPECT_NE(hundredth->find("0009: 500\n"), std::string::npos);
}

} // namespace
} // namespace lcdiag
