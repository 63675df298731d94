#include "PcBench.h"
#include "core/protocol/ConfigTrailer.h"
#include "sim/RecordBuilders.h"

#include <gtest/gtest.h>
#include <string>
#include <tuple>

namespace lcdiag::sim::test {
namespace {

int BitsSet(std::span<const std::uint8_t> mask) {
    int count = 0;
    for (std::uint8_t byte : mask) {
        count += __builtin_popcount(byte);
    }
    return count;
}

std::string Text(std::span<const std::uint8_t> bytes) {
    return {bytes.begin(), bytes.end()};
}

std::uint32_t Hours(std::span<const std::uint8_t> bytes) {
    return static_cast<std::uint32_t>(bytes[0] << 16 | bytes[1] << 8 | bytes[2]);
}

class ReceiverCourse : public ::testing::TestWithParam<Layout> {
protected:
    ControllerConfig Config() const {
        ControllerConfig config;
        config.layout = GetParam();
        return config;
    }
    bool IsLong() const { return GetParam() == Layout::Long; }
};

// Starts just before the tick wraps, so every interval is also measured across the wrap.
TEST_P(ReceiverCourse, IdentifiesReportsItsDataAndCycles) {
    PcBench bench(Config(), 0xFFFFFE00u);
    const auto first = bench.Await({kw::ReceiverIdentShort, kw::ReceiverIdentLong});
    const auto second = bench.Await({kw::ReceiverIdentShort, kw::ReceiverIdentLong});
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->id, IsLong() ? kw::ReceiverIdentLong : kw::ReceiverIdentShort);
    EXPECT_EQ(second->at - first->at, 500u); // repeated while nobody answers

    const auto report = bench.Diagnose();
    ASSERT_EQ(report.size(), 4u);
    EXPECT_EQ(report[0].id, kw::FirmwareWithType);
    EXPECT_EQ(Text(report[0].data), "1136");
    EXPECT_EQ(report[1].id, kw::OperatingHours);
    EXPECT_EQ(Hours(report[1].data), 18734u);
    EXPECT_EQ(Hours(std::span(report[1].data).subspan(3)), 18734u);

    const Frame& factory = report[2];
    const int factoryLength = BlockLength(BlockKind::Factory, bench.layout);
    ASSERT_EQ(factory.data.size(), static_cast<std::size_t>(factoryLength + ConfigTrailer::Size));
    std::vector<std::uint8_t> factoryRecord(212);
    EXPECT_TRUE(bench.codec.Decode(factory.data, factoryRecord, bench.layout, BlockKind::Factory));
    const auto trailer =
        ConfigTrailer::Parse(bench.table, std::span(factory.data).subspan(factoryLength));
    ASSERT_TRUE(trailer);
    EXPECT_EQ(trailer->number, 11);
    EXPECT_EQ(trailer->pointer, 1024 + 3 * (IsLong() ? 152 : 128));

    std::vector<std::uint8_t> records(8 * 152);
    EXPECT_TRUE(bench.codec.DecodeCustomerSet(report[3].data, records, bench.layout, 3));

    EXPECT_EQ(bench.controller->BaudRate(), SimController::FastBaud);
    const auto one = bench.AwaitCycle();
    ASSERT_TRUE(one);
    const std::uint32_t firstCycle = bench.clock.Now();
    const auto two = bench.AwaitCycle();
    ASSERT_TRUE(two);
    EXPECT_EQ(bench.clock.Now() - firstCycle, 30u);
    const auto& parts = *one;
    EXPECT_EQ(parts[0][2], 32);               // the typical beam count of type 1
    EXPECT_EQ(parts[1][3], 1);                // device type
    EXPECT_EQ(parts[0][4], records[3 * 152]); // function status = the active record's bits
    EXPECT_EQ(BitsSet(std::span(parts[0]).subspan(6, 24)), 32); // every beam free
    EXPECT_EQ(Text(std::span(parts[0]).subspan(34, 5)) + Text(std::span(parts[1]).subspan(34, 5)),
              "1408230117");
}

TEST_P(ReceiverCourse, FallsBackToIdentificationWhenDiagnosisIsNotStarted) {
    PcBench bench(Config());
    ASSERT_EQ(bench.Identify().size(), 4u);
    const std::uint32_t reported = bench.clock.Now();
    const auto again = bench.Await({kw::ReceiverIdentShort, kw::ReceiverIdentLong});
    ASSERT_TRUE(again);
    EXPECT_GE(again->at - reported, 1000u - 40u); // the report's last bytes took some time
    EXPECT_EQ(bench.Identify().size(), 4u);
}

INSTANTIATE_TEST_SUITE_P(BothLayouts, ReceiverCourse,
                         ::testing::Values(Layout::Short, Layout::Long));

TEST(ReceiverFirmware, ReportsTypeDigitAndVersionOrTheVersionAloneWhenOld) {
    const std::tuple<int, int, int, std::string> cases[] = {
        {1, 109, kw::FirmwareType1, "109"},
        {1, 122, kw::FirmwareWithType, "1122"},
        {2, 135, kw::FirmwareWithType, "2135"},
        {3, 133, kw::FirmwareWithType, "3133"},
    };
    for (const auto& [digit, version, id, text] : cases) {
        ControllerConfig config;
        config.firmware = {digit, version};
        PcBench bench(config);
        const auto report = bench.Identify();
        ASSERT_FALSE(report.empty());
        EXPECT_EQ(report[0].id, id) << version;
        EXPECT_EQ(Text(report[0].data), text);
    }
}

TEST(ReceiverTypes, EveryDeviceTypeReportsItsBeamsInFactoryRecordAndCycles) {
    struct Case {
        int type;
        int asked;
        Layout layout;
        int beams;
    };
    const Case cases[] = {
        {1, 0, Layout::Long, 32},    {1, 192, Layout::Long, 192}, {1, 192, Layout::Short, 144},
        {2, 104, Layout::Long, 104}, {3, 0, Layout::Long, 4},     {4, 9, Layout::Long, 3},
        {5, 1, Layout::Short, 1},    {6, 50, Layout::Long, 50},   {7, 0, Layout::Long, 1},
        {8, 74, Layout::Short, 74},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "type " << c.type << " asked " << c.asked);
        ControllerConfig config;
        config.deviceType = c.type;
        config.beamCount = c.asked;
        config.layout = c.layout;
        PcBench bench(config);
        const auto report = bench.Diagnose();
        ASSERT_EQ(report.size(), 4u);
        std::vector<std::uint8_t> factory(212);
        ASSERT_TRUE(bench.codec.Decode(report[2].data, factory, c.layout, BlockKind::Factory));
        EXPECT_EQ(factory[0], c.beams);
        EXPECT_EQ(factory[1], 255 - c.beams);
        EXPECT_EQ(factory[21], c.type);
        const int channels = c.type == 7 ? 2 : c.beams; // a single-beam grid has two channels
        EXPECT_EQ(BitsSet(std::span(factory).subspan(27, 24)), channels);
        const auto cycle = bench.AwaitCycle();
        ASSERT_TRUE(cycle);
        EXPECT_EQ((*cycle)[0][2], channels);
        EXPECT_EQ((*cycle)[1][3], c.type);
        EXPECT_EQ(BitsSet(std::span((*cycle)[0]).subspan(6, 24)), channels);
    }
}

// Slot a holds configuration c, slot a-1 configuration c-1 and so on round the ring; each
// was activated earlier and at fewer operating hours than the one after it.
TEST(ReceiverHistory, ConfigurationsGoBackInTimeAndHoursAndUnusedSlotsAreErased) {
    ControllerConfig config;
    config.seed = 7;
    PcBench bench(config);
    const auto report = bench.Identify();
    ASSERT_EQ(report.size(), 4u);
    std::vector<std::uint8_t> records(8 * 152);
    ASSERT_TRUE(bench.codec.DecodeCustomerSet(report[3].data, records, Layout::Long, 3));
    std::tuple<int, int, int, int, int, int> newer{9999, 0, 0, 0, 0, 0};
    std::uint32_t newerHours = config.operatingHours + 1;
    for (int age = 0; age < 8; ++age) {
        SCOPED_TRACE(age);
        const auto record =
            std::span(records).subspan(static_cast<std::size_t>((3 - age + 8) % 8) * 152, 152);
        EXPECT_TRUE(bench.codec.TestChecksum(record, BlockKind::Customer, Layout::Long));
        EXPECT_TRUE(HasActivationHours(record));
        const std::tuple stamp{2000 + record[134], record[133], record[132],
                               record[137],        record[136], record[135]};
        EXPECT_LT(stamp, newer);
        EXPECT_TRUE(std::get<0>(stamp) >= 2020 && std::get<1>(stamp) >= 1 &&
                    std::get<1>(stamp) <= 12 && std::get<2>(stamp) >= 1 &&
                    std::get<2>(stamp) <= 31);
        const std::uint32_t hours = Hours(record.subspan(146));
        EXPECT_LT(hours, newerHours);
        newer = stamp;
        newerHours = hours;
    }

    // Three configurations in slots 0, 1 and 7: the others hold erased memory.
    config.activeSlot = 1;
    config.storedConfigurations = 3;
    config.layout = Layout::Short;
    PcBench fewer(config);
    const auto three = fewer.Identify();
    ASSERT_EQ(three.size(), 4u);
    for (int slot = 0; slot < 8; ++slot) {
        const bool used = slot == 0 || slot == 1 || slot == 7;
        EXPECT_EQ(fewer.codec.TestChecksum(
                      std::span(three[3].data).subspan(static_cast<std::size_t>(slot) * 128, 128),
                      BlockKind::Customer, Layout::Short),
                  used)
            << slot;
    }
}

} // namespace
} // namespace lcdiag::sim::test
