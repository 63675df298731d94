#include "core/device/EmitterCycle.h"

#include "core/device/DeviceType.h"
#include "core/protocol/RecordCodec.h"

namespace lcdiag {

CycleOutcome EmitterCycle::Receive(std::span<const std::uint8_t> data, Layout layout,
                                   const RecordCodec& codec, const EmitterFactoryRecord& factory,
                                   FaultList& faults, InfoTexts& info) {
    EmitterDiagRecord record;
    // A short record is judged by the checksum it arrived with, as a long one is.
    if (!codec.Decode(data, record.bytes, layout, BlockKind::Diagnostic)) {
        return {};
    }
    const int type = factory.Byte(EmitterFactoryField::DeviceType);
    const int beams = record.Byte(EmitterDiagField::BeamCount);
    InfoTexts updated = info;
    updated.resolution = std::to_string(device_type::Resolution(type));
    updated.protectionField = std::to_string(device_type::FieldHeight(type, beams));
    const bool infoChanged = updated != info;
    info = updated;
    applied_ = record;
    appliedValid_ = true;
    const std::uint32_t word = record.Byte(EmitterDiagField::FaultBits) & 126;
    return {true, infoChanged, faults.AddFaults(word, ControllerType::Emitter)};
}

int EmitterCycle::BeamCount() const {
    return appliedValid_ ? BeamMask::Clamp(applied_.Byte(EmitterDiagField::BeamCount)) : 0;
}

} // namespace lcdiag
