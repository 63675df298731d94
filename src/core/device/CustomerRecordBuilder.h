#pragma once

#include "core/device/BeamMask.h"
#include "core/device/ControllerFirmware.h"
#include "core/device/EmitterCustomerRecord.h"
#include "core/device/PcClock.h"
#include "core/device/ReceiverCustomerRecord.h"
#include "core/device/ReceiverFactoryRecord.h"

namespace lcdiag {

class RecordCodec;

// What every customer record the PC builds for the receiver depends on besides its settings.
struct CustomerRecordContext {
    ControllerFirmware firmware;
    PcSoftwareVersion pcVersion;
    const PcClock& clock;
    const RecordCodec& codec;
};

// The editor state that goes into a receiver customer record besides the record's own bytes.
struct ReceiverCustomerEdits {
    BeamMask fixedBlanking; // used when the record's fixed blanking bit is set
    BeamMask mutingArea;
    bool multipleInterruption = false; // the editor allows multiple interruption during muting
};

// Completes a receiver customer record whose settings the editor has put in place: the masks
// (the factory's beam presence mask when fixed blanking is off), every complement, the PC's
// date and time, the multiple-interruption mark, the PC version, zero operating hours (the
// controller keeps them) and the checksum. `factory` is the received factory record.
void CompleteReceiverCustomerRecord(ReceiverCustomerRecord& record,
                                    const ReceiverFactoryRecord& factory,
                                    const ReceiverCustomerEdits& edits,
                                    const CustomerRecordContext& context);

// The emitter's customer record with beam coding A on or off, stamped with the PC's time.
EmitterCustomerRecord BuildEmitterCustomerRecord(bool beamCodingA, const PcClock& clock);

// The customer record a receiver starts with: default settings, no blanking, no muting area
// beyond the present beams. The masks and the device type come from `factory` (the received
// factory record, or the one just sent by a factory transfer); the default relay delay and
// interruption time always from `received`, the factory record the controller reported.
ReceiverCustomerRecord BuildDefaultReceiverRecord(const ReceiverFactoryRecord& factory,
                                                  const ReceiverFactoryRecord& received,
                                                  const CustomerRecordContext& context);

} // namespace lcdiag
