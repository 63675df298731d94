#include "core/views/LinesLayout.h"

#include "SampleCycles.h"
#include "core/views/BeamPalette.h"
#include "core/views/LiveViewData.h"

#include <gtest/gtest.h>
#include <tuple>

namespace lcdiag {
namespace {

using namespace testing;

constexpr LinesMetrics Metrics{15, 10, 40, 25};

LinesLayout Layout(int code, LinesPage page = LinesPage::Lines) {
    return MakeLinesLayout(784, 538, code, page, Metrics);
}

// 150 beams of code 1 fill one row of 96 and 54 of the next; a light grid has one row of 4.
TEST(LinesLayoutTest, GridOfTheBeamCode) {
    const LinesLayout layout = Layout(1);
    EXPECT_EQ(layout.perRow, 96);
    EXPECT_EQ(layout.rows, 2);
    EXPECT_EQ(layout.maxBeams, 192);
    EXPECT_EQ(layout.Cell(1), (Rect{9, 29, 6, 166}));
    EXPECT_EQ(layout.Cell(96), (Rect{9 + 95 * 8, 29, 6, 166}));
    EXPECT_EQ(layout.Cell(97), (Rect{9, 29 + 245, 6, 166}));
    EXPECT_EQ(layout.Cell(150), (Rect{9 + 53 * 8, 29 + 245, 6, 166}));
    EXPECT_EQ(layout.LegendRowTop(0), 2 * 245 + 12);
    EXPECT_EQ(Layout(1, LinesPage::Selection).rowPitch, (538 - 36 - 25) / 2);

    const LinesLayout grid = Layout(3);
    EXPECT_EQ(grid.perRow, 4);
    EXPECT_EQ(grid.rows, 1);
    EXPECT_EQ(grid.cellWidth, 776 / 4 - 2);
}

TEST(LinesLayoutTest, ModulesTakeTheLargestGroupThatFits) {
    EXPECT_EQ(ModuleBoxes(1, 56, 96),
              (std::vector<ModuleBox>{{1, 0, 0, 32}, {2, 0, 32, 16}, {3, 0, 48, 8}}));
    EXPECT_EQ(ModuleBoxes(1, 150, 96), (std::vector<ModuleBox>{{1, 0, 0, 32},
                                                               {2, 0, 32, 32},
                                                               {3, 0, 64, 32},
                                                               {4, 1, 0, 32},
                                                               {5, 1, 32, 16},
                                                               {6, 1, 48, 6}}));
    EXPECT_EQ(ModuleBoxes(7, 1, 1), (std::vector<ModuleBox>{{1, 0, 0, 1}}));
    EXPECT_TRUE(ModuleBoxes(0, 40, 96).empty());
    EXPECT_TRUE(ModuleBoxes(1, 0, 96).empty());
}

TEST(LinesLayoutTest, ModuleOverTheEndOfARowContinuesOnTheNext) {
    const std::vector<ModuleBox> boxes = ModuleBoxes(2, 100, 52);
    ASSERT_EQ(boxes.size(), 8U);
    EXPECT_EQ(boxes[3], (ModuleBox{4, 0, 48, 4}));
    EXPECT_EQ(boxes[4], (ModuleBox{4, 1, 0, 12}));
    EXPECT_EQ(boxes[7], (ModuleBox{7, 1, 44, 4}));
}

TEST(LinesLayoutTest, LabelsByNumberOrPosition) {
    EXPECT_EQ(BeamLabel(7, 1, DimensioningMode::BeamNumber), "7");
    EXPECT_EQ(BeamLabel(1, 1, DimensioningMode::Position), "11 mm");
    EXPECT_EQ(BeamLabel(2, 1, DimensioningMode::Position), "21 mm");
    EXPECT_EQ(BeamLabel(3, 4, DimensioningMode::Position), "811 mm");
    EXPECT_EQ(BeamLabel(2, 0, DimensioningMode::Position), "??? mm");
    EXPECT_EQ(LabelledBeams(3, 9), 4);
    EXPECT_EQ(LabelledBeams(3, 2), 2);
    EXPECT_EQ(LabelledBeams(1, 150), 150);
    EXPECT_EQ(LabelledBeams(0, 20), 20);
}

LiveViewData Pattern() {
    ReceiverSample sample;
    sample.beams = 6;
    sample.free = Only({0, 2, 3});  // beams 1, 3 and 4 free
    sample.weak = Only({3, 4});     // beam 4 weak, beam 5 weak and not free
    sample.active = AllBut(6, {2}); // beam 3 blanked out
    return ReceiverData(sample);
}

// Hold is for active receiver beams that are not free.
TEST(LinesLayoutTest, ReceiverCellsShowTheBeamStateAndHoldInterruptions) {
    const LiveViewData data = Pattern();
    const std::tuple<int, int, bool> rows[] = {
        {1, beam_colour::Free, false},       {2, beam_colour::Interrupted, true},
        {3, beam_colour::BlankedOut, false}, {4, beam_colour::WeakSignal, true},
        {5, beam_colour::Interrupted, true}, {7, FaceFill, false}};
    for (auto [beam, colour, hold] : rows) {
        EXPECT_EQ(LinesCellColour(data, LinesPage::Lines, beam, 6), colour) << beam;
        EXPECT_EQ(ShowsInterruption(data, beam, 6), hold) << beam;
    }
    EXPECT_EQ(LinesCellColour(data, LinesPage::Lines, 1, 0), FaceFill);
    EXPECT_FALSE(ShowsInterruption(EmitterData(EmitterSample{}, 1), 1, 16));
}

TEST(LinesLayoutTest, TeachingShowsWeakAsFreeAndLoadedBlankingDark) {
    LiveViewData data = Pattern();
    data.selection.mode = BeamSelectionMode::Teach;
    data.selection.loadedBlanking = AllBut(6, {0, 1});
    const auto colour = [&](int beam) {
        return LinesCellColour(data, LinesPage::Selection, beam, 6);
    };
    EXPECT_EQ(colour(1), beam_colour::DarkOffset + beam_colour::Free);
    EXPECT_EQ(colour(2), beam_colour::DarkOffset + beam_colour::Interrupted);
    EXPECT_EQ(colour(3), beam_colour::Free); // blanked in the cycle, taught by its state
    EXPECT_EQ(colour(4), beam_colour::Free);
    data.selection.mode = BeamSelectionMode::Manual;
    EXPECT_EQ(colour(3), beam_colour::BlankedOut);
}

TEST(LinesLayoutTest, EmitterCellsAndBeamsBeyondTheCount) {
    EmitterSample sample;
    sample.beams = 4;
    sample.notReached = Only({1, 2, 5});
    sample.exceeded = Only({2});
    const LiveViewData data = EmitterData(sample, 1);
    const auto colour = [&](int beam) { return LinesCellColour(data, LinesPage::Lines, beam, 4); };
    EXPECT_EQ(colour(1), beam_colour::EmitterActive);
    EXPECT_EQ(colour(2), beam_colour::CurrentNotReached);
    EXPECT_EQ(colour(3), beam_colour::CurrentExceeded);
    // Beams the emitter does not have stay empty, whatever their bits.
    EXPECT_EQ(colour(5), FaceFill);
    EXPECT_EQ(colour(6), FaceFill);
}

TEST(LinesLayoutTest, PressesFindTheBeamUnderThem) {
    const LinesLayout layout = Layout(1);
    const Rect first = layout.Cell(1);
    EXPECT_EQ(layout.BeamAt(first.left, first.top, 150), 0);
    EXPECT_EQ(layout.BeamAt(first.Right() - 1, first.Bottom() - 1, 150), 0);
    EXPECT_FALSE(layout.BeamAt(first.Right(), first.top, 150));   // the gap
    EXPECT_FALSE(layout.BeamAt(first.left, first.Bottom(), 150)); // the labels
    EXPECT_FALSE(layout.BeamAt(first.left - 1, first.top, 150));
    const Rect last = layout.Cell(150);
    EXPECT_EQ(layout.BeamAt(last.left + 2, last.top + 50, 150), 149);
    EXPECT_FALSE(layout.BeamAt(last.left + 2, last.top + 50, 149)); // not drawn
}

TEST(LinesLayoutTest, ClicksToggleBlankingButNotTheSynchronisationBeam) {
    const LinesLayout layout = Layout(1);
    BeamSelection selection;
    selection.fixedBlanking = BeamMask::FirstBeams(40);
    const BeamMask loaded = selection.fixedBlanking;
    const Rect first = layout.Cell(1);
    EXPECT_EQ(ClickBeam(layout, 40, first.left + 1, first.top + 1, selection),
              BeamClick::SynchronisationBeam);
    EXPECT_EQ(selection.fixedBlanking, loaded);
    const Rect fifth = layout.Cell(5);
    EXPECT_EQ(ClickBeam(layout, 40, fifth.left + 1, fifth.top + 1, selection), BeamClick::Toggled);
    EXPECT_FALSE(selection.fixedBlanking.Test(4));
    EXPECT_EQ(ClickBeam(layout, 40, fifth.left + 1, fifth.top + 1, selection), BeamClick::Toggled);
    EXPECT_EQ(selection.fixedBlanking, loaded);
    selection.mode = BeamSelectionMode::Teach;
    EXPECT_EQ(ClickBeam(layout, 40, fifth.left + 1, fifth.top + 1, selection), BeamClick::None);
    EXPECT_EQ(selection.fixedBlanking, loaded);
}

} // namespace
} // namespace lcdiag
