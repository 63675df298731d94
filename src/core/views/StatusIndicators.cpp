#include "core/views/StatusIndicators.h"

#include "core/views/LiveViewData.h"

namespace lcdiag {

namespace {

constexpr std::array<FunctionRow, ReceiverFunctionRowCount> ReceiverRows{{
    {4003, false, true},  // restart interlock
    {4004, true, false},  // start interlock
    {4005, true, true},   // external device monitoring
    {4006, true, false},  // beam coding A
    {4007, true, false},  // cascading
    {4008, true, false},  // fixed blanking
    {4009, true, false},  // floating blanking of 1 beam
    {4010, true, false},  // floating blanking of 2 beams
    {4011, true, false},  // muting of the complete field
    {4012, true, false},  // muting teach-in
    {4013, true, false},  // muting process control
    {4014, false, true},  // muting sensor group 1
    {4015, false, true},  // muting sensor group 2
    {4016, true, false},  // cyclic control
    {4017, false, false}, // number of cycles
}};

constexpr std::array<FunctionRow, 1> EmitterRows{{{4103, true, false}}};

constexpr std::array<LedRow, 6> ReceiverLeds{{
    {4031, 0, {0, 240, 0}, 5},    // OSSD ON
    {4032, 5, {240, 0, 0}, 4},    // OSSD OFF
    {4033, 3, {237, 240, 0}, 3},  // restart
    {4034, 2, {240, 119, 0}, 2},  // signal reception
    {4035, 1, {28, 84, 210}, 1},  // blanking
    {4036, 4, {48, 162, 120}, 0}, // multi function
}};

constexpr std::array<LedRow, 2> EmitterLeds{{
    {4131, 0, {48, 162, 120}, 5}, // status
    {4132, 1, {240, 119, 0}, 2},  // send
}};

bool Bit(std::uint8_t byte, int bit) {
    return (byte >> bit & 1) != 0;
}

std::array<FunctionLights, ReceiverFunctionRowCount> ReceiverLights(const ReceiverCycle& cycle) {
    std::array<FunctionLights, ReceiverFunctionRowCount> lights{};
    if (!cycle.Valid()) {
        return lights;
    }
    const auto& part1 = cycle.Applied().part1;
    const std::uint8_t f1 = part1.Byte(CyclePart1Field::FunctionStatus1);
    const std::uint8_t f2 = part1.Byte(CyclePart1Field::FunctionStatus2);
    const std::uint8_t muting = part1.Byte(CyclePart1Field::MutingStatus);
    const std::uint8_t cyclic = part1.Byte(CyclePart1Field::CyclicStatus);
    lights[0].signal = Bit(f2, 3);
    lights[1].active = Bit(f1, 0) || Bit(f1, 1);
    lights[2] = {!Bit(f1, 2), Bit(f2, 2)};
    lights[3].active = Bit(f1, 6);
    lights[4].active = Bit(f1, 7);
    lights[5].active = Bit(f1, 3);
    lights[6].active = Bit(f1, 4);
    lights[7].active = Bit(f1, 5);
    lights[8].active = Bit(muting, 0);
    lights[9].active = Bit(muting, 1);
    lights[10].active = Bit(muting, 2);
    lights[11].signal = Bit(muting, 3);
    lights[12].signal = Bit(muting, 4);
    lights[13].active = Bit(cyclic, 7);
    return lights;
}

} // namespace

std::span<const FunctionRow> FunctionRows(ControllerType unit) {
    if (unit == ControllerType::Emitter) {
        return EmitterRows;
    }
    return ReceiverRows;
}

std::array<FunctionLights, ReceiverFunctionRowCount> FunctionTableLights(const LiveViewData& data) {
    if (data.controller == ControllerType::Receiver) {
        return ReceiverLights(data.receiverCycle);
    }
    std::array<FunctionLights, ReceiverFunctionRowCount> lights{};
    // The emitter's customer record holds "b" while beam coding A is on.
    lights[0].active = data.emitterCustomerValid &&
                       data.emitterCustomer.Byte(EmitterCustomerField::BeamCoding) == 'b';
    return lights;
}

int CycleCountShown(const LiveViewData& data) {
    if (!data.receiverCycle.Valid()) {
        return 0;
    }
    return data.receiverCycle.Applied().part1.Byte(CyclePart1Field::CyclicStatus) & 15;
}

std::span<const LedRow> LedRows(ControllerType unit) {
    if (unit == ControllerType::Emitter) {
        return EmitterLeds;
    }
    return ReceiverLeds;
}

} // namespace lcdiag
