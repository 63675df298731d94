#include "core/device/FactoryRecordBuilder.h"

#include "FixedClock.h"
#include "core/protocol/KeywordTable.h"
#include "core/protocol/RecordCodec.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <numeric>
#include <tuple>

namespace lcdiag {
namespace {

using RF = ReceiverFactoryField;
using EF = EmitterFactoryField;

class ReceiverFactoryBuilderTest : public ::testing::Test {
protected:
    ReceiverFactoryBuilderTest() {
        // Every byte distinct, so that a byte the builder must keep shows when it is lost.
        std::iota(module.bytes.begin(), module.bytes.end(), std::uint8_t{1});
        input.productionDateTime = "05.03.2014 17:08:09";
        input.serialNumber = "  4711 ";
        input.tester = "Tm";
        input.swVersion = "1.3";
        input.hwVersion = "2.1";
        input.typeDesignation = "Z4-RU-11-160-1";
        input.functionReserveMax = "25";
        input.functionReserveOn = " 5 ";
        input.ossdOnWait = "2";
        input.ossdOffWait = "4";
        input.outputOnDelay = "10";
        input.floatingBeams = 2;
        input.blankingBeams = 15;
    }

    std::optional<FieldRefusal> Build() {
        return BuildReceiverFactoryRecord(input, module, firmware, {3, 99}, codec, sent);
    }

    // A refusal leaves the send buffer as it was.
    FieldRefusal Refused() {
        const ReceiverFactoryRecord before = sent;
        const std::optional<FieldRefusal> refusal = Build();
        EXPECT_EQ(sent, before);
        return refusal.value_or(FieldRefusal{});
    }

    ReceiverFactoryRecord module;
    ReceiverFactoryInput input;
    ControllerFirmware firmware{133, 1};
    KeywordTable table;
    RecordCodec codec{table.KeywordSum()};
    ReceiverFactoryRecord sent;
};

TEST_F(ReceiverFactoryBuilderTest, WritesTheFieldsOverTheModuleRecord) {
    ASSERT_FALSE(Build());
    const std::uint8_t date[] = {5, 3, 14, 9, 8, 17};
    EXPECT_TRUE(std::ranges::equal(sent.Bytes(RF::ProductionDate), date));
    const std::uint8_t serial[] = {'4', '7', '1', '1', 0, 0, 0, 0, 0, 0};
    EXPECT_TRUE(std::ranges::equal(sent.Bytes(RF::SerialNumber), serial));
    EXPECT_EQ(sent.Text(RF::Tester), "Tm");
    EXPECT_EQ(sent.Text(RF::SwVersion), "13");
    EXPECT_EQ(sent.Text(RF::HwVersion), "21");
    EXPECT_EQ(sent.Text(RF::ProductionData), "");
    EXPECT_EQ(sent.Text(RF::TypeDesignation), "Z4-RU-11-160-1");
    const std::pair<RF, int> bytes[] = {
        {RF::Cascading, 'A'},       {RF::CableRestart, 'K'},      {RF::FunctionReserveMax, 25},
        {RF::FunctionReserveOn, 5}, {RF::OssdOnWait, 2},          {RF::OssdOffWait, 4},
        {RF::OutputOnDelay, 10},    {RF::FloatingBeamsMax, 2},    {RF::BlankingBeamsMax, 15},
        {RF::PcVersionMajor, 3},    {RF::PcVersionMinor, 99},     {RF::Mark, 'T'},
        {RF::FirmwareType, '1'},    {RF::MultipleInterruption, 0}};
    for (auto [field, value] : bytes) {
        EXPECT_EQ(sent.Byte(field), value) << static_cast<int>(field);
    }
    EXPECT_TRUE(codec.TestChecksum(sent.bytes, BlockKind::Factory, Layout::Long));

    // The model data, the bytes the PC does not interpret and, on a standard controller, the
    // muting times stay as the module record has them.
    for (RF kept :
         {RF::BeamCount, RF::BeamCountComplement, RF::RelayDelayDefault, RF::Unused9, RF::Unused14,
          RF::InterruptionTimeDefault, RF::Unused19, RF::DeviceType, RF::MutingCycleTime,
          RF::ConveyorStopTime, RF::BeamPresenceMask, RF::BeamPresenceMaskComplement, RF::Unused81,
          RF::Unused189, RF::MutingCycleTimeHigh, RF::ConveyorStopTimeHigh}) {
        EXPECT_TRUE(std::ranges::equal(sent.Bytes(kept), module.Bytes(kept)))
            << static_cast<int>(kept);
    }
}

TEST_F(ReceiverFactoryBuilderTest, StoresTheQuartzCorrectionAsSignAndAmount) {
    input.quartzCorrection = -3;
    ASSERT_FALSE(Build());
    EXPECT_EQ(sent.Byte(RF::QuartzCorrection), 131);
    input.quartzCorrection = 7;
    ASSERT_FALSE(Build());
    EXPECT_EQ(sent.Byte(RF::QuartzCorrection), 7);
    EXPECT_EQ(DecodeQuartzCorrection(131), -3);

    input.quartzCorrection = -8;
    EXPECT_EQ(Refused(), (FieldRefusal{121, 2051, "-8", "Edt_RFS_51", {}}));
}

TEST_F(ReceiverFactoryBuilderTest, SplitsLongMutingTimesFromFirmware133) {
    firmware = {133, 2};
    input.mutingCycleTenths = 3600000; // 100 hours = 360000 s = 0x057E40
    input.conveyorStopTenths = 3000;
    ASSERT_FALSE(Build());
    EXPECT_EQ(sent.Byte(RF::MutingCycleTime), 0x7E);
    EXPECT_EQ(sent.Bytes(RF::MutingCycleTime)[1], 0x40);
    EXPECT_EQ(sent.Byte(RF::MutingCycleTimeHigh), 0x05);
    EXPECT_EQ(sent.Number(RF::ConveyorStopTime), 300u);
    EXPECT_EQ(sent.Byte(RF::ConveyorStopTimeHigh), 0);
    EXPECT_EQ(sent.Byte(RF::FirmwareType), '2');
    EXPECT_EQ(ReadMutingMaxima(sent, firmware).mutingCycleTenths, 3600000u);

    // Older firmware has 16 bits only: bytes 203 and 204 stay, a longer time is refused.
    firmware = {132, 2};
    input.mutingCycleTenths = 648000;
    ASSERT_FALSE(Build());
    EXPECT_EQ(sent.Number(RF::MutingCycleTime), 64800u);
    EXPECT_EQ(sent.Byte(RF::MutingCycleTimeHigh), module.Byte(RF::MutingCycleTimeHigh));
    EXPECT_EQ(ReadMutingMaxima(sent, firmware).mutingCycleTenths, 648000u);
    input.mutingCycleTenths = 655360;
    EXPECT_EQ(Refused(), (FieldRefusal{121, 2081, "65536", "M_RFS_81", {}}));
}

TEST_F(ReceiverFactoryBuilderTest, MarksMultipleInterruptionForFirmware132Only) {
    input.multipleInterruption = true;
    for (auto [version, digit, mark] :
         {std::tuple{132, 2, 'M'}, {132, 3, 'M'}, {132, 1, 0}, {133, 2, 0}, {131, 2, 0}}) {
        firmware = {version, digit};
        ASSERT_FALSE(Build());
        EXPECT_EQ(sent.Byte(RF::MultipleInterruption), mark) << version << " " << digit;
    }
    firmware = {132, 2};
    input.multipleInterruption = false;
    ASSERT_FALSE(Build());
    EXPECT_EQ(sent.Byte(RF::MultipleInterruption), 0);
}

TEST_F(ReceiverFactoryBuilderTest, RefusesTheFirstBadFieldNamingItsLabel) {
    input.serialNumber = "   ";
    input.outputOnDelay = "300"; // also bad, but checked later
    EXPECT_EQ(Refused(), (FieldRefusal{120, 2012, "", "Edt_RFS_12", {}}));

    input.serialNumber = "1";
    EXPECT_EQ(Refused(), (FieldRefusal{121, 2043, "300", "Edt_RFS_43", {}}));
    input.outputOnDelay = "10";

    for (const char* bad : {"-1", "256", "abc", "", "1 2", "99999999999999999999999"}) {
        input.functionReserveMax = bad;
        EXPECT_EQ(Refused(), (FieldRefusal{121, 2031, bad, "Edt_RFS_31", {}})) << bad;
    }
    input.functionReserveMax = "255";
    EXPECT_FALSE(Build());

    input.typeDesignation = ""; // a model that cannot be named
    EXPECT_EQ(Refused().labelTextId, 2024);
    input.typeDesignation = "Z4-RU-11-160-1";

    input.swVersion = " . ";
    EXPECT_EQ(Refused(), (FieldRefusal{120, 2014, "", "Edt_RFS_14", {}}));
    input.swVersion = "1.";
    EXPECT_EQ(Refused(), (FieldRefusal{122, 2014, "", "Edt_RFS_14", {}}));
    input.swVersion = "1.3";
    input.hwVersion = "12";
    EXPECT_EQ(Refused().messageId, 122);
    input.hwVersion = "1.0";

    for (const char* bad : {"", "31.02.2014 10:00:00", "05.03.2014", "5.3.2014 24:00"}) {
        input.productionDateTime = bad;
        EXPECT_EQ(Refused(), (FieldRefusal{121, 2011, bad, "Edt_RFS_11", {}})) << bad;
    }
    input.productionDateTime = "29.2.2016 0:05";
    ASSERT_FALSE(Build());
    const std::uint8_t date[] = {29, 2, 16, 0, 5, 0};
    EXPECT_TRUE(std::ranges::equal(sent.Bytes(RF::ProductionDate), date));
}

TEST_F(ReceiverFactoryBuilderTest, LimitsFloatingBeamsOnOlderFirmware) {
    input.floatingBeams = 3;
    firmware = {121, 1};
    EXPECT_EQ(Refused(), (FieldRefusal{147, 0, "", "Edt_RFS_61", 2}));
    firmware = {135, 2};
    EXPECT_EQ(Refused().messageId, 147);
    for (ControllerFirmware newer : {ControllerFirmware{122, 1}, ControllerFirmware{136, 3}}) {
        firmware = newer;
        ASSERT_FALSE(Build());
        EXPECT_EQ(sent.Byte(RF::FloatingBeamsMax), 3);
    }
    input.blankingBeams = 256;
    EXPECT_EQ(Refused(), (FieldRefusal{121, 2071, "256", "Edt_RFS_71", {}}));
}

TEST(EmitterFactoryBuilderTest, BuildsTheRecordAndItsCustomerRecord) {
    ReceiverFactoryRecord module;
    module.SetByte(RF::BeamCount, 20);
    module.SetByte(RF::DeviceType, 2);
    EmitterFactoryInput input{"01.12.2020 08:30:00", "SN12", "Tm", "1.4", "DVX715IE0410-30RFBC", 3};
    const test::FixedClock clock;
    EmitterFactorySend sent;
    ASSERT_FALSE(BuildEmitterFactoryRecord(input, module, clock, sent));

    const std::uint8_t head[] = {20, 235, 2, 3,   252, 255, 0,   255, 0,   255, 0, 255, 1, 12, 20,
                                 0,  30,  8, '1', '4', 'S', 'N', '1', '2', 0,   0, 0,   0, 0,  0};
    EXPECT_TRUE(std::ranges::equal(std::span(sent.factory.bytes).first(30), head));
    EXPECT_EQ(sent.factory.Text(EF::CustomerDesignation), "DVX715IE0410-30RFBC");
    EXPECT_EQ(sent.factory.Text(EF::Tester), "Tm");
    EXPECT_TRUE(RecordCodec::TestRecordChecksum(sent.factory.bytes));
    EXPECT_EQ(sent.customer.Byte(EmitterCustomerField::BeamCoding), 'A');

    input.variant = 7; // no variant button chosen counts as the standard version
    input.customerDesignation = "";
    EmitterFactorySend before = sent;
    EXPECT_EQ(BuildEmitterFactoryRecord(input, module, clock, sent),
              (FieldRefusal{120, 2023, "", "Edt_EFS_21", {}}));
    EXPECT_EQ(sent.factory, before.factory);
    input.customerDesignation = "X";
    ASSERT_FALSE(BuildEmitterFactoryRecord(input, module, clock, sent));
    EXPECT_EQ(sent.factory.Byte(EF::Variant), 1);
}

TEST(FactoryReadBackTest, ShowsVersionsWithAPoint) {
    EXPECT_EQ(VersionText("13"), "1.3");
    EXPECT_EQ(VersionText("1"), "1.0");
    EXPECT_EQ(VersionText(""), "1.0");
}

} // namespace
} // namespace lcdiag
