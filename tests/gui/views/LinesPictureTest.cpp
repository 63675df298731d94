#include "SampleCycles.h"
#include "ViewTestSupport.h"

#include <gtest/gtest.h>

namespace lcdiag {
namespace {

using namespace testing;

QRgb CellColour(const ViewPictures& pictures, int beam) {
    const Rect cell = pictures.LinesGrid().Cell(beam);
    return pictures.LinesPicture().pixel(cell.left + cell.width / 2, cell.top + cell.height / 2);
}

// The cell's top-left frame pixel: light for a raised cell, dark for a sunken one.
QRgb FrameCorner(const ViewPictures& pictures, int beam) {
    const Rect cell = pictures.LinesGrid().Cell(beam);
    return pictures.LinesPicture().pixel(cell.left, cell.top);
}

LiveViewData Pattern(int interrupted = 1) {
    ReceiverSample sample;
    sample.beams = 20;
    sample.free = interrupted < 0 ? BeamMask::FirstBeams(20) : AllBut(20, {interrupted});
    sample.weak = Only({3});
    sample.active = AllBut(20, {2});
    return ReceiverData(sample);
}

TEST(LinesPictureTest, CellsShowTheColourOfTheirState) {
    ViewPictures pictures = Pictures();
    pictures.DrawLines(Pattern(), LinesPage::Lines);
    EXPECT_EQ(CellColour(pictures, 1), Palette(beam_colour::Free));
    EXPECT_EQ(CellColour(pictures, 2), Palette(beam_colour::Interrupted));
    EXPECT_EQ(CellColour(pictures, 3), Palette(beam_colour::BlankedOut));
    EXPECT_EQ(CellColour(pictures, 4), Palette(beam_colour::WeakSignal));
    EXPECT_EQ(CellColour(pictures, 21), TestColours().face.rgb());
    EXPECT_EQ(CellColour(pictures, 192), TestColours().face.rgb());
    EXPECT_EQ(FrameCorner(pictures, 1), TestColours().highlight.rgb());

    EmitterSample sample;
    sample.beams = 30;
    sample.notReached = Only({1});
    sample.exceeded = Only({2});
    pictures.DrawLines(EmitterData(sample, 1), LinesPage::Lines);
    EXPECT_EQ(CellColour(pictures, 1), Palette(beam_colour::EmitterActive));
    EXPECT_EQ(CellColour(pictures, 2), Palette(beam_colour::CurrentNotReached));
    EXPECT_EQ(CellColour(pictures, 3), Palette(beam_colour::CurrentExceeded));
    EXPECT_EQ(CellColour(pictures, 31), TestColours().face.rgb());
}

TEST(LinesPictureTest, DimensioningRedrawsTheLabels) {
    ViewPictures pictures = Pictures();
    LiveViewData data = Pattern();
    const QImage numbers = pictures.DrawLines(data, LinesPage::Lines);
    data.dimensioning = DimensioningMode::Position;
    EXPECT_NE(pictures.DrawLines(data, LinesPage::Lines), numbers);
    data.dimensioning = DimensioningMode::BeamNumber;
    EXPECT_EQ(pictures.DrawLines(data, LinesPage::Lines), numbers);
}

TEST(LinesPictureTest, BeamDiagnosticsHoldTheFirstInterruptionUntilCheckedAgain) {
    ViewPictures pictures = Pictures();
    LiveViewData allFree = Pattern(-1);
    allFree.receiverCycle =
        MakeReceiverCycle({20, 1, BeamMask::FirstBeams(20), {}, BeamMask::FirstBeams(20)});
    pictures.SetBeamDiagnostics(true);
    pictures.DrawLines(allFree, LinesPage::Lines);
    EXPECT_FALSE(pictures.LinesHeld());
    pictures.DrawLines(Pattern(5), LinesPage::Lines);
    EXPECT_TRUE(pictures.LinesHeld());
    pictures.DrawLines(allFree, LinesPage::Lines);
    EXPECT_EQ(CellColour(pictures, 6), Palette(beam_colour::Interrupted));
    pictures.SetBeamDiagnostics(true);
    EXPECT_FALSE(pictures.LinesHeld());
    pictures.SetBeamDiagnostics(false);
    pictures.DrawLines(allFree, LinesPage::Lines);
    EXPECT_EQ(CellColour(pictures, 6), Palette(beam_colour::Free));
}

TEST(LinesPictureTest, ClicksOnTheSelectionPageToggleSunkenCells) {
    ViewPictures pictures = Pictures();
    LiveViewData data = Pattern();
    data.selection.mode = BeamSelectionMode::Manual;
    data.selection.fixedBlanking = BeamMask::FirstBeams(20);
    const auto click = [&](int beam) {
        const Rect cell = pictures.LinesGrid().Cell(beam);
        return pictures.ClickBeam({cell.left + 1, cell.top + 1}, data.selection);
    };
    pictures.DrawLines(data, LinesPage::Lines);
    EXPECT_EQ(click(5), BeamClick::None); // the lines view is not the selection page

    pictures.DrawLines(data, LinesPage::Selection);
    EXPECT_EQ(click(1), BeamClick::SynchronisationBeam);
    EXPECT_EQ(click(5), BeamClick::Toggled);
    EXPECT_FALSE(data.selection.fixedBlanking.Test(4));
    pictures.DrawLines(data, LinesPage::Selection);
    EXPECT_EQ(FrameCorner(pictures, 5), TestColours().shadow.rgb());
    EXPECT_EQ(FrameCorner(pictures, 4), TestColours().highlight.rgb());
}

} // namespace
} // namespace lcdiag
