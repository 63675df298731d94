// The normal courses of the dialogue against the simulated receiver and emitter: from
// opening the port to live cycles, and back to identification after silence.
#include "World.h"

#include <gtest/gtest.h>

namespace lcdiag::e2e {
namespace {

class ReceiverCourse : public ::testing::TestWithParam<Layout> {};

TEST_P(ReceiverCourse, OpensIdentifiesReadsAndRunsCyclesAt115200) {
    sim::ControllerConfig config;
    config.layout = GetParam();
    config.firmware = {2, 133};
    config.faults.cycleFaultBits = 1U << 8 | 1U << 17; // fault codes 9 and 18
    World world(config);
    world.Open();

    ASSERT_TRUE(world.RunUntil([&] { return world.controller.ReceiverCycles().Valid(); }));
    const ConnectionController& c = world.controller;
    EXPECT_EQ(c.State(), LinkState::Diagnosis);
    EXPECT_EQ(c.LongLayout(), GetParam() == Layout::Long);
    EXPECT_EQ(world.port.BaudRate(), ConnectionController::DiagnosisBaud);
    EXPECT_TRUE(c.ReceiverFactoryValid());
    EXPECT_TRUE(c.ReceiverCustomers().Valid());
    EXPECT_EQ(c.ReceiverCustomers().ActiveRecordIndex(), config.activeSlot);
    EXPECT_EQ(c.Firmware().version, 133);
    EXPECT_EQ(c.Firmware().typeDigit, 2);
    EXPECT_EQ(c.OperatingHours(), config.operatingHours);
    EXPECT_EQ(c.Info().firmware, "1.33");
    EXPECT_EQ(c.Info().serialNumber, config.serialNumber);
    EXPECT_NE(c.Info().resolution, "xx");
    EXPECT_NE(c.Info().configurationDate, "xx.xx.xxxx");
    EXPECT_TRUE(world.dialogs.shown.empty());

    // The fault bits of the cycles reach the fault list, newest on top, and show the panel.
    ASSERT_EQ(world.controller.Faults().Entries().size(), 2U);
    EXPECT_EQ(world.controller.Faults().Entries()[0].code, 18);
    EXPECT_EQ(world.controller.Faults().Entries()[1].code, 9);
    EXPECT_TRUE(world.controller.Faults().PanelVisible());

    world.Run(1000);
    EXPECT_TRUE(c.ReceiverCycles().Valid());
    EXPECT_EQ(world.controller.Faults().Entries().size(), 2U); // reported again, not added
}

TEST_P(ReceiverCourse, SilenceResetsWithoutAMessageAndTheNextIdentificationReconnects) {
    sim::ControllerConfig config;
    config.layout = GetParam();
    config.faults.silentAfterCycles = 20;
    config.faults.silenceMs = 2500;
    World world(config);
    world.Open();
    ASSERT_TRUE(world.RunUntil([&] { return world.controller.ReceiverCycles().Valid(); }));
    world.view.viewMode = ViewMode::CustomerSettings; // the unit's settings are left on silence
    const int refreshesBefore = world.view.infoRefreshes;

    ASSERT_TRUE(world.RunUntil([&] { return world.controller.State() == LinkState::Idle; }));
    const ConnectionController& c = world.controller;
    EXPECT_EQ(c.Info(), InfoTexts{});
    EXPECT_GT(world.view.infoRefreshes, refreshesBefore); // the panel shows the placeholders
    EXPECT_FALSE(c.ReceiverCycles().Valid());
    EXPECT_FALSE(c.ReceiverFactoryValid());
    EXPECT_EQ(world.port.BaudRate(), ConnectionController::LineBaud);
    EXPECT_EQ(world.view.viewMode, ViewMode::Bar);
    EXPECT_TRUE(world.dialogs.shown.empty());

    ASSERT_TRUE(world.RunUntil([&] { return c.ReceiverCycles().Valid(); }, 8000));
    EXPECT_TRUE(world.dialogs.shown.empty());
}

TEST_P(ReceiverCourse, TheUsbAdapterSwitchesTheBaudRate100msAfterKeyword10) {
    sim::ControllerConfig config;
    config.layout = GetParam();
    World world(config, PortKind::UsbAdapter);
    world.Open();
    ASSERT_TRUE(world.RunUntil([&] { return world.controller.ReceiverCycles().Valid(); }));
    EXPECT_EQ(world.port.BaudRate(), ConnectionController::DiagnosisBaud);
}

INSTANTIATE_TEST_SUITE_P(BothLayouts, ReceiverCourse,
                         ::testing::Values(Layout::Long, Layout::Short), [](const auto& info) {
                             return info.param == Layout::Long ? "Long" : "Short";
                         });

class EmitterCourse : public ::testing::TestWithParam<Layout> {};

TEST_P(EmitterCourse, IdentifiesReadsAndRunsDiagnosticRecordsAt19200) {
    sim::ControllerConfig config;
    config.unit = sim::Unit::Emitter;
    config.layout = GetParam();
    config.faults.cycleFaultBits = 0x02; // fault code 2
    World world(config);
    world.Open();

    ASSERT_TRUE(world.RunUntil([&] { return world.controller.EmitterCycles().Valid(); }));
    const ConnectionController& c = world.controller;
    EXPECT_EQ(c.Unit(), ControllerType::Emitter);
    EXPECT_EQ(world.view.typeSwitches, 2); // the forced start-up switch, then to the emitter
    EXPECT_EQ(c.State(), LinkState::Diagnosis);
    EXPECT_EQ(world.port.BaudRate(), ConnectionController::LineBaud);
    EXPECT_TRUE(c.EmitterFactoryValid());
    EXPECT_TRUE(c.EmitterCustomerValid());
    EXPECT_EQ(c.Info().serialNumber, config.serialNumber);
    EXPECT_NE(c.Info().configurationDate, "xx.xx.xxxx");
    ASSERT_EQ(world.controller.Faults().Entries().size(), 1U);
    EXPECT_EQ(world.controller.Faults().Entries()[0].textId, 251);
    EXPECT_TRUE(world.dialogs.shown.empty());
}

INSTANTIATE_TEST_SUITE_P(BothLayouts, EmitterCourse, ::testing::Values(Layout::Long, Layout::Short),
                         [](const auto& info) {
                             return info.param == Layout::Long ? "Long" : "Short";
                         });

TEST(ConnectionCourse, ClosingBidsFarewellAndUnpluggingWarnsOnce) {
    World world(sim::ControllerConfig{});
    world.Open();
    ASSERT_TRUE(world.RunUntil([&] { return world.controller.ReceiverCycles().Valid(); }));
    EXPECT_EQ(world.controller.ConnectCaption(), 5701U);
    world.port.Unplug();
    EXPECT_EQ(world.controller.ConnectCaption(), 5700U);
    ASSERT_EQ(world.dialogs.shown.size(), 1U);
    EXPECT_EQ(world.dialogs.shown[0].text, world.texts.GetText(182));
    EXPECT_EQ(world.dialogs.shown[0].kind, MessageKind::Warning);
    world.Run(3000); // the supervision resets quietly
    EXPECT_EQ(world.dialogs.shown.size(), 1U);
    EXPECT_EQ(world.controller.State(), LinkState::Idle);

    world.port.Open();
    ASSERT_TRUE(world.RunUntil([&] { return world.controller.ReceiverCycles().Valid(); }));
    world.port.Close();
    EXPECT_EQ(world.controller.ConnectCaption(), 5700U);
    EXPECT_FALSE(world.port.BreakOn());
}

} // namespace
} // namespace lcdiag::e2e
