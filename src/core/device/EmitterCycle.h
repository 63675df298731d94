#pragma once

#include "core/device/EmitterFactoryRecord.h"
#include "core/device/FaultList.h"
#include "core/device/InfoTexts.h"
#include "core/device/Record.h"
#include "core/protocol/Layout.h"

#include <cstdint>
#include <span>

namespace lcdiag {

class RecordCodec;

// The emitter's diagnostic record, 64 bytes in the internal (long) layout (the short layout
// of 52 bytes lacks bytes 32-37 and 56-61).
enum class EmitterDiagField {
    BeamCount,
    FaultBits, // bits 1-6: fault codes 2 to 7
    Unused2,   // 2-13
    CurrentNotReachedMask,
    CurrentExceededMask,
    Checksum, // sum of bytes 0-61
};

template <> struct RecordLayout<EmitterDiagField> {
    using F = EmitterDiagField;
    static constexpr std::size_t Size = 64;
    static constexpr std::array<FieldPlace<F>, 6> Fields{{
        {F::BeamCount, 0, 1},
        {F::FaultBits, 1, 1},
        {F::Unused2, 2, 12},
        {F::CurrentNotReachedMask, 14, 24},
        {F::CurrentExceededMask, 38, 24},
        {F::Checksum, 62, 2},
    }};
};

using EmitterDiagRecord = Record<EmitterDiagField>;

// The emitter's diagnostic records: the last one with a good checksum is what the views draw.
class EmitterCycle {
public:
    // Takes a record as it followed its keyword (64 or 52 bytes). A record with a good
    // checksum is applied and its faults reported; the device type comes from the emitter's
    // factory record. Other records are dropped.
    CycleOutcome Receive(std::span<const std::uint8_t> data, Layout layout,
                         const RecordCodec& codec, const EmitterFactoryRecord& factory,
                         FaultList& faults, InfoTexts& info);
    // Forgets the applied record (a reset of the dialogue, the start of a transfer).
    void Clear() { appliedValid_ = false; }

    bool Valid() const { return appliedValid_; }
    const EmitterDiagRecord& Applied() const { return applied_; }
    // The applied record's beam count, 0 while there is none; never more than a mask holds.
    int BeamCount() const;
    BeamMask CurrentNotReachedMask() const {
        return applied_.Mask(EmitterDiagField::CurrentNotReachedMask);
    }
    BeamMask CurrentExceededMask() const {
        return applied_.Mask(EmitterDiagField::CurrentExceededMask);
    }

private:
    EmitterDiagRecord applied_;
    bool appliedValid_ = false;
};

} // namespace lcdiag
