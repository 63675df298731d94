#pragma once

#include "core/device/Record.h"

namespace lcdiag {

// The emitter's factory record, 64 bytes in one layout.
enum class EmitterFactoryField {
    BeamCount,
    BeamCountComplement,
    DeviceType, // device type code 1-8
    Variant,    // controller variant 1-3
    VariantComplement,
    Filler,         // 5-11: 255, 0, 255, 0, 255, 0, 255 from the PC; not interpreted
    ProductionDate, // day, month, year - 2000, second, minute, hour
    HwVersion,      // two digit characters
    SerialNumber,
    CustomerDesignation, // shown as the type in the information panel
    Tester,
    ChecksumComplement,
    Checksum, // sum of all 64 bytes
};

template <> struct RecordLayout<EmitterFactoryField> {
    using F = EmitterFactoryField;
    static constexpr std::size_t Size = 64;
    static constexpr std::array<FieldPlace<F>, 13> Fields{{
        {F::BeamCount, 0, 1},
        {F::BeamCountComplement, 1, 1, F::BeamCount},
        {F::DeviceType, 2, 1},
        {F::Variant, 3, 1},
        {F::VariantComplement, 4, 1, F::Variant},
        {F::Filler, 5, 7},
        {F::ProductionDate, 12, 6},
        {F::HwVersion, 18, 2},
        {F::SerialNumber, 20, 10},
        {F::CustomerDesignation, 30, 20},
        {F::Tester, 50, 10},
        {F::ChecksumComplement, 60, 2, F::Checksum},
        {F::Checksum, 62, 2},
    }};
};

using EmitterFactoryRecord = Record<EmitterFactoryField>;

} // namespace lcdiag
