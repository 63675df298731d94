#include "PcBench.h"
#include "core/protocol/ConfigTrailer.h"
#include "sim/RecordBuilders.h"

#include <gtest/gtest.h>

namespace lcdiag::sim::test {
namespace {

ControllerConfig Faulty(void (*arrange)(ControllerConfig&)) {
    ControllerConfig config;
    arrange(config);
    return config;
}

// Runs the normal course and a few seconds of cycles; returns every byte the PC received.
std::vector<std::uint8_t> Session(const ControllerConfig& config) {
    PcBench bench(config);
    bench.Diagnose();
    bench.Run(3000);
    return bench.all;
}

TEST(Determinism, TheSameSeedAndInputsGiveTheSameBytes) {
    ControllerConfig config;
    config.seed = 5;
    config.scenes = Scenes::Demo();
    config.faults.garbage = 0.3;
    config.faults.splitFrames = 0.3;
    config.faults.wrongChecksums = 0.2;
    const auto first = Session(config);
    EXPECT_GT(first.size(), 10000u);
    EXPECT_EQ(Session(config), first);
    config.seed = 6;
    EXPECT_NE(Session(config), first);
}

TEST(CycleFaults, FaultBitsStandInTheirPartsAndSwitchTheOutputsOff) {
    PcBench bench(Faulty([](ControllerConfig& c) {
        c.faults.cycleFaultBits = 0x01 | 1u << 9 | 1u << 16 | 1u << 18 | 1u << 23;
    }));
    bench.Diagnose();
    const auto cycle = bench.AwaitCycle();
    ASSERT_TRUE(cycle);
    EXPECT_EQ((*cycle)[0][30], 0x01);
    EXPECT_EQ((*cycle)[1][4], 0x02);
    EXPECT_EQ((*cycle)[2][4], 0x04); // codes 17 and 24 cannot occur
    EXPECT_EQ((*cycle)[0][3] & 0x21, 0x20);
}

TEST(CycleFaults, WrongChecksumsFailTheCodecsTestInBothLayouts) {
    for (Layout layout : {Layout::Short, Layout::Long}) {
        ControllerConfig config;
        config.layout = layout;
        config.faults.wrongChecksums = 1;
        PcBench bench(config);
        bench.Diagnose();
        for (int i = 0; i < 6; ++i) {
            const auto part = bench.Await({kw::ReceiverCyclePart}, 100);
            ASSERT_TRUE(part);
            std::vector<std::uint8_t> internal(41);
            EXPECT_FALSE(bench.codec.Decode(part->data, internal, layout, BlockKind::CyclePart));
        }
    }
}

TEST(LineFaults, GarbageAndSplitFramesLeaveEveryFrameIntact) {
    PcBench plain(ControllerConfig{});
    const auto expected = plain.Identify();
    for (auto arrange : {+[](ControllerConfig& c) { c.faults.garbage = 1; },
                         +[](ControllerConfig& c) { c.faults.splitFrames = 1; }}) {
        PcBench bench(Faulty(arrange));
        const auto report = bench.Identify();
        ASSERT_EQ(report.size(), expected.size());
        for (std::size_t i = 0; i < report.size(); ++i) {
            EXPECT_EQ(report[i].data, expected[i].data);
        }
        EXPECT_GT(bench.clock.Now(), plain.clock.Now());
        EXPECT_EQ(bench.all.size() > plain.all.size(),
                  bench.controller->Config().faults.garbage > 0);
    }
}

TEST(Silence, AfterSomeCyclesTheControllerFallsSilentThenStartsAgain) {
    PcBench bench(Faulty([](ControllerConfig& c) {
        c.faults.silentAfterCycles = 5;
        c.faults.silenceMs = 2000;
    }));
    bench.Diagnose();
    int cycles = 0;
    while (bench.AwaitCycle()) {
        ++cycles;
    }
    EXPECT_EQ(cycles, 5);
    bench.port.SetBaudRate(SimController::LineBaud);
    bench.buffer.clear();
    const auto identification = bench.Await({kw::ReceiverIdentLong}, 2500);
    ASSERT_TRUE(identification);
    EXPECT_GE(identification->at, 2000u);
}

TEST(InvalidRecords, AreReportedWithChecksumsThatDoNotMatch) {
    auto invalid = [](ControllerConfig& c) {
        c.faults.invalidFactoryRecord = true;
        c.faults.invalidCustomerRecord = true;
    };
    ControllerConfig receiverConfig = Faulty(invalid);
    PcBench receiver(receiverConfig);
    const auto report = receiver.Identify();
    ASSERT_EQ(report.size(), 4u);
    std::vector<std::uint8_t> internal(8 * 152);
    EXPECT_FALSE(receiver.codec.Decode(report[2].data, internal, Layout::Long, BlockKind::Factory));
    EXPECT_TRUE(ConfigTrailer::Parse(receiver.table, std::span(report[2].data).last(24)));
    EXPECT_FALSE(receiver.codec.DecodeCustomerSet(report[3].data, internal, Layout::Long, 3));
    EXPECT_TRUE(receiver.codec.DecodeCustomerSet(report[3].data, internal, Layout::Long, 2));

    ControllerConfig emitterConfig = Faulty(invalid);
    emitterConfig.unit = Unit::Emitter;
    PcBench emitter(emitterConfig);
    const auto emitterReport = emitter.Identify();
    ASSERT_EQ(emitterReport.size(), 3u);
    EXPECT_FALSE(EmitterChecksumValid(emitterReport[1].data));
    EXPECT_FALSE(EmitterChecksumValid(emitterReport[2].data));
}

} // namespace
} // namespace lcdiag::sim::test
