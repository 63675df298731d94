#include "core/protocol/RecordCodec.h"

#include <algorithm>
#include <vector>

namespace lcdiag {

namespace {

// A piece of the short-to-long conversion: copy `length` bytes, or, when `fill` is not
// Copy, put `length` bytes of that value into the long block only.
struct Segment {
    static constexpr int Copy = -1;
    int length;
    int fill = Copy;
};

// Where the short blocks have gaps that the long blocks fill.
const std::vector<Segment>& Segments(BlockKind kind) {
    static const std::vector<Segment> factory{{45}, {6, 0}, {18}, {6, 255}, {137}};
    static const std::vector<Segment> customer{{54},   {6, 0}, {18},     {6, 255}, {18},
                                               {6, 0}, {18},   {6, 255}, {20}};
    static const std::vector<Segment> cyclePart{{24}, {6, 0}, {11}};
    static const std::vector<Segment> diagnostic{{32}, {6, 255}, {18}, {6, 0}, {2}};
    switch (kind) {
    case BlockKind::Factory:
        return factory;
    case BlockKind::Customer:
    case BlockKind::CustomerSet:
        return customer;
    case BlockKind::CyclePart:
        return cyclePart;
    case BlockKind::Diagnostic:
        break;
    }
    return diagnostic;
}

// Where a kind's checksum stands, counted from the block's end, and which bytes it sums.
struct ChecksumPlace {
    int summedBytesLess;   // bytes 0 to L-1-summedBytesLess are summed
    int sumFromEnd;        // the sum stands at L-sumFromEnd, big-endian
    int complementFromEnd; // its complement at L-complementFromEnd, 0 when there is none
};

ChecksumPlace PlaceOf(BlockKind kind) {
    switch (kind) {
    case BlockKind::Factory:
        return {0, 2, 4};
    case BlockKind::Customer:
    case BlockKind::CustomerSet:
        return {6, 10, 8};
    case BlockKind::CyclePart:
    case BlockKind::Diagnostic:
        break;
    }
    return {2, 2, 0};
}

void PutBigEndian(std::span<std::uint8_t> block, int at, std::uint16_t value) {
    block[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(value >> 8);
    block[static_cast<std::size_t>(at) + 1] = static_cast<std::uint8_t>(value & 0xFF);
}

std::uint16_t GetBigEndian(std::span<const std::uint8_t> block, int at) {
    const auto i = static_cast<std::size_t>(at);
    return static_cast<std::uint16_t>(block[i] << 8 | block[i + 1]);
}

// The checksum of the customer record set is that of each of its records.
BlockKind SingleBlock(BlockKind kind) {
    return kind == BlockKind::CustomerSet ? BlockKind::Customer : kind;
}

bool Fits(std::span<const std::uint8_t> block, BlockKind kind, Layout layout) {
    return block.size() >= static_cast<std::size_t>(BlockLength(kind, layout));
}

std::uint16_t Sum(std::span<const std::uint8_t> block, BlockKind kind, int length,
                  std::uint16_t initial) {
    std::uint16_t sum = initial;
    const int summed = length - PlaceOf(kind).summedBytesLess;
    for (int i = 0; i < summed; ++i) {
        sum = static_cast<std::uint16_t>(sum + block[static_cast<std::size_t>(i)]);
    }
    return sum;
}

// Stores the sum of a block of the given length (and its complement where the kind keeps one).
std::uint16_t WriteSum(std::span<std::uint8_t> block, BlockKind kind, int length,
                       std::uint16_t initial) {
    const ChecksumPlace place = PlaceOf(kind);
    // With 0, 0 in the sum's place and 255, 255 in the complement's, the finished block sums
    // to the stored value again, because a byte and its complement add up to 255.
    PutBigEndian(block, length - place.sumFromEnd, 0);
    if (place.complementFromEnd != 0) {
        PutBigEndian(block, length - place.complementFromEnd, 0xFFFF);
    }
    const std::uint16_t sum = Sum(block, kind, length, initial);
    PutBigEndian(block, length - place.sumFromEnd, sum);
    if (place.complementFromEnd != 0) {
        PutBigEndian(block, length - place.complementFromEnd,
                     static_cast<std::uint16_t>(0xFFFF - sum));
    }
    return sum;
}

bool SumMatches(std::span<const std::uint8_t> block, BlockKind kind, int length,
                std::uint16_t initial) {
    return Sum(block, kind, length, initial) ==
           GetBigEndian(block, length - PlaceOf(kind).sumFromEnd);
}

} // namespace

int BlockLength(BlockKind kind, Layout layout) {
    const bool isLong = layout == Layout::Long;
    switch (kind) {
    case BlockKind::Factory:
        return isLong ? 212 : 200;
    case BlockKind::Customer:
        return isLong ? 152 : 128;
    case BlockKind::CustomerSet:
        return CustomerRecordsInSet * (isLong ? 152 : 128);
    case BlockKind::CyclePart:
        return isLong ? 41 : 35;
    case BlockKind::Diagnostic:
        break;
    }
    return isLong ? 64 : 52;
}

std::uint16_t RecordCodec::InitialSum(BlockKind kind) const {
    return kind == BlockKind::CyclePart ? keywordSum_ : 0;
}

std::uint16_t RecordCodec::WriteChecksum(std::span<std::uint8_t> block, BlockKind kind,
                                         Layout layout) const {
    kind = SingleBlock(kind);
    if (!Fits(block, kind, layout)) {
        return 0;
    }
    return WriteSum(block, kind, BlockLength(kind, layout), InitialSum(kind));
}

bool RecordCodec::TestChecksum(std::span<const std::uint8_t> block, BlockKind kind,
                               Layout layout) const {
    kind = SingleBlock(kind);
    if (!Fits(block, kind, layout)) {
        return false;
    }
    return SumMatches(block, kind, BlockLength(kind, layout), InitialSum(kind));
}

std::uint16_t RecordCodec::WriteRecordChecksum(std::span<std::uint8_t> record) {
    const auto length = static_cast<int>(record.size());
    return length < 4 ? 0 : WriteSum(record, BlockKind::Factory, length, 0);
}

bool RecordCodec::TestRecordChecksum(std::span<const std::uint8_t> record) {
    const auto length = static_cast<int>(record.size());
    return length >= 4 && SumMatches(record, BlockKind::Factory, length, 0);
}

bool RecordCodec::Decode(std::span<const std::uint8_t> source, std::span<std::uint8_t> destination,
                         Layout layout, BlockKind kind) const {
    if (kind == BlockKind::CustomerSet || !Fits(source, kind, layout) ||
        !Fits(destination, kind, Layout::Long)) {
        return false;
    }
    const bool valid = TestChecksum(source, kind, layout);
    if (layout == Layout::Long) {
        std::copy_n(source.begin(), BlockLength(kind, Layout::Long), destination.begin());
        return valid;
    }
    auto from = source.begin();
    auto to = destination.begin();
    for (const Segment& segment : Segments(kind)) {
        if (segment.fill == Segment::Copy) {
            to = std::copy_n(from, segment.length, to);
            from += segment.length;
        } else {
            to = std::fill_n(to, segment.length, static_cast<std::uint8_t>(segment.fill));
        }
    }
    WriteChecksum(destination, kind, Layout::Long);
    return valid;
}

bool RecordCodec::DecodeCustomerSet(std::span<const std::uint8_t> source,
                                    std::span<std::uint8_t> destination, Layout layout,
                                    int activeIndex) const {
    if (!Fits(source, BlockKind::CustomerSet, layout) ||
        !Fits(destination, BlockKind::CustomerSet, Layout::Long)) {
        return false;
    }
    const auto sourceSize = static_cast<std::size_t>(BlockLength(BlockKind::Customer, layout));
    const auto recordSize =
        static_cast<std::size_t>(BlockLength(BlockKind::Customer, Layout::Long));
    bool activeValid = false;
    for (int i = 0; i < CustomerRecordsInSet; ++i) {
        const auto index = static_cast<std::size_t>(i);
        const bool valid = Decode(source.subspan(index * sourceSize, sourceSize),
                                  destination.subspan(index * recordSize, recordSize), layout,
                                  BlockKind::Customer);
        if (i == activeIndex) {
            activeValid = valid;
        }
    }
    return activeValid;
}

bool RecordCodec::Encode(std::span<const std::uint8_t> source, std::span<std::uint8_t> destination,
                         Layout layout, BlockKind kind) const {
    if (kind == BlockKind::CustomerSet || !Fits(source, kind, Layout::Long) ||
        !Fits(destination, kind, layout)) {
        return false;
    }
    if (layout == Layout::Long) {
        std::copy_n(source.begin(), BlockLength(kind, Layout::Long), destination.begin());
    } else {
        auto from = source.begin();
        auto to = destination.begin();
        for (const Segment& segment : Segments(kind)) {
            if (segment.fill == Segment::Copy) {
                to = std::copy_n(from, segment.length, to);
            }
            from += segment.length;
        }
    }
    WriteChecksum(destination, kind, layout);
    return true;
}

} // namespace lcdiag
