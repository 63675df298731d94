#include "core/views/LiveViewData.h"

#include "core/device/DeviceType.h"

#include <array>

namespace lcdiag {

namespace {

bool IsKnownType(int type) {
    return type >= 1 && type <= 8;
}

} // namespace

int DeviceTypeCode(const LiveViewData& data) {
    if (data.controller == ControllerType::Emitter) {
        return data.emitterFactoryValid ? data.emitterFactory.Byte(EmitterFactoryField::DeviceType)
                                        : 0;
    }
    if (data.receiverCycle.Valid()) {
        return data.receiverCycle.Applied().part2.Byte(CyclePart2Field::DeviceType);
    }
    return data.receiverFactoryValid ? data.receiverFactory.Byte(ReceiverFactoryField::DeviceType)
                                     : 0;
}

int CycleBeamCount(const LiveViewData& data) {
    return data.controller == ControllerType::Emitter ? data.emitterCycle.BeamCount()
                                                      : data.receiverCycle.BeamCount();
}

int ShownBeamCount(const LiveViewData& data) {
    const bool valid = data.controller == ControllerType::Emitter ? data.emitterCycle.Valid()
                                                                  : data.receiverCycle.Valid();
    const int count = CycleBeamCount(data);
    const int type = DeviceTypeCode(data);
    if (!valid || !IsKnownType(type)) {
        return count; // no cycle shows no beams, whatever the type
    }
    return BeamMask::Clamp(device_type::Beams(type, count));
}

std::uint8_t ReceiverLedByte(const LiveViewData& data) {
    const ReceiverCycle& cycle = data.receiverCycle;
    const bool lit = data.diagnosis && cycle.Valid() &&
                     (cycle.Applied().part1.Byte(CyclePart1Field::LedStatus) & 0x64) != 0;
    return lit ? 0x21 : 0;
}

std::uint8_t EmitterLedByte(const LiveViewData& data) {
    const bool lit = data.diagnosis && data.emitterCycle.Valid() && EmitterBlinkPhase(data.tick);
    return lit ? 0x03 : 0;
}

bool DrawsAlike(const LiveViewData& a, const LiveViewData& b) {
    return a.controller == b.controller && a.diagnosis == b.diagnosis &&
           EmitterLedByte(a) == EmitterLedByte(b) && // the only reader of the tick
           a.receiverCycle.Valid() == b.receiverCycle.Valid() &&
           a.receiverCycle.Applied() == b.receiverCycle.Applied() &&
           a.emitterCycle.Valid() == b.emitterCycle.Valid() &&
           a.emitterCycle.Applied() == b.emitterCycle.Applied() &&
           a.receiverFactoryValid == b.receiverFactoryValid &&
           a.receiverFactory == b.receiverFactory &&
           a.emitterFactoryValid == b.emitterFactoryValid && a.emitterFactory == b.emitterFactory &&
           a.emitterCustomerValid == b.emitterCustomerValid &&
           a.emitterCustomer == b.emitterCustomer && a.dimensioning == b.dimensioning &&
           a.selection == b.selection;
}

int LedCellOfBit(ControllerType unit, int bit) {
    constexpr std::array<int, 8> receiver{5, 1, 2, 3, 0, 4, -1, -1};
    constexpr std::array<int, 8> emitter{5, 2, -1, -1, -1, -1, -1, -1};
    if (bit < 0 || bit >= 8) {
        return -1;
    }
    const auto index = static_cast<std::size_t>(bit);
    return unit == ControllerType::Emitter ? emitter[index] : receiver[index];
}

} // namespace lcdiag
