#pragma once

#include "core/device/Record.h"

namespace lcdiag {

// One of the receiver's eight customer records, 152 bytes in the internal (long) layout. The
// short layout lacks bytes 54-59, 78-83, 102-107 and 126-131 (its masks cover 144 beams).
enum class ReceiverCustomerField {
    FunctionBits, // 0/1 start interlock by button/interruption, 2 relay control (0 = active),
                  // 3 fixed blanking, 4/5 floating blanking of one/more beams, 6 beam coding A
    FunctionBitsComplement,
    MutingBits, // 0-2 transport direction, 3-4 operating mode, 5 shortened muting cycle
    MutingBitsComplement,
    RelayDelay, // (value - 1) x 10 ms
    RelayDelayComplement,
    SpecialFunctionBits, // 0 cyclic operation, 1 restart interlock after muting, 2 conveyor
                         // stop monitoring, 3 muting, 4-6 muted area, 7 override
    SpecialFunctionBitsComplement,
    ClockCycles,
    ClockCyclesComplement,
    ClockCycleTime, // seconds
    ClockCycleTimeComplement,
    InterruptionTime, // unit 10 ms
    InterruptionTimeComplement,
    MutingCycleTime, // seconds, bits 0-15
    MutingCycleTimeComplement,
    SensorConcurrency, // tenths of a second
    SensorConcurrencyComplement,
    ConveyorStopTime, // seconds, bits 0-15
    ConveyorStopTimeComplement,
    OverrideTime, // seconds
    OverrideTimeComplement,
    BusProtocol, // protocol number on the RS485 bus
    BusProtocolComplement,
    MutingCycleTimeHigh, // bits 16-23 (firmware 1.33 and later)
    MutingCycleTimeHighComplement,
    ConveyorStopTimeHigh, // bits 16-23 (firmware 1.33 and later)
    ConveyorStopTimeHighComplement,
    Reserved32, // kept as received
    Reserved32Complement,
    FloatingBeams,
    FloatingBeamsComplement,
    FixedBlankingMask, // bit clear = beam blanked
    FixedBlankingMaskComplement,
    MutingAreaMask, // taught beams
    MutingAreaMaskComplement,
    ActivationStamp,      // day, month, year - 2000, second, minute, hour
    MultipleInterruption, // "M" when allowed (variants 2 and 3, firmware 1.33 and later)
    MultipleInterruptionComplement,
    PcVersionMajor, // the PC software that wrote the record
    PcVersionMinor,
    Checksum, // sum of bytes 0-145
    ChecksumComplement,
    OperatingHours, // 24 bits, kept by the controller outside the checksum
    OperatingHoursComplement,
};

template <> struct RecordLayout<ReceiverCustomerField> {
    using F = ReceiverCustomerField;
    static constexpr std::size_t Size = 152;
    static constexpr std::array<FieldPlace<F>, 45> Fields{{
        {F::FunctionBits, 0, 1},
        {F::FunctionBitsComplement, 1, 1, F::FunctionBits},
        {F::MutingBits, 2, 1},
        {F::MutingBitsComplement, 3, 1, F::MutingBits},
        {F::RelayDelay, 4, 1},
        {F::RelayDelayComplement, 5, 1, F::RelayDelay},
        {F::SpecialFunctionBits, 6, 1},
        {F::SpecialFunctionBitsComplement, 7, 1, F::SpecialFunctionBits},
        {F::ClockCycles, 8, 1},
        {F::ClockCyclesComplement, 9, 1, F::ClockCycles},
        {F::ClockCycleTime, 10, 1},
        {F::ClockCycleTimeComplement, 11, 1, F::ClockCycleTime},
        {F::InterruptionTime, 12, 1},
        {F::InterruptionTimeComplement, 13, 1, F::InterruptionTime},
        {F::MutingCycleTime, 14, 2},
        {F::MutingCycleTimeComplement, 16, 2, F::MutingCycleTime},
        {F::SensorConcurrency, 18, 1},
        {F::SensorConcurrencyComplement, 19, 1, F::SensorConcurrency},
        {F::ConveyorStopTime, 20, 2},
        {F::ConveyorStopTimeComplement, 22, 2, F::ConveyorStopTime},
        {F::OverrideTime, 24, 1},
        {F::OverrideTimeComplement, 25, 1, F::OverrideTime},
        {F::BusProtocol, 26, 1},
        {F::BusProtocolComplement, 27, 1, F::BusProtocol},
        {F::MutingCycleTimeHigh, 28, 1},
        {F::MutingCycleTimeHighComplement, 29, 1, F::MutingCycleTimeHigh},
        {F::ConveyorStopTimeHigh, 30, 1},
        {F::ConveyorStopTimeHighComplement, 31, 1, F::ConveyorStopTimeHigh},
        {F::Reserved32, 32, 1},
        {F::Reserved32Complement, 33, 1, F::Reserved32},
        {F::FloatingBeams, 34, 1},
        {F::FloatingBeamsComplement, 35, 1, F::FloatingBeams},
        {F::FixedBlankingMask, 36, 24},
        {F::FixedBlankingMaskComplement, 60, 24, F::FixedBlankingMask},
        {F::MutingAreaMask, 84, 24},
        {F::MutingAreaMaskComplement, 108, 24, F::MutingAreaMask},
        {F::ActivationStamp, 132, 6},
        {F::MultipleInterruption, 138, 1},
        {F::MultipleInterruptionComplement, 139, 1, F::MultipleInterruption},
        {F::PcVersionMajor, 140, 1},
        {F::PcVersionMinor, 141, 1},
        {F::Checksum, 142, 2},
        {F::ChecksumComplement, 144, 2, F::Checksum},
        {F::OperatingHours, 146, 3},
        {F::OperatingHoursComplement, 149, 3, F::OperatingHours},
    }};
};

using ReceiverCustomerRecord = Record<ReceiverCustomerField>;

// Bits of the function byte (byte 0).
namespace function_bit {
inline constexpr std::uint8_t StartInterlockButton = 0x01;
inline constexpr std::uint8_t StartInterlockInterruption = 0x02;
inline constexpr std::uint8_t RelayControlOff = 0x04;
inline constexpr std::uint8_t FixedBlanking = 0x08;
inline constexpr std::uint8_t FloatingOneBeam = 0x10;
inline constexpr std::uint8_t FloatingMoreBeams = 0x20;
inline constexpr std::uint8_t BeamCodingA = 0x40;
} // namespace function_bit

// Bits of the muting byte (byte 2): the transport direction, the operating mode.
namespace muting_bit {
inline constexpr std::uint8_t IntoDangerZone = 0x01;
inline constexpr std::uint8_t OutOfDangerZone = 0x02;
inline constexpr std::uint8_t BothDirections = 0x04;
inline constexpr std::uint8_t Direction = 0x07;
inline constexpr std::uint8_t FourSensorsParallel = 0x00;
inline constexpr std::uint8_t TwoSensorsDiagonal = 0x08;
inline constexpr std::uint8_t TwoSensorsParallel = 0x10;
inline constexpr std::uint8_t OperatingMode = 0x18;
inline constexpr std::uint8_t ShortenedCycle = 0x20;
} // namespace muting_bit

// Bits of the special function byte (byte 6), the muted area among them.
namespace special_bit {
inline constexpr std::uint8_t CyclicOperation = 0x01;
inline constexpr std::uint8_t RestartInterlock = 0x02;
inline constexpr std::uint8_t ConveyorStop = 0x04;
inline constexpr std::uint8_t Muting = 0x08;
inline constexpr std::uint8_t CompleteFieldArea = 0x10;
inline constexpr std::uint8_t TeachSampleArea = 0x20;
inline constexpr std::uint8_t BusArea = 0x40;
inline constexpr std::uint8_t Area = 0x70;
inline constexpr std::uint8_t Override = 0x80;
} // namespace special_bit

} // namespace lcdiag
