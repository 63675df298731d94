#include "sim/LiveScenes.h"

#include "PcBench.h"
#include "sim/SimOptions.h"

#include <gtest/gtest.h>
#include <set>

namespace lcdiag::sim::test {
namespace {

bool Beam(std::span<const std::uint8_t> mask, int beam) {
    return (mask[static_cast<std::size_t>((beam - 1) / 8)] & (0x80 >> ((beam - 1) % 8))) != 0;
}

// The demo controller's cycles follow the scenes and its settings together.
TEST(DemoCycles, ABlankedZoneKeepsTheOutputsOnAnObjectSwitchesThemOff) {
    ControllerConfig config;
    config.scenes.blankedZone = true;
    PcBench bench(config);
    bench.Diagnose();
    const auto cycle = bench.AwaitCycle();
    ASSERT_TRUE(cycle);
    const BeamZone zone = BlankedZoneOf(32);
    EXPECT_EQ((*cycle)[0][4] & 0x08, 0x08); // fixed blanking
    for (int beam = 1; beam <= 32; ++beam) {
        const bool blanked = beam >= zone.first && beam < zone.first + zone.count;
        EXPECT_EQ(Beam(std::span((*cycle)[2]).subspan(6), beam), !blanked) << beam;
        EXPECT_EQ(Beam(std::span((*cycle)[0]).subspan(6), beam), !blanked) << beam;
    }
    EXPECT_EQ((*cycle)[0][3], 0x01); // outputs on

    config.scenes.movingObject = true;
    PcBench moving(config);
    moving.Diagnose();
    std::set<std::uint8_t> leds;
    for (int i = 0; i < 200; ++i) { // one pass of the object and its absence
        const auto next = moving.AwaitCycle();
        ASSERT_TRUE(next);
        leds.insert((*next)[0][3] & 0x21);
    }
    EXPECT_EQ(leds, (std::set<std::uint8_t>{0x01, 0x20}));
}

// An object held in beams 3-5 for teaching stays there whatever else moves, and switches the
// outputs off while those beams are not blanked.
TEST(DemoCycles, ATeachObjectKeepsItsBeamsInterruptedBesideTheOtherScenes) {
    ControllerConfig config;
    config.scenes.blankedZone = true;
    config.scenes.movingObject = true;
    config.scenes.teachObject = BeamZone{3, 3};
    PcBench bench(config);
    bench.Diagnose();
    const BeamZone blanked = BlankedZoneOf(32);
    std::set<int> alsoInterrupted;
    for (int i = 0; i < 100; ++i) {
        const auto cycle = bench.AwaitCycle();
        ASSERT_TRUE(cycle);
        const auto free = std::span((*cycle)[0]).subspan(6);
        for (int beam = 1; beam <= 32; ++beam) {
            const bool taught = beam >= 3 && beam <= 5;
            const bool inBlankedZone =
                beam >= blanked.first && beam < blanked.first + blanked.count;
            if (taught || inBlankedZone) {
                EXPECT_FALSE(Beam(free, beam)) << beam;
            } else if (!Beam(free, beam)) {
                alsoInterrupted.insert(beam); // the moving object
            }
        }
        EXPECT_EQ((*cycle)[0][3] & 0x21, 0x20); // outputs off
    }
    EXPECT_FALSE(alsoInterrupted.empty());
}

TEST(SimOptions, ATeachObjectIsABeamRangeThatTheSceneChoiceKeeps) {
    const auto parsed = ParseSimOptions({"--teach-object", "3-5", "--scenes", "none"});
    EXPECT_TRUE(parsed.error.empty());
    EXPECT_EQ(parsed.config.scenes.teachObject, (BeamZone{3, 3}));
    EXPECT_FALSE(parsed.config.scenes.movingObject);
    for (const char* wrong : {"5-3", "0-2", "3", "3-193", "3-x"}) {
        EXPECT_FALSE(ParseSimOptions({"--teach-object", wrong}).error.empty()) << wrong;
    }
}

TEST(DemoCycles, MutingShowsWhileBothSensorsAreOnAndFaultsPass) {
    ControllerConfig config;
    config.firmware = {2, 136};
    config.seed = 3; // its active configuration has muting switched on
    config.scenes.mutingSensors = true;
    config.scenes.intermittentFaults = true;
    PcBench bench(config);
    bench.Diagnose();
    std::set<std::uint8_t> muting;
    std::set<bool> faulty;
    for (int i = 0; i < 320; ++i) {
        const auto cycle = bench.AwaitCycle();
        ASSERT_TRUE(cycle);
        muting.insert((*cycle)[0][31]);
        faulty.insert((*cycle)[0][30] != 0 || (*cycle)[1][4] != 0 || (*cycle)[2][4] != 0);
    }
    EXPECT_EQ(muting, (std::set<std::uint8_t>{0x00, 0x08, 0x19, 0x10}));
    EXPECT_EQ(faulty, (std::set<bool>{false, true}));
}

} // namespace
} // namespace lcdiag::sim::test
