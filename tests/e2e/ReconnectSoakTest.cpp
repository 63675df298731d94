// A hundred connections to a device that vanishes each time, on the real serial component:
// nothing may stay behind, and every loss is reported once.
#include "Pty.h"
#include "PtyWorld.h"

#include <cstdio>
#include <gtest/gtest.h>

namespace lcdiag::e2e {
namespace {

constexpr TextId DisconnectedMessage = 182;
constexpr int Cycles = 100;

// Runs until the dialogue has applied this many new diagnostic records of the emitter.
bool ReceiveLiveCycles(PtyWorld& world, int count) {
    EmitterDiagRecord last;
    int applied = 0;
    return world.RunUntil([&] {
        const EmitterCycle& cycles = world.controller.EmitterCycles();
        if (cycles.Valid() && cycles.Applied() != last) {
            last = cycles.Applied();
            ++applied;
        }
        return applied >= count;
    });
}

TEST(ReconnectSoak, HundredHangUpsLeaveNoThreadOrDescriptorAndAreEachReportedOnce) {
    sim::ControllerConfig config;
    // An emitter's report is short: a connection is live within a tenth of a second.
    config.unit = sim::Unit::Emitter;
    config.layout = Layout::Short;
    config.timing.emitterCyclePeriod = 40;
    PtyWorld world(config);
    const int threadsBefore = test::ThreadCount();
    const int filesBefore = test::OpenFileCount();

    for (int cycle = 1; cycle <= Cycles; ++cycle) {
        SCOPED_TRACE("cycle " + std::to_string(cycle));
        world.Plug();
        world.link.Open();
        ASSERT_TRUE(ReceiveLiveCycles(world, 3));
        world.Unplug();
        ASSERT_TRUE(world.RunUntil([&] { return !world.comPort.Connected(); }));
        // The technician takes a while to click the message away; the dialogue has reset
        // itself by then. A second report of the same loss would show meanwhile.
        world.Skip(ConnectionController::SilenceLimit);
        ASSERT_TRUE(world.RunUntil([&] { return world.controller.State() == LinkState::Idle; }));
        world.RunUntil([] { return false; }, std::chrono::milliseconds(30));
        ASSERT_EQ(world.Shown(DisconnectedMessage), cycle);
        ASSERT_EQ(world.dialogs.shown.size(), static_cast<std::size_t>(cycle));
    }
    world.dispatcher.RunPending();

    const int threadsAfter = test::ThreadCount();
    const int filesAfter = test::OpenFileCount();
    const int disconnects = world.Shown(DisconnectedMessage);
    std::printf("reconnect soak: %d cycles, threads %d before / %d after, open descriptors %d "
                "before / %d after, disconnects reported %d\n",
                Cycles, threadsBefore, threadsAfter, filesBefore, filesAfter, disconnects);
    RecordProperty("disconnects", disconnects);
    EXPECT_EQ(threadsAfter, threadsBefore);
    EXPECT_EQ(filesAfter, filesBefore);
    EXPECT_EQ(disconnects, Cycles);
}

} // namespace
} // namespace lcdiag::e2e
