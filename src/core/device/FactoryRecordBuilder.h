#pragma once

#include "core/device/ControllerFirmware.h"
#include "core/device/EmitterCustomerRecord.h"
#include "core/device/EmitterFactoryRecord.h"
#include "core/device/PcClock.h"
#include "core/device/ReceiverFactoryRecord.h"

#include <cstdint>
#include <optional>
#include <string>

namespace lcdiag {

class RecordCodec;

// Why the PC refused to build a record: the message to show, the field it names (by the text
// id of the field's label) and the control that gets the input focus. The caller shows the
// message; the record to be sent stays as it was.
struct FieldRefusal {
    static constexpr int NotFilledOut = 120;    // "The field '%s' was not filled out!"
    static constexpr int InvalidValue = 121;    // "'%s' is invalid for the field '%s'!"
    static constexpr int NotCompleted = 122;    // "The field '%s' was not completed!"
    static constexpr int TooManyFloating = 147; // more than 2 floating beams on old firmware

    int messageId = 0;
    int labelTextId = 0;        // 0 for message 147, which names no field
    std::string enteredText;    // message 121: the text as entered, the first "%s"
    std::string focusControl;   // objectName of the control that gets the focus
    std::optional<int> resetTo; // message 147: the editor's floating beams are set to this

    friend bool operator==(const FieldRefusal&, const FieldRefusal&) = default;
};

// What the receiver factory page holds when its settings are saved.
struct ReceiverFactoryInput {
    std::string productionDateTime;       // Edt_RFS_11, "05.03.2014 17:08:09"
    std::string serialNumber;             // Edt_RFS_12
    std::string tester;                   // Edt_RFS_13
    std::string swVersion;                // Edt_RFS_14, masked: a digit, a point, a digit
    std::string hwVersion;                // Edt_RFS_15, masked
    std::string productionData;           // M_RFS_11, may be empty
    std::string typeDesignation;          // Edt_RFS_21
    bool cascading = false;               // ChckBx_RFS_21
    bool restartAlways = true;            // CmbBx_RFS_24 shows its first entry ("always")
    std::string functionReserveMax;       // Edt_RFS_31
    std::string functionReserveOn;        // Edt_RFS_32
    std::string ossdOnWait;               // Edt_RFS_41
    std::string ossdOffWait;              // Edt_RFS_42
    std::string outputOnDelay;            // Edt_RFS_43
    int quartzCorrection = 0;             // UpDwn_RFS_51, -7 to +7
    int floatingBeams = 0;                // UpDwn_RFS_61
    int blankingBeams = 0;                // UpDwn_RFS_71
    std::uint32_t mutingCycleTenths = 0;  // M_RFS_81, tenths of a second
    std::uint32_t conveyorStopTenths = 0; // M_RFS_82, tenths of a second
    bool multipleInterruption = false;    // ChckBx_RFS_81
};

// What the emitter factory page holds when its settings are saved.
struct EmitterFactoryInput {
    std::string productionDateTime;  // Edt_EFS_11
    std::string serialNumber;        // Edt_EFS_12
    std::string tester;              // Edt_EFS_13
    std::string hwVersion;           // Edt_EFS_14, masked
    std::string customerDesignation; // Edt_EFS_21, the type name
    int variant = 1;                 // RdBtn_EFS_31 to 33: 1, 2 or 3
};

// The records a saved emitter factory page sends: the factory record and, behind it, a
// customer record with beam coding off.
struct EmitterFactorySend {
    EmitterFactoryRecord factory;
    EmitterCustomerRecord customer;
};

// Builds the receiver factory record from the module record chosen in the editor and the
// page's values. Checks the fields in a fixed order and stops at the first bad one; only on
// success is sendBuffer replaced.
std::optional<FieldRefusal>
BuildReceiverFactoryRecord(const ReceiverFactoryInput& input, const ReceiverFactoryRecord& module,
                           const ControllerFirmware& firmware, PcSoftwareVersion pcVersion,
                           const RecordCodec& codec, ReceiverFactoryRecord& sendBuffer);

// Builds the emitter factory record (beam count and device type from the chosen module
// record) and its accompanying customer record; only on success is sendBuffer replaced.
std::optional<FieldRefusal> BuildEmitterFactoryRecord(const EmitterFactoryInput& input,
                                                      const ReceiverFactoryRecord& module,
                                                      const PcClock& clock,
                                                      EmitterFactorySend& sendBuffer);

// The quartz correction byte: bit 7 for a negative value, the amount in bits 0-2.
std::uint8_t EncodeQuartzCorrection(int correction);
int DecodeQuartzCorrection(std::uint8_t byte);

// Reading a received record back into the editor.

// The maximum muting-cycle and conveyor-stop times in tenths of a second; bits 16-23 count
// from firmware 1.33.
struct MutingMaxima {
    std::uint32_t mutingCycleTenths = 0;
    std::uint32_t conveyorStopTenths = 0;
};
MutingMaxima ReadMutingMaxima(const ReceiverFactoryRecord& record,
                              const ControllerFirmware& firmware);

// A two-character version as the editor shows it: "1.2", or "1.0" when a character is missing.
std::string VersionText(const std::string& characters);

} // namespace lcdiag
