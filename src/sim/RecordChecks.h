#pragma once

#include "core/protocol/RecordCodec.h"

#include <cstdint>
#include <span>

namespace lcdiag::sim {

// What a controller checks before it stores a record it is sent: the checksum, and that every
// value it keeps twice agrees with its complement, the checksum's own complement among them.
// A record that fails either check is refused.

// A receiver's factory or customer record as received, in either layout. The operating hours
// at the end of a customer record are not checked: the controller keeps its own.
bool ReceiverRecordSound(std::span<const std::uint8_t> received, BlockKind kind, Layout layout,
                         const RecordCodec& codec);

// The emitter's factory (64 bytes) and customer (22 bytes) records.
bool EmitterFactorySound(std::span<const std::uint8_t> record);
bool EmitterCustomerSound(std::span<const std::uint8_t> record);

} // namespace lcdiag::sim
