#pragma once

#include "core/protocol/KeywordTable.h"
#include "core/protocol/ReceiveBuffer.h"

#include <cstdint>
#include <vector>

namespace lcdiag {

// The data bytes of one cycle frame, as received (35/41 or 52/64 bytes).
using FrameData = std::vector<std::uint8_t>;

// In cyclic diagnosis the receiver sends each cycle as three frames of keyword 0 whose data
// byte 1 is the part digit "1", "2", "3". Takes every complete triple out of the buffer and
// returns their parts in order (a multiple of three). A broken triple is forgotten; the
// parts of an unfinished one go back to the front of the buffer to wait for the rest. The
// last frames are left until more than three frame lengths of bytes have arrived.
std::vector<FrameData> TakeCycleTriples(ReceiveBuffer& buffer, const KeywordTable& table,
                                        Layout layout);

// In cyclic diagnosis the emitter sends one frame of keyword 30 per cycle. Takes every
// complete frame out of the buffer while more than one frame length of bytes is left.
std::vector<FrameData> TakeEmitterRecords(ReceiveBuffer& buffer, const KeywordTable& table,
                                          Layout layout);

} // namespace lcdiag
