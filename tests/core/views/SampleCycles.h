#pragma once

#include "core/device/BeamMask.h"
#include "core/device/EmitterCycle.h"
#include "core/device/ReceiverCycle.h"
#include "core/views/LiveViewData.h"

#include <cstdint>
#include <initializer_list>

namespace lcdiag::testing {

// The first `count` beams set, then the listed beams (from 0) cleared.
BeamMask AllBut(int count, std::initializer_list<int> cleared);
// Only the listed beams (from 0) set.
BeamMask Only(std::initializer_list<int> beams);

// A receiver cycle as the controller sends it: three long parts with good checksums.
struct ReceiverSample {
    int beams = 16;
    int type = 1;
    BeamMask free;
    BeamMask weak;
    BeamMask active;
    std::uint8_t ledStatus = 0;
    std::uint8_t function1 = 0;
    std::uint8_t function2 = 0;
    std::uint8_t muting = 0;
    std::uint8_t cyclic = 0;
};
ReceiverCycle MakeReceiverCycle(const ReceiverSample& sample);

// An emitter diagnostic record with a good checksum.
struct EmitterSample {
    int beams = 16;
    BeamMask notReached;
    BeamMask exceeded;
};
EmitterCycle MakeEmitterCycle(const EmitterSample& sample, int deviceType);

// The data of a connected receiver or emitter in cyclic diagnosis.
LiveViewData ReceiverData(const ReceiverSample& sample);
LiveViewData EmitterData(const EmitterSample& sample, int deviceType);

} // namespace lcdiag::testing
