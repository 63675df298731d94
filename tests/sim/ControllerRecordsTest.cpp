#include "sim/ReceiverController.h"
#include "sim/RecordChecks.h"

#include <gtest/gtest.h>

namespace lcdiag::sim::test {
namespace {

namespace c = receiver_customer;
namespace f = receiver_factory;
using Record = std::vector<std::uint8_t>;

bool Beam(std::span<const std::uint8_t> mask, int beam) {
    return (mask[static_cast<std::size_t>((beam - 1) / 8)] & (0x80 >> ((beam - 1) % 8))) != 0;
}

// The beams present in the factory record that the mask at `offset` has cleared.
std::vector<int> Cleared(const Record& record, int offset, const Record& factory) {
    std::vector<int> beams;
    for (int beam = 1; beam <= MaskBytes * 8; ++beam) {
        if (Beam(std::span(factory).subspan(f::PresenceMask), beam) &&
            !Beam(std::span(record).subspan(static_cast<std::size_t>(offset)), beam)) {
            beams.push_back(beam);
        }
    }
    return beams;
}

// A time in seconds as the firmware reads it: bits 16-23 count from 1.33 on.
int Time(const Record& record, int low, int high, int version) {
    const auto at = [&record](int offset) { return record[static_cast<std::size_t>(offset)]; };
    return (version >= 133 ? at(high) << 16 : 0) | at(low) << 8 | at(low + 1);
}

// What the settings pages rely on: nothing beyond the factory's limits, the synchronisation
// beam never blanked, no cyclic operation on a beam grid, the high bytes of the times and the
// multiple-interruption mark only where the firmware has them.
void ExpectWithinTheFactoryLimits(const Record& customer, const Record& factory, Firmware fw) {
    EXPECT_LE(customer[c::FloatingBeams], factory[f::FloatingBeamsMax]);
    if ((customer[c::Functions] & c::FloatingBlanking) != 0) {
        EXPECT_GE(factory[f::FloatingBeamsMax], 1);
    }
    if ((customer[c::Functions] & c::FixedBlanking) != 0) {
        const auto blanked = Cleared(customer, c::BlankingMask, factory);
        EXPECT_FALSE(blanked.empty());
        EXPECT_LE(static_cast<int>(blanked.size()), factory[f::BlankingBeamsMax]);
        EXPECT_TRUE(Beam(std::span(customer).subspan(c::BlankingMask), 1));
    }
    if (fw.typeDigit >= 2) {
        EXPECT_LE(Time(customer, c::MutingCycleTime, c::MutingCycleTimeHigh, fw.version),
                  Time(factory, f::MutingCycleMax, f::MutingCycleMaxHigh, fw.version));
        EXPECT_LE(Time(customer, c::ConveyorStop, c::ConveyorStopHigh, fw.version),
                  Time(factory, f::ConveyorStopMax, f::ConveyorStopMaxHigh, fw.version));
    }
    if (fw.version < 133) {
        EXPECT_EQ(customer[c::MutingCycleTimeHigh] | customer[c::ConveyorStopHigh], 0);
    }
    const int mark = customer[c::MultipleInterruption];
    EXPECT_TRUE(mark == 0 || (mark == 'M' && fw.typeDigit >= 2 && fw.version >= 133));
    const int type = factory[f::DeviceType];
    const bool grid = type == 3 || type == 4 || type == 5 || type == 7;
    EXPECT_FALSE(grid && (customer[c::Special] & c::CyclicOperation) != 0);
}

// Every controller generation starts with records that pass its own store checks (so the PC
// can send them back unchanged) and that the settings pages can load as they are.
TEST(ControllerRecords, EveryVariantFirmwareAndDeviceTypeStartsWithSoundConsistentRecords) {
    const KeywordTable table;
    const RecordCodec codec(table.KeywordSum());
    for (int digit : {1, 2, 3}) {
        for (int version : {121, 122, 132, 133, 135, 136}) {
            for (int type = 1; type <= 8; ++type) {
                for (Layout layout : {Layout::Short, Layout::Long}) {
                    SCOPED_TRACE(::testing::Message()
                                 << "variant " << digit << " firmware " << version << " type "
                                 << type << " layout " << static_cast<int>(layout));
                    ControllerConfig config;
                    config.firmware = {digit, version};
                    config.deviceType = type;
                    config.layout = layout;
                    config.seed = static_cast<std::uint32_t>(version + type);
                    const ReceiverController controller(config);
                    const Record factory = controller.FactoryRecord();
                    EXPECT_TRUE(
                        ReceiverRecordSound(factory, BlockKind::Factory, Layout::Long, codec));
                    EXPECT_LT(factory[f::FloatingBeamsMax], factory[f::BeamCount]);
                    EXPECT_LT(factory[f::BlankingBeamsMax], factory[f::BeamCount]);
                    EXPECT_EQ(factory[f::MultipleInterruption], 0); // unless asked for
                    // Muting maxima for the muting variants only, beyond 16 bits from 1.33.
                    const int muting = Time(factory, f::MutingCycleMax, f::MutingCycleMaxHigh, 136);
                    const int conveyor =
                        Time(factory, f::ConveyorStopMax, f::ConveyorStopMaxHigh, 136);
                    EXPECT_EQ(muting > 0 && conveyor > 0, digit >= 2);
                    EXPECT_EQ(muting > 0xFFFF, digit >= 2 && version >= 133);
                    for (int slot = 0; slot < ReceiverController::RingSlots; ++slot) {
                        SCOPED_TRACE(slot);
                        const auto wire = controller.CustomerRecord(slot);
                        EXPECT_TRUE(ReceiverRecordSound(wire, BlockKind::Customer, layout, codec));
                        Record customer(c::Size);
                        codec.Decode(wire, customer, layout, BlockKind::Customer);
                        ExpectWithinTheFactoryLimits(customer, factory, config.firmware);
                    }
                }
            }
        }
    }
    for (int digit : {1, 2, 3}) {
        for (int type = 1; type <= 8; ++type) {
            ControllerConfig config;
            config.unit = Unit::Emitter;
            config.firmware = {digit, 123};
            config.deviceType = type;
            const auto emitter = MakeController(config);
            EXPECT_TRUE(EmitterFactorySound(emitter->FactoryRecord())) << digit << type;
            EXPECT_TRUE(EmitterCustomerSound(emitter->ActiveCustomerRecord())) << digit << type;
        }
    }
}

// A test's choice of settings is completed into a record the controller would take from a
// PC, with a time's bits 16-23 only where the firmware keeps them; the factory can force
// multiple interruption.
TEST(ControllerRecords, ChosenActiveSettingsAreCompletedAsThePcWritesThem) {
    CustomerSettings chosen;
    chosen.functions = 0x09; // start interlock, fixed blanking
    chosen.relayDelay = 11;
    chosen.special = 0xA8;          // muting of the taught sample
    chosen.mutingCycleTime = 72000; // 20 h: 0x011940
    chosen.conveyorStopTime = 4000;
    chosen.blankedBeams = {3, 4, 5};
    chosen.mutedBeams = {7, 8};
    chosen.multipleInterruption = true;
    const KeywordTable table;
    const RecordCodec codec(table.KeywordSum());
    for (int version : {132, 133}) {
        for (Layout layout : {Layout::Short, Layout::Long}) {
            SCOPED_TRACE(::testing::Message() << version << " " << static_cast<int>(layout));
            ControllerConfig config;
            config.firmware = {2, version};
            config.layout = layout;
            config.activeSettings = chosen;
            config.forcedMultipleInterruption = true;
            config.scenes.blankedZone = true; // chosen settings are kept as they are
            const ReceiverController controller(config);
            const Record factory = controller.FactoryRecord();
            EXPECT_TRUE(ReceiverRecordSound(factory, BlockKind::Factory, Layout::Long, codec));
            EXPECT_EQ(factory[f::MultipleInterruption], 'M');
            EXPECT_TRUE(ReceiverRecordSound(controller.CustomerRecord(controller.ActiveSlot()),
                                            BlockKind::Customer, layout, codec));
            const Record active = controller.ActiveCustomerRecord();
            EXPECT_EQ(active[c::Functions], 0x09);
            EXPECT_EQ(active[c::RelayDelay], 11);
            EXPECT_EQ(active[c::Special], 0xA8);
            EXPECT_EQ(Time(active, c::MutingCycleTime, c::MutingCycleTimeHigh, 136),
                      version >= 133 ? 72000 : 0x1940);
            EXPECT_EQ(Time(active, c::ConveyorStop, c::ConveyorStopHigh, 136), 4000);
            EXPECT_EQ(Cleared(active, c::BlankingMask, factory), (std::vector<int>{3, 4, 5}));
            EXPECT_EQ(Cleared(active, c::MutingMask, factory), (std::vector<int>{7, 8}));
            EXPECT_EQ(active[c::MultipleInterruption], 'M');
        }
    }
}

} // namespace
} // namespace lcdiag::sim::test
