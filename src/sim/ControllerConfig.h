#pragma once

#include "core/protocol/Layout.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lcdiag::sim {

// Which unit's controller is simulated.
enum class Unit { Receiver, Emitter };

// The controller's firmware: its variant digit and its version (1.36 is 136).
struct Firmware {
    int typeDigit = 1; // 1 standard, 2 muting/cyclic operation, 3 muting with RS485 bus
    int version = 136;

    // From 1.10 on the controller notices a short break pulse; older firmware answers only a
    // break that is held until it has said so.
    bool NeedsHeldBreak() const { return version < 110; }
    // An old standard controller reports its version without the type digit.
    bool ReportsVersionOnly() const { return typeDigit == 1 && version < 110; }
    // Newer firmware takes settings after keywords 18 and 19, older firmware after 2 and 4.
    bool TakesNewStoreKeywords() const {
        return (typeDigit == 1 && version >= 122) || (typeDigit >= 2 && version >= 135);
    }
    // From 1.33 on the muting times have 24 bits: their bits 16-23 have bytes of their own.
    bool WideMutingTimes() const { return version >= 133; }
    // Three version digits as the controller sends them, e.g. "136".
    std::string Digits() const;
    // The version as people write it, e.g. "1.36".
    std::string Text() const;
};

// A version of the PC program as it is stamped into the records it writes.
struct PcVersion {
    int major = 0;
    int minor = 0;
};

// A run of beams, from beam `first`, counted from 1 (beam 1 is the synchronisation beam).
struct BeamZone {
    int first = 1;
    int count = 1;

    bool operator==(const BeamZone&) const = default;
};

// Live pictures for the demo; they combine freely.
struct Scenes {
    bool movingObject = false;       // an object crosses the protective field up and down
    bool blankedZone = false;        // an object stands in a zone blanked by the settings
    bool weakBeams = false;          // a few beams flicker with a weak signal
    bool mutingSensors = false;      // the muting sensors switch on and off in turn
    bool intermittentFaults = false; // faults appear for a while and clear again
    // Receiver: an object held still in these beams, as when blanked beams or the muted area
    // are taught.
    std::optional<BeamZone> teachObject;

    static Scenes Demo() { return {true, true, true, true, true, std::nullopt}; }
};

// Where a transfer stalls when the controller falls silent in its middle.
enum class TransferSilence {
    None,
    NoReadiness,   // a break during diagnosis is noticed but not answered (no 12/11, no 27)
    NoAnswerToData // the settings arrive and nothing comes back
};

// Faults the controller can be made to show; each is off by default. Shares are 0 to 1 and
// drawn from the controller's seeded generator, so a run repeats byte for byte.
struct FaultInjection {
    // Receiver: fault word of the cycles, bit i = fault code i + 1. Emitter: the fault byte of
    // its diagnostic records (bits 1-6 = codes 2-7).
    std::uint32_t cycleFaultBits = 0;
    double wrongChecksums = 0;   // share of cycle frames sent with a broken checksum
    double garbage = 0;          // share of frames preceded by a few random bytes
    double splitFrames = 0;      // share of frames sent in two pieces with a pause between
    int silentAfterCycles = -1;  // falls silent after this many cycles of a session; -1 never
    std::uint32_t silenceMs = 0; // how long any silence lasts, deaf to breaks; 0 = until a break
    TransferSilence transferSilence = TransferSilence::None;
    // Refuses settings written by an older PC program with keyword 17 (receiver).
    std::optional<PcVersion> minPcVersion;
    bool readBackMismatch = false;       // stores settings that differ from those received
    bool missingAcknowledgement = false; // emitter: stores without answering 31 or 32
    bool invalidFactoryRecord = false;   // reports its factory record with a wrong checksum
    bool invalidCustomerRecord = false;  // the same for the (active) customer record
};

// The controller's pace, in milliseconds.
struct Timing {
    std::uint32_t identificationPeriod = 500; // identification repeated while unanswered
    std::uint32_t receiverCyclePeriod = 30;
    std::uint32_t emitterCyclePeriod = 100;
    std::uint32_t startWait = 1000; // after its report: waiting for the start of diagnosis
    std::uint32_t dataWait = 500;   // waiting for settings: a quiet line this long gives up
    std::uint32_t pulseBreak = 10;  // shortest break noticed by firmware from 1.10
    std::uint32_t heldBreak = 80;   // shortest break noticed by older firmware
    std::uint32_t splitPauseMax = 20;
};

// The settings of the receiver's active customer record when a test chooses them. The
// controller completes the record as a PC writes it: complements, masks, stamp, version and
// checksum. Times keep 24 bits from firmware 1.33 on, their low 16 bits before.
struct CustomerSettings {
    int functions = 0x01; // start interlock by the activation button, relay control active
    int mutingBits = 12;  // material transport both ways, two sensors in diagonal arrangement
    int relayDelay = 31;  // 300 ms
    int special = 0x90;   // muting and cyclic operation off; whole field muted, override
    int clockCycles = 2;
    int clockCycleTime = 30;    // seconds
    int interruptionTime = 100; // unit 10 ms
    int mutingCycleTime = 300;  // seconds
    int sensorConcurrency = 20; // tenths of a second
    int conveyorStopTime = 300; // seconds
    int overrideTime = 180;     // seconds
    int busProtocol = 1;
    int floatingBeams = 0;
    std::vector<int> blankedBeams;     // cleared in the fixed blanking mask
    std::vector<int> mutedBeams;       // cleared in the muting area mask: the taught sample
    bool multipleInterruption = false; // "M": several interruptions allowed during muting
};

// Everything a test or the demo chooses about a simulated controller, in one place.
struct ControllerConfig {
    Unit unit = Unit::Receiver;
    Layout layout = Layout::Long;
    Firmware firmware;
    int deviceType = 1; // 1-8
    int beamCount = 0;  // 0: a typical count for the device type
    std::uint32_t seed = 1;
    std::string serialNumber = "1408230117";
    std::uint32_t operatingHours = 18734; // the controller's counter at power-up
    int configurationNumber = 11;         // receiver: number of the active configuration
    int activeSlot = 3;                   // receiver: ring slot of the active configuration
    int storedConfigurations = 8;         // receiver: ring slots holding a configuration, 1-8
    // Receiver: the active configuration's settings; by default the seed picks believable
    // ones (and the blanked-zone scene adds its fixed blanking).
    std::optional<CustomerSettings> activeSettings;
    // Receiver: the factory settings force multiple interruption of the protective field
    // during muting ("M" in the factory record).
    bool forcedMultipleInterruption = false;
    Scenes scenes;
    FaultInjection faults;
    Timing timing;
};

} // namespace lcdiag::sim
