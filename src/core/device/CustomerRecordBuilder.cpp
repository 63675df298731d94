#include "core/device/CustomerRecordBuilder.h"

#include "core/device/DateStamp.h"
#include "core/protocol/RecordCodec.h"

#include <utility>

namespace lcdiag {

namespace {

using CF = ReceiverCustomerField;
using RF = ReceiverFactoryField;

// The single beam of a type-7 grid is present and not blanked, whatever the mask says.
void MarkSingleBeamGrid(ReceiverCustomerRecord& record, const ReceiverFactoryRecord& factory) {
    if (factory.Byte(RF::DeviceType) == 7) {
        record.Bytes(CF::FixedBlankingMask).front() = 128;
        record.Bytes(CF::FixedBlankingMaskComplement).front() = 127;
    }
}

// Stamp, version, zero operating hours and checksum: the end of every record the PC builds.
void Finish(ReceiverCustomerRecord& record, const CustomerRecordContext& context) {
    WriteDateStamp(record.Bytes(CF::ActivationStamp), context.clock.Now());
    record.SetNumber(CF::OperatingHours, 0);
    record.SetNumber(CF::OperatingHoursComplement, 0);
    record.SetByte(CF::PcVersionMajor, context.pcVersion.major);
    record.SetByte(CF::PcVersionMinor, context.pcVersion.minor);
    context.codec.WriteChecksum(record.bytes, BlockKind::Customer, Layout::Long);
}

} // namespace

void CompleteReceiverCustomerRecord(ReceiverCustomerRecord& record,
                                    const ReceiverFactoryRecord& factory,
                                    const ReceiverCustomerEdits& edits,
                                    const CustomerRecordContext& context) {
    const bool fixedBlanking = (record.Byte(CF::FunctionBits) & function_bit::FixedBlanking) != 0;
    record.SetMask(CF::FixedBlankingMask,
                   fixedBlanking ? edits.fixedBlanking : factory.Mask(RF::BeamPresenceMask));
    record.SetMask(CF::MutingAreaMask, edits.mutingArea);
    const ControllerFirmware& firmware = context.firmware;
    const bool allowed =
        edits.multipleInterruption && firmware.IsMutingVariant() && firmware.HasLongMutingTimes();
    record.SetByte(CF::MultipleInterruption, allowed ? 'M' : 0);
    record.WriteComplements();
    MarkSingleBeamGrid(record, factory);
    Finish(record, context);
}

EmitterCustomerRecord BuildEmitterCustomerRecord(bool beamCodingA, const PcClock& clock) {
    using EF = EmitterCustomerField;
    EmitterCustomerRecord record;
    record.SetByte(EF::BeamCoding, beamCodingA ? EmitterBeamCodingOn : EmitterBeamCodingOff);
    record.WriteComplements();
    WriteDateStamp(record.Bytes(EF::Stamp), clock.Now());
    RecordCodec::WriteRecordChecksum(record.bytes);
    return record;
}

ReceiverCustomerRecord BuildDefaultReceiverRecord(const ReceiverFactoryRecord& factory,
                                                  const ReceiverFactoryRecord& received,
                                                  const CustomerRecordContext& context) {
    ReceiverCustomerRecord record;
    record.SetByte(CF::FunctionBits, function_bit::RelayControlOff);
    record.SetByte(CF::MutingBits, 12);
    record.SetByte(CF::RelayDelay, received.Byte(RF::RelayDelayDefault));
    record.SetByte(CF::SpecialFunctionBits, 144);
    record.SetByte(CF::ClockCycles, 2);
    record.SetByte(CF::ClockCycleTime, 30);
    record.SetByte(CF::InterruptionTime, received.Byte(RF::InterruptionTimeDefault));
    record.SetNumber(CF::MutingCycleTime, 300);
    record.SetByte(CF::SensorConcurrency, 20);
    record.SetNumber(CF::ConveyorStopTime, 300);
    record.SetByte(CF::OverrideTime, 180);
    record.SetByte(CF::BusProtocol, 1);
    const bool allowed = context.firmware.typeDigit >= 2 && context.firmware.HasLongMutingTimes();
    record.SetByte(CF::MultipleInterruption, allowed ? 'M' : 0);
    record.WriteComplements();
    // Both masks are the factory's presence mask, its complement taken as the factory has it.
    for (auto [mask, complement] :
         {std::pair{CF::FixedBlankingMask, CF::FixedBlankingMaskComplement},
          std::pair{CF::MutingAreaMask, CF::MutingAreaMaskComplement}}) {
        record.SetMask(mask, factory.Mask(RF::BeamPresenceMask));
        record.SetMask(complement, factory.Mask(RF::BeamPresenceMaskComplement));
    }
    MarkSingleBeamGrid(record, factory);
    Finish(record, context);
    return record;
}

} // namespace lcdiag
