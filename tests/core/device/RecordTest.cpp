#include "core/device/BeamMask.h"
#include "core/device/EmitterFactoryRecord.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace lcdiag {
namespace {

using EF = EmitterFactoryField;

TEST(BeamMaskTest, NumbersBeamsFromTheMostSignificantBitOfByteZero) {
    BeamMask mask;
    mask.Set(0, true);
    mask.Set(9, true);
    mask.Set(191, true);
    EXPECT_EQ(mask.bytes[0], 0x80);
    EXPECT_EQ(mask.bytes[1], 0x40);
    EXPECT_EQ(mask.bytes[23], 0x01);
    mask.Toggle(9);
    EXPECT_FALSE(mask.Test(9));
    EXPECT_EQ(mask.Complement().bytes[0], 0x7F);
    EXPECT_EQ(BeamMask::FirstBeams(10).bytes[1], 0xC0);
    EXPECT_EQ(BeamMask::FirstBeams(10).CountSet(9), 9);
}

TEST(BeamMaskTest, CountsFromTheDeviceNeverReachPastTheMask) {
    BeamMask mask;
    mask.Set(192, true);
    mask.Set(-1, true);
    EXPECT_EQ(mask, BeamMask{});
    EXPECT_FALSE(mask.Test(255));
    EXPECT_EQ(BeamMask::FirstBeams(255), BeamMask::FirstBeams(192));
    EXPECT_EQ(BeamMask::FirstBeams(-3), BeamMask{});
    EXPECT_EQ(BeamMask::FirstBeams(192).CountSet(255), 192);
    EXPECT_EQ(BeamMask::From(std::vector<std::uint8_t>{0xFF}).CountSet(192), 8);
}

TEST(RecordTest, ReadsAndWritesFieldsByName) {
    EmitterFactoryRecord record;
    record.SetNumber(EF::Checksum, 0x12345);
    EXPECT_EQ(record.bytes[62], 0x23);
    EXPECT_EQ(record.bytes[63], 0x45);
    EXPECT_EQ(record.Number(EF::Checksum), 0x2345u);

    record.SetText(EF::SerialNumber, "0123456789AB"); // cut to the field's ten bytes
    EXPECT_EQ(record.Text(EF::SerialNumber), "0123456789");
    EXPECT_EQ(record.bytes[30], 0);
    record.SetText(EF::SerialNumber, std::string("A\0\x1F"
                                                 "B",
                                                 4));
    EXPECT_EQ(record.Text(EF::SerialNumber), "AB"); // bytes below 32 are dropped

    record.SetByte(EF::Variant, 2);
    EXPECT_FALSE(record.ComplementMatches(EF::VariantComplement));
    record.WriteComplement(EF::VariantComplement);
    EXPECT_EQ(record.Byte(EF::VariantComplement), 253);
    EXPECT_TRUE(record.ComplementMatches(EF::VariantComplement));
    EXPECT_FALSE(record.ComplementMatches(EF::Variant)); // not a complement field

    EXPECT_EQ(EmitterFactoryRecord::From(std::vector<std::uint8_t>(3, 7)).bytes[3], 0);
}

} // namespace
} // namespace lcdiag
