#pragma once

#include "core/device/FaultList.h"
#include "core/device/InfoTexts.h"
#include "core/device/Record.h"
#include "core/protocol/Layout.h"

#include <array>
#include <cstdint>
#include <span>

namespace lcdiag {

class RecordCodec;

// The three parts of a receiver diagnostic cycle, 41 bytes each in the internal (long)
// layout; the short layout lacks bytes 24-29, so its masks cover 144 beams. Byte 0 of each
// part is not interpreted, byte 1 is the part digit "1", "2" or "3", bytes 39-40 the
// checksum (keyword sum plus bytes 0-38).
enum class CyclePart1Field {
    Unused0,
    PartDigit,
    BeamCount,
    LedStatus,       // any of the bits 0x64: the receiver's LEDs are lit
    FunctionStatus1, // 0/1 start interlock, 2 clear = EDM active, 3 fixed blanking, 4/5
                     // floating blanking of 1/2 beams, 6 beam coding A, 7 cascading
    FunctionStatus2, // 2 EDM signal, 3 restart interlock signal
    FreeMask,        // bit set = beam free
    FaultBits,       // fault codes 1 to 8
    MutingStatus,    // 0 whole field, 1 teach-in, 2 process control, 3/4 sensor group 1/2
    Unused32,
    CyclicStatus, // 7 cyclic control active, 0-3 number of cycles
    SerialNumberStart,
    Checksum,
};

enum class CyclePart2Field {
    Unused0,
    PartDigit,
    BeamCount, // a copy of part 1's
    DeviceType,
    FaultBits, // bits 0-6: fault codes 9 to 15
    Unused5,
    WeakSignalMask,
    Unused30,
    SerialNumberEnd,
    Checksum,
};

enum class CyclePart3Field {
    Unused0,
    PartDigit,
    BeamCount, // a copy of part 1's
    Unused3,
    FaultBits, // bits 1-6: fault codes 18 to 23
    Unused5,
    ActiveMask, // bit clear = beam blanked out or not active
    Unused30,
    Checksum,
};

template <> struct RecordLayout<CyclePart1Field> {
    using F = CyclePart1Field;
    static constexpr std::size_t Size = 41;
    static constexpr std::array<FieldPlace<F>, 13> Fields{{
        {F::Unused0, 0, 1},
        {F::PartDigit, 1, 1},
        {F::BeamCount, 2, 1},
        {F::LedStatus, 3, 1},
        {F::FunctionStatus1, 4, 1},
        {F::FunctionStatus2, 5, 1},
        {F::FreeMask, 6, 24},
        {F::FaultBits, 30, 1},
        {F::MutingStatus, 31, 1},
        {F::Unused32, 32, 1},
        {F::CyclicStatus, 33, 1},
        {F::SerialNumberStart, 34, 5},
        {F::Checksum, 39, 2},
    }};
};

template <> struct RecordLayout<CyclePart2Field> {
    using F = CyclePart2Field;
    static constexpr std::size_t Size = 41;
    static constexpr std::array<FieldPlace<F>, 10> Fields{{
        {F::Unused0, 0, 1},
        {F::PartDigit, 1, 1},
        {F::BeamCount, 2, 1},
        {F::DeviceType, 3, 1},
        {F::FaultBits, 4, 1},
        {F::Unused5, 5, 1},
        {F::WeakSignalMask, 6, 24},
        {F::Unused30, 30, 4},
        {F::SerialNumberEnd, 34, 5},
        {F::Checksum, 39, 2},
    }};
};

template <> struct RecordLayout<CyclePart3Field> {
    using F = CyclePart3Field;
    static constexpr std::size_t Size = 41;
    static constexpr std::array<FieldPlace<F>, 9> Fields{{
        {F::Unused0, 0, 1},
        {F::PartDigit, 1, 1},
        {F::BeamCount, 2, 1},
        {F::Unused3, 3, 1},
        {F::FaultBits, 4, 1},
        {F::Unused5, 5, 1},
        {F::ActiveMask, 6, 24},
        {F::Unused30, 30, 9},
        {F::Checksum, 39, 2},
    }};
};

struct ReceiverCycleRecord {
    Record<CyclePart1Field> part1;
    Record<CyclePart2Field> part2;
    Record<CyclePart3Field> part3;
    friend bool operator==(const ReceiverCycleRecord&, const ReceiverCycleRecord&) = default;
};

// The receiver's diagnostic cycles: the parts as they arrive, and the last complete cycle
// with good checksums, which is what the views draw.
class ReceiverCycle {
public:
    // Takes one part as it followed its keyword (41 or 35 bytes; byte 1 the part digit).
    // A part with a good checksum reports its faults at once; part 3 completes the cycle,
    // which is applied when all three parts had good checksums. Other bytes are ignored.
    CycleOutcome ReceivePart(std::span<const std::uint8_t> data, Layout layout,
                             const RecordCodec& codec, FaultList& faults, InfoTexts& info);
    // Forgets the applied cycle (a reset of the dialogue, the start of a transfer).
    void Clear() { appliedValid_ = false; }

    bool Valid() const { return appliedValid_; }
    const ReceiverCycleRecord& Applied() const { return applied_; }
    // The applied cycle's beam count, 0 while there is none; never more than a mask holds.
    int BeamCount() const;
    BeamMask FreeMask() const { return applied_.part1.Mask(CyclePart1Field::FreeMask); }
    BeamMask WeakSignalMask() const { return applied_.part2.Mask(CyclePart2Field::WeakSignalMask); }
    BeamMask ActiveMask() const { return applied_.part3.Mask(CyclePart3Field::ActiveMask); }

private:
    CycleOutcome Evaluate(InfoTexts& info);

    ReceiverCycleRecord receiving_;
    std::array<bool, 3> partValid_{};
    ReceiverCycleRecord applied_;
    bool appliedValid_ = false;
};

} // namespace lcdiag
