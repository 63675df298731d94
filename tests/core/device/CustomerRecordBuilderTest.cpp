#include "core/device/CustomerRecordBuilder.h"

#include "FixedClock.h"
#include "core/device/ConfigurationHistory.h"
#include "core/device/ReceiverCustomerSet.h"
#include "core/protocol/KeywordTable.h"
#include "core/protocol/RecordCodec.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

namespace lcdiag {
namespace {

using CF = ReceiverCustomerField;
using RF = ReceiverFactoryField;

class CustomerRecordTest : public ::testing::Test {
protected:
    CustomerRecordTest() {
        factory.SetByte(RF::DeviceType, 1);
        factory.SetMask(RF::BeamPresenceMask, BeamMask::FirstBeams(16));
        factory.WriteComplements();
        factory.SetByte(RF::RelayDelayDefault, 31);
        factory.SetByte(RF::InterruptionTimeDefault, 100);
    }

    CustomerRecordContext Context() { return {firmware, {3, 99}, clock, codec}; }

    bool ChecksumValid(const ReceiverCustomerRecord& record) const {
        return codec.TestChecksum(record.bytes, BlockKind::Customer, Layout::Long);
    }

    ReceiverFactoryRecord factory;
    ControllerFirmware firmware{133, 2};
    test::FixedClock clock;
    KeywordTable table;
    RecordCodec codec{table.KeywordSum()};
};

TEST_F(CustomerRecordTest, DefaultReceiverRecordHoldsTheDefaultSettings) {
    ReceiverFactoryRecord received = factory;
    received.SetByte(RF::RelayDelayDefault, 21);
    const ReceiverCustomerRecord record = BuildDefaultReceiverRecord(factory, received, Context());
    const std::uint8_t head[] = {4,   251, 12, 243, 21,  234, 144, 111, 2, 253, 30,  225,
                                 100, 155, 1,  44,  254, 211, 20,  235, 1, 44,  254, 211,
                                 180, 75,  1,  254, 0,   255, 0,   255, 0, 255, 0,   255};
    EXPECT_TRUE(std::ranges::equal(std::span(record.bytes).first(36), head));
    EXPECT_EQ(record.Mask(CF::FixedBlankingMask), BeamMask::FirstBeams(16));
    EXPECT_EQ(record.Mask(CF::MutingAreaMask), BeamMask::FirstBeams(16));
    EXPECT_EQ(record.Mask(CF::MutingAreaMaskComplement), BeamMask::FirstBeams(16).Complement());
    const std::uint8_t stamp[] = {5, 3, 14, 9, 8, 17};
    EXPECT_TRUE(std::ranges::equal(record.Bytes(CF::ActivationStamp), stamp));
    EXPECT_EQ(record.Byte(CF::MultipleInterruption), 'M');
    EXPECT_EQ(record.Byte(CF::MultipleInterruptionComplement), 255 - 'M');
    EXPECT_EQ(record.Byte(CF::PcVersionMajor), 3);
    EXPECT_EQ(record.Byte(CF::PcVersionMinor), 99);
    EXPECT_EQ(record.Number(CF::OperatingHours), 0u);
    EXPECT_EQ(record.Number(CF::OperatingHoursComplement), 0u);
    EXPECT_TRUE(ChecksumValid(record));

    for (ControllerFirmware without : {ControllerFirmware{132, 2}, ControllerFirmware{140, 1}}) {
        firmware = without;
        EXPECT_EQ(
            BuildDefaultReceiverRecord(factory, factory, Context()).Byte(CF::MultipleInterruption),
            0);
    }
}

TEST_F(CustomerRecordTest, SingleBeamGridKeepsItsBeamWhateverTheMaskSays) {
    factory.SetByte(RF::DeviceType, 7);
    factory.SetMask(RF::BeamPresenceMask, BeamMask{});
    const ReceiverCustomerRecord record = BuildDefaultReceiverRecord(factory, factory, Context());
    EXPECT_EQ(record.Byte(CF::FixedBlankingMask), 128);
    EXPECT_EQ(record.Byte(CF::FixedBlankingMaskComplement), 127);
    EXPECT_TRUE(ChecksumValid(record));

    ReceiverCustomerRecord edited;
    CompleteReceiverCustomerRecord(edited, factory, {}, Context());
    EXPECT_EQ(edited.Byte(CF::FixedBlankingMask), 128);
    EXPECT_EQ(edited.Byte(CF::FixedBlankingMaskComplement), 127);
}

TEST_F(CustomerRecordTest, CompletionTakesTheBlankingMaskOnlyWhenBlankingIsOn) {
    ReceiverCustomerRecord record;
    record.SetByte(CF::FunctionBits, function_bit::FixedBlanking);
    record.SetByte(CF::RelayDelay, 6);
    record.SetNumber(CF::MutingCycleTime, 0x1234);
    record.SetNumber(CF::OperatingHours, 999);
    ReceiverCustomerEdits edits{BeamMask::FirstBeams(16), BeamMask::FirstBeams(3), true};
    edits.fixedBlanking.Set(5, false);

    CompleteReceiverCustomerRecord(record, factory, edits, Context());
    EXPECT_EQ(record.Mask(CF::FixedBlankingMask), edits.fixedBlanking);
    EXPECT_EQ(record.Mask(CF::MutingAreaMask), BeamMask::FirstBeams(3));
    for (CF complement :
         {CF::FunctionBitsComplement, CF::RelayDelayComplement, CF::MutingCycleTimeComplement,
          CF::FloatingBeamsComplement, CF::FixedBlankingMaskComplement,
          CF::MutingAreaMaskComplement, CF::MultipleInterruptionComplement}) {
        EXPECT_TRUE(record.ComplementMatches(complement)) << static_cast<int>(complement);
    }
    EXPECT_EQ(record.Byte(CF::MultipleInterruption), 'M');
    EXPECT_EQ(record.Number(CF::OperatingHours), 0u);
    EXPECT_TRUE(ChecksumValid(record));
    // The controller's operating-hours counter lies outside the checksum.
    record.SetNumber(CF::OperatingHours, 1234);
    EXPECT_TRUE(ChecksumValid(record));

    record.SetByte(CF::FunctionBits, 0);
    firmware = {132, 2};
    CompleteReceiverCustomerRecord(record, factory, edits, Context());
    EXPECT_EQ(record.Mask(CF::FixedBlankingMask), BeamMask::FirstBeams(16));
    EXPECT_EQ(record.Byte(CF::MultipleInterruption), 0);
}

TEST_F(CustomerRecordTest, EmitterRecordWithBeamCodingOff) {
    const EmitterCustomerRecord record = BuildEmitterCustomerRecord(false, clock);
    const std::uint8_t expected[] = {65,  190, 0,   255, 0, 255, 0, 255, 0,
                                     255, 0,   255, 5,   3, 14,  9, 8,   17};
    EXPECT_TRUE(std::ranges::equal(std::span(record.bytes).first(18), expected));
    EXPECT_TRUE(RecordCodec::TestRecordChecksum(record.bytes));
    EXPECT_EQ(BuildEmitterCustomerRecord(true, clock).bytes[0], 'b');
}

class ReceiverCustomerSetTest : public CustomerRecordTest {
protected:
    // Eight short records; record i carries i + 1 in its relay delay and 10 + i operating
    // hours (short bytes 122-127).
    std::vector<std::uint8_t> ShortSet(int brokenSlot = -1) {
        std::vector<std::uint8_t> set;
        for (int i = 0; i < 8; ++i) {
            std::vector<std::uint8_t> record(128, 0);
            record[4] = static_cast<std::uint8_t>(i + 1);
            const std::uint8_t stamp[] = {5, 3, 14, 9, 8, 17}; // 05.03.2014 17:08:09
            std::ranges::copy(stamp, record.begin() + 108);
            const auto hours = static_cast<std::uint8_t>(10 + i);
            record[124] = hours;
            record[125] = record[126] = 0xFF;
            record[127] = static_cast<std::uint8_t>(~hours);
            codec.WriteChecksum(record, BlockKind::Customer, Layout::Short);
            if (i == brokenSlot)
                record[0] ^= 1;
            set.insert(set.end(), record.begin(), record.end());
        }
        return set;
    }

    ReceiverCustomerSet set;
};

TEST_F(ReceiverCustomerSetTest, ShortSetWidensAndCountsByItsActiveRecord) {
    set.SetActiveRecordIndex(2);
    ASSERT_TRUE(set.Receive(ShortSet(5), Layout::Short, codec));
    for (int slot = 0; slot < 8; ++slot)
        EXPECT_EQ(set.Slot(slot).Byte(CF::RelayDelay), slot + 1);
    EXPECT_EQ(set.Slot(7).bytes[126], 255); // the last slot widened too
    ASSERT_NE(set.ActiveRecord(), nullptr);
    EXPECT_EQ(set.ActiveRecord()->Byte(CF::RelayDelay), 3);
    EXPECT_EQ(set.ConfigurationDateText(), "05.03.2014");
    EXPECT_EQ(set.ConfigurationTimeText(), "17:08:09");
    EXPECT_EQ(set.OperatingHoursText(), "12");

    set.SetActiveRecordIndex(5);
    EXPECT_FALSE(set.Valid()); // judged for the old record until received again
    EXPECT_FALSE(set.Receive(ShortSet(5), Layout::Short, codec));
    EXPECT_EQ(set.ActiveRecord(), nullptr);
    EXPECT_EQ(set.ConfigurationDateText(), "xx.xx.xxxx");
    EXPECT_EQ(set.ConfigurationTimeText(), "xx:xx:xx");
}

TEST_F(ReceiverCustomerSetTest, OperatingHoursCountOnlyWithTheirComplements) {
    std::vector<std::uint8_t> longSet(8 * 152, 0);
    auto first = std::span(longSet).first(152);
    const std::uint8_t hours[] = {0x01, 0x02, 0x03, 0xFE, 0xFD, 0xFC};
    std::ranges::copy(hours, first.begin() + 146);
    codec.WriteChecksum(first, BlockKind::Customer, Layout::Long);
    set.SetActiveRecordIndex(0);
    ASSERT_TRUE(set.Receive(longSet, Layout::Long, codec));
    EXPECT_EQ(set.OperatingHoursText(), "66051");
    longSet[151] ^= 0x10; // outside the checksum: the set stays valid, the hours do not count
    ASSERT_TRUE(set.Receive(longSet, Layout::Long, codec));
    EXPECT_EQ(set.OperatingHoursText(), "0");

    set.SetActiveRecordIndex(255);
    EXPECT_FALSE(set.Receive(longSet, Layout::Long, codec));
    EXPECT_EQ(set.OperatingHoursText(), "0");
    EXPECT_FALSE(set.Receive(std::span(longSet).first(1215), Layout::Long, codec));
    EXPECT_FALSE(set.Received());
}

TEST(ConfigurationHistoryTest, ValidatesChecksumComplementAndHours) {
    const KeywordTable table;
    const RecordCodec codec{table.KeywordSum()};
    ReceiverCustomerRecord record;
    record.SetByte(CF::RelayDelay, 31);
    record.SetNumber(CF::OperatingHours, 0x010203);
    record.WriteComplement(CF::OperatingHoursComplement);
    codec.WriteChecksum(record.bytes, BlockKind::Customer, Layout::Long);
    ASSERT_TRUE(IsValidHistoryRecord(record, codec));
    EXPECT_EQ(ActivationOperatingHours(record), 66051u);

    ReceiverCustomerRecord badComplement = record;
    ASSERT_GT(badComplement.bytes[145], 0);
    --badComplement.bytes[145];
    ++badComplement.bytes[0]; // keeps the sum over bytes 0-145 right
    EXPECT_TRUE(codec.TestChecksum(badComplement.bytes, BlockKind::Customer, Layout::Long));
    EXPECT_FALSE(IsValidHistoryRecord(badComplement, codec));

    ReceiverCustomerRecord badHours = record;
    badHours.bytes[151] ^= 0x01;
    EXPECT_FALSE(IsValidHistoryRecord(badHours, codec));
    ReceiverCustomerRecord badSum = record;
    badSum.bytes[60] ^= 0x01;
    EXPECT_FALSE(IsValidHistoryRecord(badSum, codec));
}

TEST(ConfigurationHistoryTest, NumbersTheSlotsBackFromTheActiveOne) {
    EXPECT_EQ(ConfigurationOfSlot(5, 2, 2), (HistorySlot{253, false, 5}));
    EXPECT_EQ(ConfigurationOfSlot(3, 10, 3), (HistorySlot{10, true, 0}));
    EXPECT_EQ(ConfigurationOfSlot(2, 10, 3), (HistorySlot{9, false, 1}));
    EXPECT_EQ(ConfigurationOfSlot(4, 10, 3), (HistorySlot{3, false, 7}));
    EXPECT_EQ(ConfigurationOfSlot(4, 10, 3).AgeLabel(), "n-7");
    // The number wraps from 255 to 0 as the slot wraps from 7 to 0.
    EXPECT_EQ(ConfigurationOfSlot(7, 0, 0), (HistorySlot{255, false, 1}));
}

TEST(ConfigurationHistoryTest, WritesTheActivationStamp) {
    ReceiverCustomerRecord record;
    const std::uint8_t stamp[] = {5, 3, 14, 9, 8, 17};
    std::copy(std::begin(stamp), std::end(stamp), record.Bytes(CF::ActivationStamp).begin());
    EXPECT_EQ(ActivationStampText(record), "05.03.2014 17:08:09");
    const std::uint8_t odd[] = {31, 12, 255, 0, 100, 7};
    std::copy(std::begin(odd), std::end(odd), record.Bytes(CF::ActivationStamp).begin());
    EXPECT_EQ(ActivationStampText(record), "31.12.2255 07:100:00");
}

} // namespace
} // namespace lcdiag
