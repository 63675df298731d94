#pragma once

#include "core/device/Record.h"

namespace lcdiag {

// The receiver's factory record, 212 bytes in the internal (long) layout. The short layout
// lacks bytes 45-50 and 69-74, so its presence mask covers 144 beams.
enum class ReceiverFactoryField {
    BeamCount,
    BeamCountComplement,
    OssdOffWait,             // OSSD OFF monitor waiting period, unit 10 ms
    OssdOnWait,              // OSSD ON monitor waiting period, unit 10 ms
    RelayDelayDefault,       // the relay delay a default customer record starts with
    CableRestart,            // "K" restart always, "N" only after power on
    FunctionReserveMax,      // maximum of the function-reserve counter
    FunctionReserveOn,       // threshold function reserve ON
    OutputOnDelay,           // unit cycles
    Unused9,                 // 9-12: kept as the module record has them
    Cascading,               // "E" cascaded, "A" not
    Unused14,                // 14-15
    InterruptionTimeDefault, // the interruption time a default customer record starts with
    Unused17,
    FloatingBeamsMax, // max. number of floating beams
    Unused19,
    QuartzCorrection, // bit 7 negative, bits 0-2 the amount
    DeviceType,       // device type code 1-8
    BlankingBeamsMax, // max. number of blanking beams (255 in a module record: all)
    MutingCycleTime,  // seconds, bits 0-15 (controller variants 2 and 3)
    ConveyorStopTime, // seconds, bits 0-15 (controller variants 2 and 3)
    BeamPresenceMask, // bit set = beam present
    BeamPresenceMaskComplement,
    ProductionDate, // day, month, year - 2000, second, minute, hour
    Unused81,       // 81-84
    HwVersion,      // two digit characters, major then minor
    SwVersion,      // two digit characters
    SerialNumber,
    TypeDesignation,
    Tester,
    ProductionData, // free text, may be empty
    Unused189,      // 189-200
    PcVersionMajor, // the PC software that wrote the record
    PcVersionMinor,
    MutingCycleTimeHigh,  // bits 16-23 (firmware 1.33 and later)
    ConveyorStopTimeHigh, // bits 16-23 (firmware 1.33 and later)
    MultipleInterruption, // "M" when allowed; read by firmware 1.32 only
    Mark,                 // "T"
    FirmwareType,         // the controller variant digit as a character "1"-"9"
    ChecksumComplement,
    Checksum, // sum of all 212 bytes
};

template <> struct RecordLayout<ReceiverFactoryField> {
    using F = ReceiverFactoryField;
    static constexpr std::size_t Size = 212;
    static constexpr std::array<FieldPlace<F>, 41> Fields{{
        {F::BeamCount, 0, 1},
        {F::BeamCountComplement, 1, 1, F::BeamCount},
        {F::OssdOffWait, 2, 1},
        {F::OssdOnWait, 3, 1},
        {F::RelayDelayDefault, 4, 1},
        {F::CableRestart, 5, 1},
        {F::FunctionReserveMax, 6, 1},
        {F::FunctionReserveOn, 7, 1},
        {F::OutputOnDelay, 8, 1},
        {F::Unused9, 9, 4},
        {F::Cascading, 13, 1},
        {F::Unused14, 14, 2},
        {F::InterruptionTimeDefault, 16, 1},
        {F::Unused17, 17, 1},
        {F::FloatingBeamsMax, 18, 1},
        {F::Unused19, 19, 1},
        {F::QuartzCorrection, 20, 1},
        {F::DeviceType, 21, 1},
        {F::BlankingBeamsMax, 22, 1},
        {F::MutingCycleTime, 23, 2},
        {F::ConveyorStopTime, 25, 2},
        {F::BeamPresenceMask, 27, 24},
        {F::BeamPresenceMaskComplement, 51, 24, F::BeamPresenceMask},
        {F::ProductionDate, 75, 6},
        {F::Unused81, 81, 4},
        {F::HwVersion, 85, 2},
        {F::SwVersion, 87, 2},
        {F::SerialNumber, 89, 10},
        {F::TypeDesignation, 99, 20},
        {F::Tester, 119, 10},
        {F::ProductionData, 129, 60},
        {F::Unused189, 189, 12},
        {F::PcVersionMajor, 201, 1},
        {F::PcVersionMinor, 202, 1},
        {F::MutingCycleTimeHigh, 203, 1},
        {F::ConveyorStopTimeHigh, 204, 1},
        {F::MultipleInterruption, 205, 1},
        {F::Mark, 206, 1},
        {F::FirmwareType, 207, 1},
        {F::ChecksumComplement, 208, 2, F::Checksum},
        {F::Checksum, 210, 2},
    }};
};

using ReceiverFactoryRecord = Record<ReceiverFactoryField>;

} // namespace lcdiag
