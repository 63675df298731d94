#include "PcBench.h"
#include "core/protocol/ConfigTrailer.h"
#include "sim/ReceiverController.h"
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

TEST(Silence, MidTransferTheControllerStaysSilent) {
    for (TransferSilence where : {TransferSilence::NoReadiness, TransferSilence::NoAnswerToData}) {
        ControllerConfig config;
        config.unit = Unit::Emitter;
        config.faults.transferSilence = where;
        PcBench bench(config);
        const auto report = bench.Diagnose();
        ASSERT_TRUE(bench.Await({kw::EmitterDiagnosticData}, 300));
        EXPECT_EQ(bench.OpenEmitterForSettings(300), where == TransferSilence::NoAnswerToData);
        bench.Send(kw::EmitterCustomerFollows, report.at(2).data);
        bench.Run(1500);
        EXPECT_EQ(bench.table.Find(bench.buffer, kw::EmitterCustomerStored), -1);
        EXPECT_EQ(bench.controller->CurrentPhase(), Phase::Silent);
    }
}

// Sends the active configuration back as new settings, as the PC stores them; what it sent,
// nothing when the controller did not open for them.
std::vector<std::uint8_t> StoreActiveRecord(PcBench& bench) {
    const auto& receiver = dynamic_cast<ReceiverController&>(*bench.controller);
    std::vector<std::uint8_t> sent(152);
    bench.codec.Decode(receiver.CustomerRecord(receiver.ActiveSlot()), sent, bench.layout,
                       BlockKind::Customer);
    std::fill(sent.end() - 6, sent.end(), 0);
    bench.codec.WriteChecksum(sent, BlockKind::Customer, Layout::Long);
    const auto handshake = bench.OpenReceiverForSettings();
    if (!handshake) {
        return {};
    }
    bench.Send(kw::ReceiverStoreCustomer,
               StorePayload(bench, *handshake, sent, BlockKind::Customer));
    return sent;
}

// The PC stamps the settings it writes with its version; the controller refuses older ones.
TEST(Incompatibility, SettingsFromAnOlderPcProgramAreRefusedWithItsMinimum) {
    ControllerConfig config;
    config.faults.minPcVersion = PcVersion{3, 20};
    PcBench bench(config);
    bench.Diagnose();
    const auto sent = StoreActiveRecord(bench);
    ASSERT_FALSE(sent.empty());
    ASSERT_EQ(sent[140], 3);
    ASSERT_LT(sent[141], 20);
    const auto refusal = bench.Await({kw::PcSoftwareIncompatible}, 500);
    ASSERT_TRUE(refusal);
    EXPECT_EQ(refusal->data, (std::vector<std::uint8_t>{3, 20}));
    EXPECT_EQ(dynamic_cast<ReceiverController&>(*bench.controller).ActiveSlot(), 3);
}

TEST(ReadBack, TheStoredSettingsDifferFromThoseSentYetAreValid) {
    ControllerConfig config;
    config.faults.readBackMismatch = true;
    config.layout = Layout::Short;
    PcBench bench(config);
    bench.Diagnose();
    const auto sent = StoreActiveRecord(bench);
    ASSERT_FALSE(sent.empty());
    const auto records = bench.Await({kw::ReceiverCustomerData}, 1500);
    ASSERT_TRUE(records);
    std::vector<std::uint8_t> set(8 * 152);
    EXPECT_TRUE(bench.codec.DecodeCustomerSet(records->data, set, Layout::Short, 4));
    const auto stored = std::span(set).subspan(4 * 152, 152);
    int differences = 0;
    for (std::size_t i = 0; i < 142; ++i) {
        differences += stored[i] != sent[i];
    }
    EXPECT_EQ(differences, 2); // a setting and its complement
}

TEST(Acknowledgement, TheEmitterStoresButDoesNotSayIt) {
    ControllerConfig config;
    config.unit = Unit::Emitter;
    config.faults.missingAcknowledgement = true;
    PcBench bench(config);
    const auto report = bench.Diagnose();
    ASSERT_TRUE(bench.OpenEmitterForSettings(300));
    bench.Send(kw::EmitterCustomerFollows, report.at(2).data);
    const auto next = bench.Await({kw::EmitterCustomerStored, kw::EmitterFirmware}, 500);
    ASSERT_TRUE(next);
    EXPECT_EQ(next->id, kw::EmitterFirmware);
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
