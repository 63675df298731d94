#include "sim/RecordChecks.h"

#include "sim/RecordBuilders.h"
#include "sim/RecordLayouts.h"

#include <algorithm>
#include <array>

namespace lcdiag::sim {

namespace {

bool Agrees(std::span<const std::uint8_t> record, Redundant pair) {
    for (int i = 0; i < pair.width; ++i) {
        const std::uint8_t value = record[static_cast<std::size_t>(pair.value + i)];
        if ((value ^ 0xFF) != record[static_cast<std::size_t>(pair.complement + i)]) {
            return false;
        }
    }
    return true;
}

bool AllAgree(std::span<const std::uint8_t> record, std::span<const Redundant> pairs) {
    return std::ranges::all_of(pairs, [record](Redundant pair) { return Agrees(record, pair); });
}

// Decoding a short record writes a fresh checksum, so the received one is checked where it
// arrived: at the same distance from the end in either layout.
bool ChecksumAgrees(std::span<const std::uint8_t> received, int length, int sumFromEnd,
                    int complementFromEnd) {
    return Agrees(received, {length - sumFromEnd, length - complementFromEnd, 2});
}

bool FactoryAgrees(std::span<const std::uint8_t> received, int length,
                   std::span<const std::uint8_t> decoded) {
    namespace f = receiver_factory;
    return ChecksumAgrees(received, length, f::ChecksumFromEnd, f::ChecksumComplementFromEnd) &&
           AllAgree(decoded, f::Redundants);
}

bool CustomerAgrees(std::span<const std::uint8_t> received, int length,
                    std::span<const std::uint8_t> decoded) {
    namespace c = receiver_customer;
    const auto single = [decoded](int at) { return Agrees(decoded, {at, at + 1}); };
    const auto wide = [decoded](int at) { return Agrees(decoded, {at, at + 2, 2}); };
    return ChecksumAgrees(received, length, c::ChecksumFromEnd, c::ChecksumComplementFromEnd) &&
           std::ranges::all_of(c::SingleSettings, single) &&
           std::ranges::all_of(c::WideSettings, wide) && AllAgree(decoded, c::Redundants);
}

} // namespace

// The values are checked in the long layout: the bytes the short one lacks are filled in as
// consistent pairs (mask 0, complement 255), so only what the controller holds can disagree.
bool ReceiverRecordSound(std::span<const std::uint8_t> received, BlockKind kind, Layout layout,
                         const RecordCodec& codec) {
    std::array<std::uint8_t, receiver_factory::Size> decoded{}; // room for either kind
    const int length = BlockLength(kind, layout);
    // Decode answers whether the received checksum matches.
    if (!codec.Decode(received, decoded, layout, kind)) {
        return false;
    }
    return kind == BlockKind::Factory ? FactoryAgrees(received, length, decoded)
                                      : CustomerAgrees(received, length, decoded);
}

bool EmitterFactorySound(std::span<const std::uint8_t> record) {
    return record.size() == emitter_factory::Size && EmitterChecksumValid(record) &&
           AllAgree(record, emitter_factory::Redundants);
}

bool EmitterCustomerSound(std::span<const std::uint8_t> record) {
    return record.size() == emitter_customer::Size && EmitterChecksumValid(record) &&
           AllAgree(record, emitter_customer::Redundants);
}

} // namespace lcdiag::sim
