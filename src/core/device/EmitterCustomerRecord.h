#pragma once

#include "core/device/Record.h"

namespace lcdiag {

// The emitter's customer record, 22 bytes.
enum class EmitterCustomerField {
    BeamCoding, // "b" beam coding A active, "A" not active
    BeamCodingComplement,
    Unused2, // 2, 4, 6, 8, 10: 0 from the PC, not interpreted
    Unused2Complement,
    Unused4,
    Unused4Complement,
    Unused6,
    Unused6Complement,
    Unused8,
    Unused8Complement,
    Unused10,
    Unused10Complement,
    Stamp, // day, month, year - 2000, second, minute, hour
    ChecksumComplement,
    Checksum, // sum of all 22 bytes
};

template <> struct RecordLayout<EmitterCustomerField> {
    using F = EmitterCustomerField;
    static constexpr std::size_t Size = 22;
    static constexpr std::array<FieldPlace<F>, 15> Fields{{
        {F::BeamCoding, 0, 1},
        {F::BeamCodingComplement, 1, 1, F::BeamCoding},
        {F::Unused2, 2, 1},
        {F::Unused2Complement, 3, 1, F::Unused2},
        {F::Unused4, 4, 1},
        {F::Unused4Complement, 5, 1, F::Unused4},
        {F::Unused6, 6, 1},
        {F::Unused6Complement, 7, 1, F::Unused6},
        {F::Unused8, 8, 1},
        {F::Unused8Complement, 9, 1, F::Unused8},
        {F::Unused10, 10, 1},
        {F::Unused10Complement, 11, 1, F::Unused10},
        {F::Stamp, 12, 6},
        {F::ChecksumComplement, 18, 2, F::Checksum},
        {F::Checksum, 20, 2},
    }};
};

using EmitterCustomerRecord = Record<EmitterCustomerField>;

inline constexpr std::uint8_t EmitterBeamCodingOn = 'b';
inline constexpr std::uint8_t EmitterBeamCodingOff = 'A';

} // namespace lcdiag
