#include "sim/EmitterController.h"

#include "PcBench.h"
#include "sim/RecordBuilders.h"

#include <gtest/gtest.h>
#include <numeric>
#include <string>

namespace lcdiag::sim::test {
namespace {

// The PC's own rule for the emitter's records: complement and sum in the last four bytes,
// so that all bytes add up to the sum.
void Seal(std::vector<std::uint8_t>& record) {
    const std::size_t end = record.size();
    record[end - 4] = record[end - 3] = 255;
    record[end - 2] = record[end - 1] = 0;
    const unsigned sum = std::accumulate(record.begin(), record.end(), 0u) & 0xFFFF;
    record[end - 2] = static_cast<std::uint8_t>(sum >> 8);
    record[end - 1] = static_cast<std::uint8_t>(sum);
    record[end - 4] = static_cast<std::uint8_t>(~record[end - 2]);
    record[end - 3] = static_cast<std::uint8_t>(~record[end - 1]);
}

class EmitterBench : public ::testing::TestWithParam<Layout> {
protected:
    static ControllerConfig Config(Layout layout) {
        ControllerConfig config;
        config.unit = Unit::Emitter;
        config.layout = layout;
        config.firmware = {2, 123};
        return config;
    }
};

TEST_P(EmitterBench, IdentifiesReportsAndSendsDiagnosticRecordsAtTheLineSpeed) {
    PcBench bench(Config(GetParam()));
    const auto first = bench.Await({kw::EmitterIdentShort, kw::EmitterIdentLong});
    const auto second = bench.Await({kw::EmitterIdentShort, kw::EmitterIdentLong});
    ASSERT_TRUE(first && second);
    EXPECT_EQ(first->id, GetParam() == Layout::Long ? kw::EmitterIdentLong : kw::EmitterIdentShort);
    EXPECT_EQ(second->at - first->at, 500u);

    const auto report = bench.Diagnose();
    ASSERT_EQ(report.size(), 3u);
    EXPECT_EQ(std::string(report[0].data.begin(), report[0].data.end()), "123");
    EXPECT_TRUE(EmitterChecksumValid(report[1].data));
    EXPECT_EQ(report[1].data[0], 32); // beams
    EXPECT_EQ(report[1].data[2], 1);  // device type
    EXPECT_EQ(report[1].data[3], 2);  // variant
    EXPECT_TRUE(EmitterChecksumValid(report[2].data));
    EXPECT_EQ(report[2].data[0], 'A'); // no beam coding

    const auto one = bench.Await({kw::EmitterDiagnosticData}, 300);
    const auto two = bench.Await({kw::EmitterDiagnosticData}, 300);
    ASSERT_TRUE(one && two);
    EXPECT_EQ(two->at - one->at, 100u);
    EXPECT_EQ(bench.controller->BaudRate(), SimController::LineBaud);
    std::vector<std::uint8_t> record(64);
    EXPECT_TRUE(bench.codec.Decode(one->data, record, GetParam(), BlockKind::Diagnostic));
    EXPECT_EQ(record[0], 32);
    EXPECT_EQ(record[1], 0); // no faults
}

TEST_P(EmitterBench, StoresSoundRecordsAcknowledgesAndReportsThemAndDropsABrokenOne) {
    PcBench bench(Config(GetParam()));
    auto report = bench.Diagnose();
    ASSERT_EQ(report.size(), 3u);
    std::vector<std::uint8_t> factory = report[1].data;
    std::vector<std::uint8_t> customer = report[2].data;
    factory[0] = 16;
    factory[1] = 255 - 16;
    Seal(factory);
    customer[0] = 'b';
    customer[1] = 255 - 'b';
    Seal(customer);

    ASSERT_TRUE(bench.OpenEmitterForSettings());
    bench.Send(kw::EmitterFactoryFollows);
    bench.Run(25);
    bench.port.Write(factory);
    bench.Run(25);
    bench.port.Write(customer);
    ASSERT_TRUE(bench.Await({kw::EmitterFactoryStored}, 500));
    report = bench.Diagnose();
    ASSERT_EQ(report.size(), 3u);
    EXPECT_EQ(report[1].data, factory);
    EXPECT_EQ(report[2].data, customer);
    EXPECT_EQ(bench.controller->FactoryRecord(), factory);
    EXPECT_EQ(bench.controller->ActiveCustomerRecord(), customer);
    const auto cycle = bench.Await({kw::EmitterDiagnosticData}, 300);
    ASSERT_TRUE(cycle);
    EXPECT_EQ(cycle->data[0], 16); // the stored factory record counts from now on

    customer[0] = 'A';
    customer[1] = 255 - 'A';
    Seal(customer);
    ASSERT_TRUE(bench.OpenEmitterForSettings());
    bench.Send(kw::EmitterCustomerFollows);
    bench.Run(25);
    bench.port.Write(customer);
    ASSERT_TRUE(bench.Await({kw::EmitterCustomerStored}, 500));
    report = bench.Diagnose();
    ASSERT_EQ(report.size(), 3u);
    EXPECT_EQ(report[2].data, customer);

    // A record whose checksum does not match is dropped and the controller starts again.
    customer[12] ^= 1; // day changed, checksum left
    ASSERT_TRUE(bench.OpenEmitterForSettings());
    bench.Send(kw::EmitterCustomerFollows);
    bench.port.Write(customer);
    EXPECT_FALSE(bench.Await({kw::EmitterCustomerStored, kw::EmitterFirmware}, 400));
    EXPECT_EQ(bench.Identify().at(2).data, report[2].data);
}

// The coding byte and an unused byte changed without their complement in a record sealed
// again, then (-1) the checksum's complement changed with the sum of all bytes kept; the
// records the controller sent at its start are taken back.
TEST_P(EmitterBench, RefusesAValueThatDisagreesWithItsComplementAndTakesItsOwnRecords) {
    PcBench bench(Config(GetParam()));
    const auto report = bench.Diagnose();
    ASSERT_EQ(report.size(), 3u);
    const std::vector<std::uint8_t>& customer = report[2].data;
    for (int at : {emitter_customer::Coding, emitter_customer::Filler + 7, -1}) {
        SCOPED_TRACE(at);
        std::vector<std::uint8_t> broken = customer;
        if (at >= 0) {
            broken[static_cast<std::size_t>(at)] ^= 0x01;
            Seal(broken);
        } else {
            ShiftKeepingSum(broken, emitter_customer::ChecksumComplement);
        }
        ASSERT_TRUE(bench.OpenEmitterForSettings());
        bench.Send(kw::EmitterCustomerFollows, broken);
        EXPECT_FALSE(bench.Await({kw::EmitterCustomerStored, kw::EmitterFirmware}, 400));
        EXPECT_EQ(bench.Identify().at(2).data, customer);
    }
    ASSERT_TRUE(bench.OpenEmitterForSettings());
    bench.Send(kw::EmitterFactoryFollows, report[1].data);
    bench.port.Write(customer);
    EXPECT_TRUE(bench.Await({kw::EmitterFactoryStored}, 500));
}

INSTANTIATE_TEST_SUITE_P(BothLayouts, EmitterBench, ::testing::Values(Layout::Short, Layout::Long));

} // namespace
} // namespace lcdiag::sim::test
