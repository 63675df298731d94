// The dialogue on the real serial component, its device served on a pseudo-terminal.
#include "PtyWorld.h"
#include "core/device/CustomerRecordBuilder.h"

#include <gtest/gtest.h>

namespace lcdiag::e2e {
namespace {

constexpr TextId DisconnectedMessage = 182;
constexpr TextId CustomerTimeOutMessage = 116;

sim::ControllerConfig Emitter() {
    sim::ControllerConfig config;
    config.unit = sim::Unit::Emitter;
    return config;
}

// The port is closed when the time-out resets the dialogue, whether the device was unplugged
// or the technician disconnected: releasing the break on the closed port must neither fail
// nor keep the dialogue from waiting for the next device.
TEST(PtyConnection, APortClosedDuringATransferEndsInTheTimeOutAndTheNextConnectionWorks) {
    for (const bool unplugged : {true, false}) {
        SCOPED_TRACE(unplugged ? "unplugged" : "disconnected");
        PtyWorld world(Emitter());
        world.Plug();
        world.link.Open();
        ASSERT_TRUE(world.RunUntil([&] { return world.controller.EmitterCycles().Valid(); }));
        ASSERT_TRUE(world.controller.WriteSettings(
            SettingsWrite::EmitterCustomer(BuildEmitterCustomerRecord(true, world.pcClock))));

        if (unplugged) {
            world.Unplug();
        } else {
            world.link.Close();
        }
        ASSERT_TRUE(world.RunUntil([&] { return !world.comPort.Connected(); }));
        world.Skip(ConnectionController::SilenceLimit);
        EXPECT_NO_THROW(world.RunUntil([&] { return world.Shown(CustomerTimeOutMessage) > 0; }));
        EXPECT_EQ(world.controller.State(), LinkState::Idle);
        EXPECT_EQ(world.Shown(DisconnectedMessage), unplugged ? 1 : 0);
        EXPECT_EQ(world.Shown(CustomerTimeOutMessage), 1);
        const std::size_t messages = world.dialogs.shown.size();
        EXPECT_EQ(messages, unplugged ? 2U : 1U);

        if (unplugged) {
            world.Plug();
        }
        world.link.Open();
        EXPECT_TRUE(world.RunUntil([&] { return world.controller.EmitterCycles().Valid(); }));
        EXPECT_EQ(world.dialogs.shown.size(), messages);
    }
}

} // namespace
} // namespace lcdiag::e2e
