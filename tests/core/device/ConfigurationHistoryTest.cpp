#include "core/device/ConfigurationHistory.h"

#include "core/protocol/KeywordTable.h"
#include "core/protocol/RecordCodec.h"

#include <gtest/gtest.h>

namespace lcdiag {
namespace {

using CF = ReceiverCustomerField;

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
