#pragma once

#include "core/protocol/Layout.h"

#include <cstdint>
#include <span>

namespace lcdiag {

// The data blocks the controllers send and accept. Kind 2 is the set of eight customer
// records of keyword 3, each a kind-1 block.
enum class BlockKind { Factory = 0, Customer = 1, CustomerSet = 2, CyclePart = 3, Diagnostic = 4 };

// Bytes of one block in a layout (kind 2: all eight records).
int BlockLength(BlockKind kind, Layout layout);

inline constexpr int CustomerRecordsInSet = 8;

// Converts the controllers' short and long blocks into the internal (long) layout and back,
// and writes and tests their 16-bit checksums.
class RecordCodec {
public:
    // keywordSum is the initial value of a cycle-part checksum (see KeywordTable).
    explicit RecordCodec(std::uint16_t keywordSum) : keywordSum_(keywordSum) {}

    // Converts a block of the given layout into the long layout and rewrites the internal
    // checksum. Returns whether the received checksum was valid; an invalid block is still
    // converted. Returns false and writes nothing when the source or destination is too
    // small. Kind 2 goes through DecodeCustomerSet.
    bool Decode(std::span<const std::uint8_t> source, std::span<std::uint8_t> destination,
                Layout layout, BlockKind kind) const;

    // Decodes the eight customer records; the result is the validity of the active record
    // (false when activeIndex is not 0-7).
    bool DecodeCustomerSet(std::span<const std::uint8_t> source,
                           std::span<std::uint8_t> destination, Layout layout,
                           int activeIndex) const;

    // Converts a long block into the given layout with a fresh checksum: the inverse of Decode.
    // The program encodes factory and customer records; the simulated controllers also narrow
    // their cycle parts and diagnostic records. Returns false and writes nothing for the
    // customer record set (encode its records one by one) or a too small buffer.
    bool Encode(std::span<const std::uint8_t> source, std::span<std::uint8_t> destination,
                Layout layout, BlockKind kind) const;

    // Computes the checksum of a block of the given layout and stores it (with its complement
    // for kinds 0 and 1); returns the sum. A too small block is left alone and 0 returned.
    // Kind 2 stands for one of its customer records.
    std::uint16_t WriteChecksum(std::span<std::uint8_t> block, BlockKind kind, Layout layout) const;
    // Whether the checksum stored in the block matches its bytes.
    bool TestChecksum(std::span<const std::uint8_t> block, BlockKind kind, Layout layout) const;

    // The factory-record rule applied to a whole record of any length, as the emitter's
    // factory (64 bytes) and customer (22 bytes) records use it: the sum of all bytes stands
    // in the last two, its complement in the two before. A record under 4 bytes is left alone
    // (write returns 0, test false).
    static std::uint16_t WriteRecordChecksum(std::span<std::uint8_t> record);
    static bool TestRecordChecksum(std::span<const std::uint8_t> record);

private:
    std::uint16_t InitialSum(BlockKind kind) const;

    std::uint16_t keywordSum_;
};

} // namespace lcdiag
