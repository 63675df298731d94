#pragma once

#include "core/protocol/RecordCodec.h"
#include "sim/LiveScenes.h"
#include "sim/RecordBuilders.h"

#include <array>
#include <cstdint>

namespace lcdiag::sim {

using CyclePart = std::array<std::uint8_t, cycle_part::Size>;

// What one receiver cycle is built from: the records the controller works with, what the
// beams see, faults present and whether the restart interlock waits for its button.
struct ReceiverCycleInput {
    const ReceiverFactoryRecord& factory;
    const ReceiverCustomerRecord& active;
    const FieldState& field;
    std::uint32_t faultBits = 0;
    bool interlockWaiting = false;
    std::uint8_t counter = 0;
};

// Whether a beam that is neither blanked nor missing is interrupted.
bool FieldInterrupted(const ReceiverCycleInput& input);

// The three parts "1", "2", "3" in the long layout, each with its checksum.
std::array<CyclePart, 3> BuildReceiverCycle(const ReceiverCycleInput& input,
                                            const RecordCodec& codec);

} // namespace lcdiag::sim
