// A long seeded run against controllers with random line faults: no crash, no sanitizer
// report, and every transfer ends in the outcome its injected fault calls for.
#include "World.h"
#include "core/app/Texts.h"
#include "core/device/CustomerRecordBuilder.h"

#include <gtest/gtest.h>
#include <random>

namespace lcdiag::e2e {
namespace {

enum class Injected { Nothing, ReadBackMismatch, NoReadiness, NoAnswer };

struct Round {
    sim::ControllerConfig config;
    Injected injected;
    TransferKind kind;
};

Round DrawRound(std::mt19937& rng, std::uint32_t seed) {
    auto pick = [&rng](int n) { return static_cast<int>(rng() % static_cast<unsigned>(n)); };
    Round round{};
    sim::ControllerConfig& config = round.config;
    config.seed = seed;
    config.unit = pick(3) == 0 ? sim::Unit::Emitter : sim::Unit::Receiver;
    config.layout = pick(2) == 0 ? Layout::Long : Layout::Short;
    const std::pair<int, int> firmwares[] = {{1, 109}, {1, 121}, {1, 122},
                                             {2, 133}, {2, 135}, {3, 136}};
    const auto [typeDigit, version] = firmwares[pick(6)];
    config.firmware = {typeDigit, version};
    config.deviceType = 1 + pick(8);
    config.scenes = sim::Scenes::Demo();
    config.faults.garbage = pick(20) / 200.0;
    config.faults.splitFrames = pick(20) / 100.0;
    config.faults.wrongChecksums = pick(10) / 200.0;
    round.injected = static_cast<Injected>(pick(4));
    config.faults.readBackMismatch = round.injected == Injected::ReadBackMismatch;
    if (round.injected == Injected::NoReadiness) {
        config.faults.transferSilence = sim::TransferSilence::NoReadiness;
    } else if (round.injected == Injected::NoAnswer) {
        config.faults.transferSilence = sim::TransferSilence::NoAnswerToData;
    }
    const bool emitter = config.unit == sim::Unit::Emitter;
    const bool factory = pick(2) == 0;
    round.kind = emitter
                     ? (factory ? TransferKind::EmitterFactory : TransferKind::EmitterCustomer)
                     : (factory ? TransferKind::ReceiverFactory : TransferKind::ReceiverCustomer);
    return round;
}

// The message the injected fault calls for.
TextId ExpectedMessage(const Round& round) {
    const bool factory = IsFactoryKind(round.kind);
    switch (round.injected) {
    case Injected::Nothing:
        return factory ? 111 : 114;
    case Injected::ReadBackMismatch:
        return factory ? 112 : 115;
    case Injected::NoReadiness:
    case Injected::NoAnswer:
        break;
    }
    return factory ? 113 : 116;
}

// The records of the round's transfer, as the pages would build them from what was read.
SettingsWrite RoundRecords(World& world, TransferKind kind) {
    const ConnectionController& c = world.controller;
    switch (kind) {
    case TransferKind::EmitterFactory:
        return SettingsWrite::EmitterFactory(c.EmitterFactory(),
                                             BuildEmitterCustomerRecord(false, world.pcClock));
    case TransferKind::EmitterCustomer:
        return SettingsWrite::EmitterCustomer(BuildEmitterCustomerRecord(true, world.pcClock));
    case TransferKind::ReceiverFactory:
        return SettingsWrite::ReceiverFactory(c.ReceiverFactory());
    case TransferKind::ReceiverCustomer:
    case TransferKind::None:
        break;
    }
    ReceiverCustomerRecord record = *c.ReceiverCustomers().ActiveRecord();
    ReceiverCustomerEdits edits;
    edits.fixedBlanking = record.Mask(ReceiverCustomerField::FixedBlankingMask);
    edits.mutingArea = record.Mask(ReceiverCustomerField::MutingAreaMask);
    CompleteReceiverCustomerRecord(record, c.ReceiverFactory(), edits,
                                   {c.Firmware(), {1, 40}, world.pcClock, c.Codec()});
    return SettingsWrite::ReceiverCustomer(record);
}

TEST(Soak, HundredThousandCyclesWithRandomFaultsAndATransferPerRound) {
    std::mt19937 rng(20261206);
    long cycles = 0;
    int transfers = 0;
    for (std::uint32_t seed = 1; cycles < 100000; ++seed) {
        const Round round = DrawRound(rng, seed);
        SCOPED_TRACE("seed " + std::to_string(seed));
        World world(round.config);
        world.Open();
        const bool emitter = round.config.unit == sim::Unit::Emitter;
        ASSERT_TRUE(world.RunUntil([&] {
            return emitter ? world.controller.EmitterCycles().Valid()
                           : world.controller.ReceiverCycles().Valid();
        }));
        world.Run(emitter ? 60000 : 30000);
        ASSERT_EQ(world.controller.State(), LinkState::Diagnosis);
        ASSERT_TRUE(world.dialogs.shown.empty()) << world.dialogs.shown[0].text;
        cycles += world.device->CyclesSent();

        world.view.viewMode =
            IsFactoryKind(round.kind) ? ViewMode::FactorySettings : ViewMode::CustomerSettings;
        world.confirmation.Begin(RoundRecords(world, round.kind));
        world.Run(1000);
        ASSERT_TRUE(world.confirmation.Confirm(round.kind));
        ASSERT_TRUE(world.RunUntil([&] { return !world.dialogs.shown.empty(); }, 10000));
        EXPECT_EQ(world.dialogs.shown[0].text, world.texts.GetText(ExpectedMessage(round)))
            << "kind " << static_cast<int>(round.kind) << " fault "
            << static_cast<int>(round.injected);
        ++transfers;
    }
    RecordProperty("cycles", static_cast<int>(cycles));
    RecordProperty("transfers", transfers);
    std::printf("soak: %ld cycles, %d transfers\n", cycles, transfers);
}

} // namespace
} // namespace lcdiag::e2e
