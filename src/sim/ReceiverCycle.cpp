#include "sim/ReceiverCycle.h"

#include <algorithm>

namespace lcdiag::sim {

namespace {

using Mask = std::array<std::uint8_t, MaskBytes>;

// Status LED bits: green while the outputs are on, red while off, yellow while the restart
// interlock waits, and a weak-signal warning.
constexpr std::uint8_t LedGreen = 0x01;
constexpr std::uint8_t LedWeak = 0x04;
constexpr std::uint8_t LedRed = 0x20;
constexpr std::uint8_t LedYellow = 0x40;
constexpr std::uint8_t EdmSignal = 0x04;
constexpr std::uint8_t RestartSignal = 0x08;
constexpr std::uint8_t CyclicActive = 0x80;

Mask MaskAt(std::span<const std::uint8_t> record, int offset) {
    Mask mask{};
    std::copy_n(record.begin() + offset, MaskBytes, mask.begin());
    return mask;
}

Mask Presence(const ReceiverCycleInput& input) {
    return MaskAt(input.factory, receiver_factory::PresenceMask);
}

// Beams that count: present and not blanked by the active settings.
Mask ActiveBeams(const ReceiverCycleInput& input) {
    namespace c = receiver_customer;
    Mask mask = Presence(input);
    if ((input.active[c::Functions] & c::FixedBlanking) != 0) {
        const Mask blanking = MaskAt(input.active, c::BlankingMask);
        for (int i = 0; i < MaskBytes; ++i) {
            mask[static_cast<std::size_t>(i)] &= blanking[static_cast<std::size_t>(i)];
        }
    }
    return mask;
}

Mask FreeBeams(const ReceiverCycleInput& input) {
    Mask mask = Presence(input);
    for (int i = 0; i < MaskBytes; ++i) {
        mask[static_cast<std::size_t>(i)] &=
            static_cast<std::uint8_t>(~input.field.interrupted[static_cast<std::size_t>(i)]);
    }
    return mask;
}

Mask WeakBeams(const ReceiverCycleInput& input) {
    Mask mask = Presence(input);
    for (int i = 0; i < MaskBytes; ++i) {
        mask[static_cast<std::size_t>(i)] &= input.field.weak[static_cast<std::size_t>(i)];
    }
    return mask;
}

bool MutingActive(const ReceiverCycleInput& input) {
    namespace c = receiver_customer;
    return (input.active[c::Special] & c::Muting) != 0 && input.field.sensorOne &&
           input.field.sensorTwo;
}

std::uint8_t MutingStatus(const ReceiverCycleInput& input) {
    return static_cast<std::uint8_t>((MutingActive(input) ? 0x01 : 0) |
                                     (input.field.sensorOne ? 0x08 : 0) |
                                     (input.field.sensorTwo ? 0x10 : 0));
}

std::uint8_t CyclicStatus(const ReceiverCycleInput& input) {
    namespace c = receiver_customer;
    if ((input.active[c::Special] & c::CyclicOperation) == 0) {
        return 0;
    }
    return static_cast<std::uint8_t>(CyclicActive | (input.active[c::ClockCycles] & 0x0F));
}

// A single-beam grid reports both of its channels; the PC counts it as one beam.
std::uint8_t ReportedBeamCount(const ReceiverCycleInput& input) {
    namespace f = receiver_factory;
    return input.factory[f::DeviceType] == 7 ? 2 : input.factory[f::BeamCount];
}

void PutMask(CyclePart& part, const Mask& mask) {
    std::copy(mask.begin(), mask.end(), part.begin() + cycle_part::Mask);
}

void PutSerial(CyclePart& part, const ReceiverFactoryRecord& factory, int first) {
    std::copy_n(factory.begin() + receiver_factory::SerialNumber + first, 5,
                part.begin() + cycle_part::Serial);
}

} // namespace

bool FieldInterrupted(const ReceiverCycleInput& input) {
    const Mask active = ActiveBeams(input);
    const Mask free = FreeBeams(input);
    for (int i = 0; i < MaskBytes; ++i) {
        const auto index = static_cast<std::size_t>(i);
        if ((active[index] & ~free[index]) != 0) {
            return true;
        }
    }
    return false;
}

std::array<CyclePart, 3> BuildReceiverCycle(const ReceiverCycleInput& input,
                                            const RecordCodec& codec) {
    namespace p = cycle_part;
    std::array<CyclePart, 3> parts{};
    for (std::size_t i = 0; i < parts.size(); ++i) {
        parts[i][p::Counter] = input.counter;
        parts[i][p::PartDigit] = static_cast<std::uint8_t>('1' + i);
        parts[i][p::BeamCount] = ReportedBeamCount(input);
    }
    const bool outputsOn = (!FieldInterrupted(input) || MutingActive(input)) &&
                           input.faultBits == 0 && !input.interlockWaiting;
    const Mask weak = WeakBeams(input);
    const bool anyWeak =
        std::any_of(weak.begin(), weak.end(), [](std::uint8_t b) { return b != 0; });

    CyclePart& one = parts[0];
    one[p::Leds] = static_cast<std::uint8_t>((outputsOn ? LedGreen : LedRed) |
                                             (input.interlockWaiting ? LedYellow : 0) |
                                             (anyWeak ? LedWeak : 0));
    one[p::FunctionOne] = input.active[receiver_customer::Functions];
    one[p::FunctionTwo] = static_cast<std::uint8_t>((outputsOn ? EdmSignal : 0) |
                                                    (input.interlockWaiting ? RestartSignal : 0));
    PutMask(one, FreeBeams(input));
    one[p::FaultsLow] = static_cast<std::uint8_t>(input.faultBits & 0xFF);
    one[p::MutingStatus] = MutingStatus(input);
    one[p::CyclicStatus] = CyclicStatus(input);
    PutSerial(one, input.factory, 0);

    CyclePart& two = parts[1];
    two[p::DeviceType] = input.factory[receiver_factory::DeviceType];
    two[p::FaultByte] = static_cast<std::uint8_t>((input.faultBits >> 8) & 0x7F);
    PutMask(two, weak);
    PutSerial(two, input.factory, 5);

    CyclePart& three = parts[2];
    three[p::FaultByte] = static_cast<std::uint8_t>((input.faultBits >> 16) & 0x7E);
    PutMask(three, ActiveBeams(input));

    for (CyclePart& part : parts) {
        codec.WriteChecksum(part, BlockKind::CyclePart, Layout::Long);
    }
    return parts;
}

} // namespace lcdiag::sim
