// The whole program on the simulated device: cycles from the simulated controller reach the
// pictures on screen, and a device that goes away is reported.
#include "GuiTestSupport.h"
#include "ViewTestSupport.h"
#include "gui/app/TPictureBox.h"

#include <QSpinBox>
#include <gtest/gtest.h>

namespace lcdiag {
namespace {

using test::MainWindowTest;
using test::WaitUntil;

const QImage& Shown(TFRM_Main& window) {
    return test::Child<TPictureBox>(window, "Img_Main")->Picture();
}

// The lens of the connected unit's tile in a beam row of the picture on screen.
QRgb LensOfRow(TFRM_Main& window, int row) {
    const BarGeometry& g = window.Pictures().Bar();
    const int y = g.RowTop(row) + g.tileHeight / 2;
    const int x = window.ConnectedUnit() == ControllerType::Receiver
                      ? g.ReceiverTileLeft() + g.tileWidth / 2
                      : g.EmitterTileLeft() + g.tileWidth / 2;
    return Shown(window).pixel(x, y);
}

TEST_F(MainWindowTest, SimulatedReceiverCyclesAndInformationReachTheScreen) {
    simulation = SimulationRequest{ControllerType::Receiver, {}};
    auto window = MakeWindow();
    window->Timer1Timer();
    EXPECT_EQ(LensOfRow(*window, 1),
              testing::Palette(beam_colour::BlankedOut)); // no cycle yet: inactive

    ASSERT_TRUE(WaitUntil([&] { return window->Link().ReceiverCycles().Valid(); }));
    window->Timer1Timer();
    EXPECT_EQ(LensOfRow(*window, 1), testing::Palette(beam_colour::Free));
    EXPECT_NE(window->Link().Info().type, InfoTexts{}.type);
    EXPECT_EQ(Shown(*window), window->Pictures().BarPicture());
    EXPECT_EQ(Item(*window, "MNU_Connect")->text().toStdString(), "Disconnect");
}

TEST_F(MainWindowTest, SimulatedEmitterSwitchesThePictures) {
    simulation = SimulationRequest{ControllerType::Emitter, {}};
    auto window = MakeWindow();
    ASSERT_TRUE(WaitUntil([&] { return window->Link().EmitterCycles().Valid(); }));
    window->Timer1Timer();
    EXPECT_EQ(window->ConnectedUnit(), ControllerType::Emitter);
    EXPECT_EQ(window->Pictures().Controller(), ControllerType::Emitter);
    EXPECT_EQ(Shown(*window), window->Pictures().BarPicture());
}

TEST_F(MainWindowTest, UnpluggedSimulatedDeviceIsReportedAndTheLiveDataGoes) {
    simulation = SimulationRequest{ControllerType::Receiver, {"--unplug-after", "3000"}};
    auto window = MakeWindow();
    ASSERT_TRUE(WaitUntil([&] { return window->Link().ReceiverCycles().Valid(); }));
    test::EnterPassword(QStringLiteral("light-curtain"));
    Click(*window, "MNU_P5"); // the unit's settings, which the lost link closes
    ASSERT_EQ(window->CurrentViewMode(), ViewMode::CustomerSettings);
    dialogs.shown.clear(); // what the page asked when it was filled
    ASSERT_TRUE(WaitUntil([&] { return !dialogs.shown.empty(); }));
    EXPECT_NE(Messages().front().find("was disconnected from the PC"), std::string::npos);
    EXPECT_EQ(Item(*window, "MNU_Connect")->text().toStdString(), "Connect");

    // The silence after the unplug clears the cycle, the rows go inactive, and the unit's
    // settings give way to the bar view.
    ASSERT_TRUE(WaitUntil([&] { return !window->Link().ReceiverCycles().Valid(); }));
    EXPECT_EQ(window->CurrentViewMode(), ViewMode::Bar);
    window->Timer1Timer();
    EXPECT_EQ(LensOfRow(*window, 1), testing::Palette(beam_colour::BlankedOut));
}

// The window's own wiring of the user settings: the page loads the simulated receiver's
// configuration, the window's timer runs the confirmation, and the record reaches the unit,
// which reports it back.
TEST_F(MainWindowTest, UserSettingsAreWrittenIntoTheSimulatedReceiver) {
    auto window = MakeLiveWindow();
    dialogs.shown.clear();
    test::EnterPassword(QStringLiteral("light-curtain"));
    Click(*window, "MNU_P5");
    ASSERT_EQ(window->CurrentViewMode(), ViewMode::CustomerSettings);
    dialogs.shown.clear(); // what the page asked when it was filled
    auto* delay = test::Child<QSpinBox>(*window, "Edt_RUSG_21");
    delay->setValue(delay->value() == 250 ? 260 : 250);
    const int chosen = delay->value();
    test::Child<QPushButton>(*window, "Btn_RUS_1")->click();
    auto* confirm = test::Child<QPushButton>(*window, "Btn_RUS_2");
    ASSERT_TRUE(WaitUntil([&] { return confirm->text().contains(QStringLiteral(" 9 ")); }));
    confirm->click();
    ASSERT_TRUE(WaitUntil([&] { return !dialogs.shown.empty(); }, 10000));
    EXPECT_EQ(Messages().back(), "The data was successfully transmitted!\r\nWould you like to "
                                 "store the data in a text file?");
    ASSERT_TRUE(WaitUntil([&] { return window->Link().ReceiverCustomers().Valid(); }, 10000));
    const ReceiverCustomerRecord* active = window->Link().ReceiverCustomers().ActiveRecord();
    EXPECT_EQ(active->Byte(ReceiverCustomerField::RelayDelay), chosen / 10 + 1);
}

} // namespace
} // namespace lcdiag
