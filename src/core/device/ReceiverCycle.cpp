#include "core/device/ReceiverCycle.h"

#include "core/device/DeviceType.h"
#include "core/protocol/RecordCodec.h"

namespace lcdiag {

namespace {

using P1 = CyclePart1Field;
using P2 = CyclePart2Field;
using P3 = CyclePart3Field;

// The part's share of the 24-bit fault word: part 1 codes 1-8, part 2 codes 9-15, part 3
// codes 18-23 (the bits of codes 16, 17 and 24 are masked off).
std::uint32_t FaultWord(const ReceiverCycleRecord& cycle, int part) {
    switch (part) {
    case 1:
        return cycle.part1.Byte(P1::FaultBits);
    case 2:
        return static_cast<std::uint32_t>(cycle.part2.Byte(P2::FaultBits) & 127) << 8;
    default:
        return static_cast<std::uint32_t>(cycle.part3.Byte(P3::FaultBits) & 126) << 16;
    }
}

void Store(ReceiverCycleRecord& cycle, int part, std::span<const std::uint8_t> bytes) {
    switch (part) {
    case 1:
        cycle.part1 = Record<P1>::From(bytes);
        break;
    case 2:
        cycle.part2 = Record<P2>::From(bytes);
        break;
    default:
        cycle.part3 = Record<P3>::From(bytes);
        break;
    }
}

} // namespace

CycleOutcome ReceiverCycle::ReceivePart(std::span<const std::uint8_t> data, Layout layout,
                                        const RecordCodec& codec, FaultList& faults,
                                        InfoTexts& info) {
    const auto length = static_cast<std::size_t>(BlockLength(BlockKind::CyclePart, layout));
    const int part = data.size() >= length ? data[1] - '0' : 0;
    if (part < 1 || part > 3) {
        return {};
    }
    std::array<std::uint8_t, Record<P1>::Size> bytes{};
    // A short part is judged by the checksum it arrived with, not by the one the widening
    // writes: a damaged cycle must not reach the views or the fault list.
    const bool valid = codec.Decode(data, bytes, layout, BlockKind::CyclePart);
    Store(receiving_, part, bytes);
    partValid_[static_cast<std::size_t>(part - 1)] = valid;

    CycleOutcome outcome;
    if (valid) {
        outcome.showErrorPanel =
            faults.AddFaults(FaultWord(receiving_, part), ControllerType::Receiver);
    }
    if (part == 3) {
        const CycleOutcome evaluated = Evaluate(info);
        outcome.applied = evaluated.applied;
        outcome.infoChanged = evaluated.infoChanged;
    }
    return outcome;
}

CycleOutcome ReceiverCycle::Evaluate(InfoTexts& info) {
    const bool complete = partValid_[0] && partValid_[1] && partValid_[2];
    partValid_ = {};
    if (!complete) {
        return {}; // the views keep the previous cycle
    }
    const int type = receiving_.part2.Byte(P2::DeviceType);
    const int beams = receiving_.part1.Byte(P1::BeamCount);
    InfoTexts updated = info;
    updated.serialNumber =
        receiving_.part1.Text(P1::SerialNumberStart) + receiving_.part2.Text(P2::SerialNumberEnd);
    updated.resolution = std::to_string(device_type::Resolution(type));
    updated.protectionField = std::to_string(device_type::FieldHeight(type, beams));
    if (type == 7) {
        // The single-beam grid is drawn with one beam whatever count it reports.
        receiving_.part1.SetByte(P1::BeamCount, 1);
        receiving_.part2.SetByte(P2::BeamCount, 1);
        receiving_.part3.SetByte(P3::BeamCount, 1);
    }
    const bool infoChanged = updated != info;
    info = updated;
    applied_ = receiving_;
    appliedValid_ = true;
    return {true, infoChanged, false};
}

int ReceiverCycle::BeamCount() const {
    return appliedValid_ ? BeamMask::Clamp(applied_.part1.Byte(P1::BeamCount)) : 0;
}

} // namespace lcdiag
