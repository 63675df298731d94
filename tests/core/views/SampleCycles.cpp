#include "SampleCycles.h"

#include "core/device/FaultList.h"
#include "core/protocol/KeywordTable.h"
#include "core/protocol/RecordCodec.h"

namespace lcdiag::testing {

namespace {

const RecordCodec& Codec() {
    static const KeywordTable table;
    static const RecordCodec codec(table.KeywordSum());
    return codec;
}

template <typename Field>
void Receive(ReceiverCycle& cycle, Record<Field> part, char digit, FaultList& faults,
             InfoTexts& info) {
    part.bytes[1] = static_cast<std::uint8_t>(digit);
    Codec().WriteChecksum(part.bytes, BlockKind::CyclePart, Layout::Long);
    cycle.ReceivePart(part.bytes, Layout::Long, Codec(), faults, info);
}

} // namespace

BeamMask AllBut(int count, std::initializer_list<int> cleared) {
    BeamMask mask = BeamMask::FirstBeams(count);
    for (int beam : cleared) {
        mask.Set(beam, false);
    }
    return mask;
}

BeamMask Only(std::initializer_list<int> beams) {
    BeamMask mask;
    for (int beam : beams) {
        mask.Set(beam, true);
    }
    return mask;
}

ReceiverCycle MakeReceiverCycle(const ReceiverSample& sample) {
    const auto beams = static_cast<std::uint8_t>(sample.beams);
    Record<CyclePart1Field> part1;
    part1.SetByte(CyclePart1Field::BeamCount, beams);
    part1.SetByte(CyclePart1Field::LedStatus, sample.ledStatus);
    part1.SetByte(CyclePart1Field::FunctionStatus1, sample.function1);
    part1.SetByte(CyclePart1Field::FunctionStatus2, sample.function2);
    part1.SetMask(CyclePart1Field::FreeMask, sample.free);
    part1.SetByte(CyclePart1Field::MutingStatus, sample.muting);
    part1.SetByte(CyclePart1Field::CyclicStatus, sample.cyclic);
    part1.SetText(CyclePart1Field::SerialNumberStart, "40117");
    Record<CyclePart2Field> part2;
    part2.SetByte(CyclePart2Field::BeamCount, beams);
    part2.SetByte(CyclePart2Field::DeviceType, static_cast<std::uint8_t>(sample.type));
    part2.SetMask(CyclePart2Field::WeakSignalMask, sample.weak);
    part2.SetText(CyclePart2Field::SerialNumberEnd, "00342");
    Record<CyclePart3Field> part3;
    part3.SetByte(CyclePart3Field::BeamCount, beams);
    part3.SetMask(CyclePart3Field::ActiveMask, sample.active);

    ReceiverCycle cycle;
    FaultList faults;
    InfoTexts info;
    Receive(cycle, part1, '1', faults, info);
    Receive(cycle, part2, '2', faults, info);
    Receive(cycle, part3, '3', faults, info);
    return cycle;
}

EmitterCycle MakeEmitterCycle(const EmitterSample& sample, int deviceType) {
    EmitterDiagRecord record;
    record.SetByte(EmitterDiagField::BeamCount, static_cast<std::uint8_t>(sample.beams));
    record.SetMask(EmitterDiagField::CurrentNotReachedMask, sample.notReached);
    record.SetMask(EmitterDiagField::CurrentExceededMask, sample.exceeded);
    Codec().WriteChecksum(record.bytes, BlockKind::Diagnostic, Layout::Long);
    EmitterFactoryRecord factory;
    factory.SetByte(EmitterFactoryField::DeviceType, static_cast<std::uint8_t>(deviceType));
    EmitterCycle cycle;
    FaultList faults;
    InfoTexts info;
    cycle.Receive(record.bytes, Layout::Long, Codec(), factory, faults, info);
    return cycle;
}

LiveViewData ReceiverData(const ReceiverSample& sample) {
    LiveViewData data;
    data.controller = ControllerType::Receiver;
    data.diagnosis = true;
    data.receiverCycle = MakeReceiverCycle(sample);
    return data;
}

LiveViewData EmitterData(const EmitterSample& sample, int deviceType) {
    LiveViewData data;
    data.controller = ControllerType::Emitter;
    data.diagnosis = true;
    data.emitterCycle = MakeEmitterCycle(sample, deviceType);
    data.emitterFactory.SetByte(EmitterFactoryField::DeviceType,
                                static_cast<std::uint8_t>(deviceType));
    data.emitterFactoryValid = true;
    return data;
}

} // namespace lcdiag::testing
