#pragma once

#include "core/protocol/KeywordTable.h"
#include "core/protocol/Layout.h"

#include <cstdint>
#include <optional>
#include <span>

namespace lcdiag {

// The 24 bytes after the receiver's factory record: "Konfig_Nr.", the configuration number,
// "Zeiger:", a big-endian pointer into the controller's record ring, four unused bytes.
struct ConfigTrailer {
    static constexpr int Size = 24;

    std::uint8_t number = 0;
    std::uint16_t pointer = 0;

    // The trailer when the bytes match the template of keyword 15, position by position
    // (a NUL in the template matches any byte); nothing when they do not or are too few.
    // The pointer's offset into the ring (from 1024), and the slot it points at: the offset
    // divided by the customer record size of the layout. Every slot of the ring counts; in the
    // long layout the last slot begins beyond offset 1023. Nothing outside the ring.
    int RingOffset() const { return pointer - 1024; }
    std::optional<int> ActiveSlot(Layout layout) const;

    static std::optional<ConfigTrailer> Parse(const KeywordTable& table,
                                              std::span<const std::uint8_t> bytes);
};

} // namespace lcdiag
