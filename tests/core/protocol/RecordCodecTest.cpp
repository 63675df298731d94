#include "core/protocol/RecordCodec.h"

#include "core/protocol/KeywordTable.h"

#include <gtest/gtest.h>
#include <numeric>
#include <vector>

namespace lcdiag {
namespace {

using Block = std::vector<std::uint8_t>;

class RecordCodecTest : public ::testing::Test {
protected:
    static Block Counting(int length, int start = 1) {
        Block block(static_cast<std::size_t>(length));
        std::iota(block.begin(), block.end(), static_cast<std::uint8_t>(start));
        return block;
    }
    static std::uint16_t StoredAt(const Block& block, int at) {
        return static_cast<std::uint16_t>(block[static_cast<std::size_t>(at)] << 8 |
                                          block[static_cast<std::size_t>(at) + 1]);
    }

    KeywordTable table;
    RecordCodec codec{table.KeywordSum()};
};

// The short layout leaves out six-byte pieces; decoding widens them with 0 or 255 and the
// long block gets a valid internal checksum whatever the short one carried.
TEST_F(RecordCodecTest, ShortBlocksWidenAtTheirPieceBoundaries) {
    struct Fill {
        int first;
        int last;
        std::uint8_t value;
    };
    struct Row {
        BlockKind kind;
        std::vector<std::pair<int, int>> copied; // short index -> long index
        std::vector<Fill> filled;
    };
    const Row rows[] = {
        {BlockKind::Factory,
         {{44, 44}, {45, 51}, {62, 68}, {63, 75}, {195, 207}},
         {{45, 50, 0}, {69, 74, 255}}},
        {BlockKind::Customer,
         {{0, 0},
          {53, 53},
          {54, 60},
          {71, 77},
          {72, 84},
          {89, 101},
          {90, 108},
          {107, 125},
          {108, 132},
          {117, 141},
          {127, 151}},
         {{54, 59, 0}, {78, 83, 255}, {102, 107, 0}, {126, 131, 255}}},
        {BlockKind::CyclePart, {{23, 23}, {24, 30}, {32, 38}}, {{24, 29, 0}}},
        {BlockKind::Diagnostic, {{31, 31}, {32, 38}, {49, 55}}, {{32, 37, 255}, {56, 61, 0}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(static_cast<int>(row.kind));
        Block source = Counting(BlockLength(row.kind, Layout::Short));
        Block target(static_cast<std::size_t>(BlockLength(row.kind, Layout::Long)), 0xEE);
        EXPECT_FALSE(codec.Decode(source, target, Layout::Short, row.kind));
        for (auto [from, to] : row.copied) {
            EXPECT_EQ(target[to], source[from]) << from << "->" << to;
        }
        for (const Fill& fill : row.filled) {
            for (int i = fill.first; i <= fill.last; ++i) {
                EXPECT_EQ(target[i], fill.value) << i;
            }
        }
        EXPECT_TRUE(codec.TestChecksum(target, row.kind, Layout::Long));
        codec.WriteChecksum(source, row.kind, Layout::Short);
        EXPECT_TRUE(codec.Decode(source, target, Layout::Short, row.kind));
    }
}

TEST_F(RecordCodecTest, EncodeInvertsDecodeAndLongBlocksPassUnchanged) {
    for (auto [kind, shortLength] : {std::pair{BlockKind::Factory, 200},
                                     {BlockKind::Customer, 128},
                                     {BlockKind::CyclePart, 35},
                                     {BlockKind::Diagnostic, 52}}) {
        Block original = Counting(shortLength, 3);
        codec.WriteChecksum(original, kind, Layout::Short);
        Block internal(static_cast<std::size_t>(BlockLength(kind, Layout::Long)));
        ASSERT_TRUE(codec.Decode(original, internal, Layout::Short, kind));
        Block encoded(original.size());
        ASSERT_TRUE(codec.Encode(internal, encoded, Layout::Short, kind));
        EXPECT_EQ(encoded, original) << static_cast<int>(kind);
    }
    Block source = Counting(41, 7); // long blocks are copied unchanged
    codec.WriteChecksum(source, BlockKind::CyclePart, Layout::Long);
    Block target(41);
    EXPECT_TRUE(codec.Decode(source, target, Layout::Long, BlockKind::CyclePart));
    EXPECT_EQ(target, source);
}

TEST_F(RecordCodecTest, ChecksumsStandWhereEachKindKeepsThem) {
    Block factory(212, 0);
    EXPECT_EQ(codec.WriteChecksum(factory, BlockKind::Factory, Layout::Long), 510);
    EXPECT_EQ(StoredAt(factory, 210), 510);
    EXPECT_EQ(StoredAt(factory, 208), 65535 - 510);
    EXPECT_TRUE(codec.TestChecksum(factory, BlockKind::Factory, Layout::Long));

    Block customer = Counting(128);
    const std::uint16_t sum = codec.WriteChecksum(customer, BlockKind::Customer, Layout::Short);
    EXPECT_EQ(StoredAt(customer, 118), sum);
    EXPECT_EQ(StoredAt(customer, 120), 65535 - sum);
    EXPECT_EQ(customer[122], 123); // the bytes after the complement are not summed and kept
    customer[127] ^= 0xFF;
    EXPECT_TRUE(codec.TestChecksum(customer, BlockKind::Customer, Layout::Short));
    customer[5] ^= 0x01;
    EXPECT_FALSE(codec.TestChecksum(customer, BlockKind::Customer, Layout::Short));

    Block part(41, 0);
    EXPECT_EQ(codec.WriteChecksum(part, BlockKind::CyclePart, Layout::Long), table.KeywordSum());
    Block diag(64, 1);
    EXPECT_EQ(codec.WriteChecksum(diag, BlockKind::Diagnostic, Layout::Long), 62);
    EXPECT_EQ(StoredAt(diag, 62), 62);
    diag[61] = 2;
    EXPECT_FALSE(codec.TestChecksum(diag, BlockKind::Diagnostic, Layout::Long));
}

TEST_F(RecordCodecTest, WholeRecordChecksumFitsAnyLength) {
    Block emitter = Counting(22);
    const std::uint16_t sum = RecordCodec::WriteRecordChecksum(emitter);
    EXPECT_EQ(StoredAt(emitter, 20), sum);
    EXPECT_EQ(StoredAt(emitter, 18), 65535 - sum);
    EXPECT_EQ(sum, std::accumulate(emitter.begin(), emitter.end(), 0) & 0xFFFF);
    EXPECT_TRUE(RecordCodec::TestRecordChecksum(emitter));
    emitter[3] ^= 1;
    EXPECT_FALSE(RecordCodec::TestRecordChecksum(emitter));
    Block tiny(3, 7);
    EXPECT_EQ(RecordCodec::WriteRecordChecksum(tiny), 0);
    EXPECT_EQ(tiny, Block(3, 7));
    EXPECT_FALSE(RecordCodec::TestRecordChecksum(tiny));
}

TEST_F(RecordCodecTest, CustomerSetIsValidWhenItsActiveRecordIs) {
    Block set(8 * 128);
    for (int i = 0; i < 8; ++i) {
        auto record = std::span(set).subspan(static_cast<std::size_t>(i) * 128, 128);
        std::fill(record.begin(), record.end(), static_cast<std::uint8_t>(i + 1));
        if (i != 3)
            codec.WriteChecksum(record, BlockKind::Customer, Layout::Short);
    }
    Block target(8 * 152);
    EXPECT_TRUE(codec.DecodeCustomerSet(set, target, Layout::Short, 2));
    EXPECT_FALSE(codec.DecodeCustomerSet(set, target, Layout::Short, 3));
    EXPECT_FALSE(codec.DecodeCustomerSet(set, target, Layout::Short, 255));
    EXPECT_EQ(target[7 * 152], 8);
    EXPECT_EQ(target[7 * 152 + 54], 0); // record 7 widened like any customer record
}

TEST_F(RecordCodecTest, TooSmallBuffersAreRefusedWithoutTouchingThem) {
    Block shortSource(199, 1);
    Block target(212, 0xEE);
    EXPECT_FALSE(codec.Decode(shortSource, target, Layout::Short, BlockKind::Factory));
    EXPECT_EQ(target, Block(212, 0xEE));
    Block smallTarget(211, 0xEE);
    EXPECT_FALSE(codec.Decode(Block(212), smallTarget, Layout::Long, BlockKind::Factory));
    EXPECT_EQ(smallTarget, Block(211, 0xEE));
    Block tiny(1, 9);
    EXPECT_EQ(codec.WriteChecksum(tiny, BlockKind::CyclePart, Layout::Short), 0);
    EXPECT_EQ(tiny, Block(1, 9));
    EXPECT_FALSE(codec.TestChecksum({}, BlockKind::Diagnostic, Layout::Short));
    Block encoded(128);
    EXPECT_FALSE(codec.Encode(Block(40), encoded, Layout::Short, BlockKind::CyclePart));
    EXPECT_FALSE(codec.Encode(Block(8 * 152), encoded, Layout::Short, BlockKind::CustomerSet));
    EXPECT_EQ(encoded, Block(128));
    Block set(8 * 152);
    EXPECT_FALSE(codec.DecodeCustomerSet(Block(1023), set, Layout::Short, 0));
}

} // namespace
} // namespace lcdiag
