// The whole program on the simulated device: cycles from the simulated controller reach the
// pictures on screen, and a device that goes away is reported.
#include "GuiTestSupport.h"
#include "ViewTestSupport.h"
#include "core/app/FileDialogs.h"
#include "core/session/SessionRecording.h"
#include "gui/app/TPictureBox.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>
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

// The user's choice in the file dialogs: always the same file.
class SameFile final : public FileDialogs {
public:
    explicit SameFile(std::string name) : name_(std::move(name)) {}
    std::optional<std::string> ChooseFileToSave(const std::string&, const std::string&) override {
        return name_;
    }
    std::optional<std::string> ChooseFileToOpen(const std::string&) override {
        return name_ + ".zcf";
    }

private:
    std::string name_;
};

// The extended build's File menu: the unit's settings go out to a file and come back from it
// into the user settings page, for the user to check and save.
TEST_F(MainWindowTest, ConfigurationFileGoesOutAndComesBackThroughTheFileMenu) {
    const test::TempFolder folder;
    SameFile files((folder.Path() / "unit").string());
    fileDialogs = &files;
    auto window = MakeLiveWindow(BuildVariant::Delivered | BuildVariant::ExtendedBit);
    dialogs.shown.clear();
    Click(*window, "MNU_F2");
    ASSERT_FALSE(Messages().empty());
    EXPECT_EQ(Messages().back(), "The current settings of the light curtain have been exported!");
    EXPECT_EQ(std::filesystem::file_size(folder.Path() / "unit.zcf"), 374U);

    test::EnterPassword(QStringLiteral("light-curtain"));
    dialogs.answer = MessageResult::Yes;
    Click(*window, "MNU_F1");
    EXPECT_EQ(window->CurrentViewMode(), ViewMode::CustomerSettings);
    EXPECT_EQ(Messages().back(), "The settings from the selected file have been imported "
                                 "successfully.\r\nVerify the imported settings and save them.");
    EXPECT_TRUE(window->Link().ReceiverCustomers().Adopted());
}

// The manufacturer build's pages in the window: the factory settings of the simulated
// receiver, its configuration history, and back.
TEST_F(MainWindowTest, FactorySettingsShowTheHistoryOfTheSimulatedReceiver) {
    simulation = SimulationRequest{ControllerType::Receiver, {}};
    auto window = MakeWindow(BuildVariant::Delivered | BuildVariant::ManufacturerBit);
    test::EnterPassword(QStringLiteral("LCD-factory-7013"));
    QEvent activation(QEvent::WindowActivate);
    QCoreApplication::sendEvent(window.get(), &activation);
    ASSERT_TRUE(WaitUntil([&] { return window->Link().ReceiverCycles().Valid(); }, 10000));

    Click(*window, "MNU_P3");
    ASSERT_EQ(window->CurrentViewMode(), ViewMode::FactorySettings);
    EXPECT_EQ(test::Child<QLineEdit>(*window, "Edt_RFS_12")->text().toStdString(),
              window->Link().Info().serialNumber);
    test::Child<QPushButton>(*window, "Btn_RFS_4")->click();
    ASSERT_EQ(window->CurrentViewMode(), ViewMode::History);
    EXPECT_GT(test::Child<QTreeWidget>(*window, "LstVw_H_1")->topLevelItemCount(), 0);
    test::Child<QPushButton>(*window, "Btn_H_1")->click();
    EXPECT_EQ(window->CurrentViewMode(), ViewMode::FactorySettings);
}

// A session recorded from the port menu, replayed as the device four times as fast, ends in
// the picture the live window showed when the recording stopped; the program does what the
// recording holds, so nothing diverges. Cut short, the replay says where the recording ended.
TEST_F(MainWindowTest, ARecordedSessionReplaysToThePictureShownWhenItStopped) {
    const test::TempFolder folder;
    const std::string file = (folder.Path() / "session.lcdrec").string();
    SameFile files(file);
    fileDialogs = &files;
    simulation = SimulationRequest{ControllerType::Receiver, {"--scenes", "demo"}};
    QImage live;
    {
        auto window = MakeWindow();
        Click(*window, "MNU_RecordSession");
        ASSERT_TRUE(WaitUntil([&] { return window->Link().ReceiverCycles().Valid(); }));
        test::Settle(1500); // the demo scene moves on
        window->Timer1Timer();
        live = Shown(*window).copy();
        Click(*window, "MNU_RecordSession");
    }
    auto recording = ReadSessionRecordingFile(file);
    ASSERT_TRUE(std::holds_alternative<SessionRecording>(recording))
        << std::get<std::string>(recording);
    SessionRecording& whole = std::get<SessionRecording>(recording);

    simulation.reset();
    dialogs.shown.clear();
    replay = ReplayRequest{"session.lcdrec", whole, 4};
    {
        auto window = MakeWindow();
        bool ended = false;
        window->WhenReplayEnded([&ended] { ended = true; });
        ASSERT_TRUE(WaitUntil([&] { return ended; }, 10000));
        window->Timer1Timer();
        EXPECT_EQ(Shown(*window), live);
        EXPECT_TRUE(dialogs.shown.empty()) << Messages().front();
    }

    whole.events.resize(whole.events.size() / 2);
    whole.cut = "the recording ends at byte 100 of 200: cut within an event";
    replay = ReplayRequest{"session.lcdrec", whole, 16};
    auto window = MakeWindow();
    bool ended = false;
    window->WhenReplayEnded([&ended] { ended = true; });
    ASSERT_TRUE(WaitUntil([&] { return ended; }, 10000));
    EXPECT_EQ(Messages().back(), "The recording ends early: the recording ends at byte 100 of "
                                 "200: cut within an event.");
}

} // namespace
} // namespace lcdiag
