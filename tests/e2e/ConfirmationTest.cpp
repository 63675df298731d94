// The settings pages' two-step save against a live simulated unit: the ten-second window, the
// buttons of the four pages, and what lost links and reported outcomes do to them.
#include "World.h"
#include "core/device/CustomerRecordBuilder.h"

#include <gtest/gtest.h>

namespace lcdiag::e2e {
namespace {

using enum ViewMode;

class Confirmation : public ::testing::Test {
protected:
    void Start(sim::Unit unit = sim::Unit::Receiver) {
        sim::ControllerConfig config;
        config.unit = unit;
        world = std::make_unique<World>(config);
        world->Open();
        ASSERT_TRUE(world->RunUntil([&] {
            return unit == sim::Unit::Emitter ? world->controller.EmitterCycles().Valid()
                                              : world->controller.ReceiverCycles().Valid();
        }));
        world->Run(50); // a tick in diagnosis gives the factory pages their save button
    }

    // The active record as it is: storing it changes nothing but is a real transfer.
    SettingsWrite ActiveCustomerRecord() const {
        return SettingsWrite::ReceiverCustomer(
            *world->controller.ReceiverCustomers().ActiveRecord());
    }

    SaveConfirmation& Pages() { return world->confirmation; }
    const EditorButtons& Buttons() { return world->confirmation.Buttons(); }
    std::string Text(TextId id) const { return world->texts.GetText(id); }

    std::unique_ptr<World> world;
};

TEST_F(Confirmation, RunsOutAfterTenSecondsAndSendsNothing) {
    Start();
    world->view.viewMode = CustomerSettings;
    Pages().Begin(ActiveCustomerRecord());
    EXPECT_TRUE(Buttons().Btn_RUS_2);
    EXPECT_FALSE(Buttons().Btn_RUS_1);
    world->Run(9500);
    EXPECT_EQ(Buttons().customerConfirmSeconds, 1);
    world->Run(600);
    EXPECT_FALSE(Buttons().Btn_RUS_2);
    EXPECT_TRUE(Buttons().Btn_RUS_1);
    EXPECT_EQ(Buttons().customerConfirmSeconds, 10);
    ASSERT_TRUE(world->RunUntil([&] { return !world->dialogs.shown.empty(); }));
    EXPECT_EQ(world->Messages(), std::vector<std::string>{Text(123)}); // code 10
    EXPECT_FALSE(Pages().Confirm(TransferKind::ReceiverCustomer));     // too late: refused
    world->Run(500);
    EXPECT_EQ(world->controller.State(), LinkState::Diagnosis);
    EXPECT_FALSE(world->port.BreakOn());
}

// The window counts down only while a settings page is shown; a page switch turns every
// confirm button off, so what was saved on one page is never sent from another.
TEST_F(Confirmation, CountsDownOnItsPageAndNoSwitchCarriesItAway) {
    Start();
    world->view.viewMode = Bar;
    Pages().Begin(ActiveCustomerRecord());
    world->Run(3000);
    EXPECT_EQ(Buttons().customerConfirmSeconds, 10); // paused off the page
    world->view.viewMode = CustomerSettings;
    world->Run(100);
    EXPECT_EQ(Buttons().customerConfirmSeconds, 7);

    Pages().PageSwitched();
    EXPECT_FALSE(Buttons().Btn_RUS_2);
    EXPECT_FALSE(Pages().Confirm(TransferKind::ReceiverCustomer));
    world->Run(8000);
    EXPECT_TRUE(Buttons().Btn_RUS_1); // the window ran out on its page
    ASSERT_TRUE(world->RunUntil([&] { return !world->dialogs.shown.empty(); }));
    EXPECT_EQ(world->Messages(), std::vector<std::string>{Text(123)});
    EXPECT_EQ(world->controller.State(), LinkState::Diagnosis);
}

TEST_F(Confirmation, FactorySaveFollowsTheConnectedUnitOnceInDiagnosis) {
    Start();
    EXPECT_TRUE(Buttons().Btn_RFS_1);
    EXPECT_FALSE(Buttons().Btn_EFS_1);
    Pages().PageSwitched(); // off for the switch, back at the next tick in diagnosis
    EXPECT_FALSE(Buttons().Btn_RFS_1);
    world->Run(30);
    EXPECT_TRUE(Buttons().Btn_RFS_1);

    Start(sim::Unit::Emitter);
    EXPECT_FALSE(Buttons().Btn_RFS_1);
    EXPECT_TRUE(Buttons().Btn_EFS_1);
}

// A link lost while a save waits closes the window; every page can save again once the unit
// is back, and nothing is sent from the old window.
TEST_F(Confirmation, LostLinkClosesTheWindowAndGivesEverySaveButtonBack) {
    sim::ControllerConfig config;
    config.faults.silentAfterCycles = 20;
    config.faults.silenceMs = 2500;
    world = std::make_unique<World>(config);
    world->Open();
    ASSERT_TRUE(world->RunUntil([&] { return world->controller.ReceiverCycles().Valid(); }));
    world->view.viewMode = CustomerSettings;
    Pages().Begin(ActiveCustomerRecord());
    ASSERT_TRUE(world->RunUntil([&] { return world->controller.State() == LinkState::Idle; }));
    EXPECT_EQ(world->outcomes.linksLost, 1);
    EXPECT_FALSE(Pages().Open());
    EXPECT_EQ(world->view.viewMode, Bar); // the unit's settings page was left
    EXPECT_TRUE(Buttons().Btn_RUS_1);
    EXPECT_FALSE(Buttons().Btn_RUS_2);
    EXPECT_FALSE(Buttons().Btn_RFS_1);
    EXPECT_FALSE(Pages().Confirm(TransferKind::ReceiverCustomer));
    ASSERT_TRUE(world->RunUntil([&] { return world->controller.ReceiverCycles().Valid(); }, 8000));
    world->Run(30);
    EXPECT_TRUE(Buttons().Btn_RFS_1);
    EXPECT_TRUE(world->dialogs.shown.empty());
}

// A transfer ends with every page in its initial state, and a transfer the link refuses
// leaves the page ready to save again.
TEST_F(Confirmation, OutcomesPutThePagesBack) {
    Start(sim::Unit::Emitter);
    world->view.viewMode = CustomerSettings;
    Pages().Begin(SettingsWrite::EmitterCustomer(BuildEmitterCustomerRecord(true, world->pcClock)));
    world->Run(1000);
    ASSERT_TRUE(Pages().Confirm(TransferKind::EmitterCustomer));
    ASSERT_TRUE(world->RunUntil([&] { return !world->dialogs.shown.empty(); }, 8000));
    EXPECT_EQ(world->Messages(), std::vector<std::string>{Text(114)}); // code 16
    EXPECT_EQ(Buttons(), EditorButtons{});

    world = std::make_unique<World>(sim::ControllerConfig{}); // no unit: no factory record
    world->view.viewMode = CustomerSettings;
    Pages().Begin(SettingsWrite::ReceiverCustomer({}));
    EXPECT_FALSE(Pages().Confirm(TransferKind::ReceiverCustomer));
    EXPECT_EQ(world->Messages(), std::vector<std::string>{Text(117)});
    EXPECT_TRUE(Buttons().Btn_RUS_1);
    EXPECT_FALSE(Buttons().Btn_RUS_2);
}

// The expiry waits behind an outcome already due: a reset must not be lost to message 123.
TEST_F(Confirmation, ExpiryDoesNotReplaceAResultAlreadyDue) {
    Start();
    Pages().Begin(ActiveCustomerRecord());
    world->clock.Advance(SaveConfirmation::Window + 1);
    world->controller.Report(ResultCode::SettingsInvalid);
    Pages().Tick(CustomerSettings);
    EXPECT_FALSE(Pages().Open());
    world->controller.Timer2Fire();
    EXPECT_EQ(world->Messages(), std::vector<std::string>{Text(125)});
}

} // namespace
} // namespace lcdiag::e2e
