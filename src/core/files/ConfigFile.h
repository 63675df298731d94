#pragma once

#include "core/app/TextId.h"
#include "core/device/ControllerFirmware.h"
#include "core/device/ControllerType.h"
#include "core/device/EmitterCustomerRecord.h"
#include "core/device/EmitterFactoryRecord.h"
#include "core/device/PcClock.h"
#include "core/device/ReceiverCustomerRecord.h"
#include "core/device/ReceiverFactoryRecord.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace lcdiag {

class ConnectionController;
class RecordCodec;

// A configuration file (".zcf") holds one unit's settings as the unit holds them: "ZCF", the
// unit letter ("R" receiver, "E" emitter), the format version, then the data part: the
// controller variant as an ASCII digit, the low byte of the firmware version, three zero
// bytes, the factory record and the customer record. The program writes receiver files in
// version 2 (long layouts, 374 bytes) and emitter files in version 1 (96 bytes); it also reads
// receiver files of version 1 (short layouts, 338 bytes).

// A connected receiver as its file needs it.
struct ConfigReceiver {
    ControllerFirmware firmware;
    ReceiverFactoryRecord factory; // the received factory record (valid)
    // The record in force (the active record of the record set). None while no current
    // configuration is available (ActiveRecordIndex 255, or the set is invalid): such a
    // receiver cannot be exported, see WriteConfigFile. Reading a file does not use it.
    std::optional<ReceiverCustomerRecord> activeRecord;
};

// A connected emitter as its file needs it: the records as received.
struct ConfigEmitter {
    ControllerFirmware firmware;
    EmitterFactoryRecord factory;
    EmitterCustomerRecord customer;
};

using ConnectedUnit = std::variant<ConfigReceiver, ConfigEmitter>;

// The unit the link is connected to, as it last read it.
ConnectedUnit ConnectedUnitOf(const ConnectionController& link);

// The file bytes of the connected unit, or nothing for a receiver without a current
// configuration: the caller then refuses the export with NoCurrentConfigurationText. (That
// the factory data is valid, or the emitter's data received, is the caller's test first:
// message 117.)
std::optional<std::vector<std::uint8_t>> WriteConfigFile(const ConnectedUnit& unit);

// Why a file is refused; each reason has one message.
enum class ConfigFileRefusal {
    ReadError,     // shorter than its header, or than the data part its unit and version need
    NotConfigFile, // wrong magic, another unit's letter, or a version that unit has not
    NotCompatible, // a checksum failed or the settings do not fit the connected unit
};

// "Error reading the selected file!"
inline constexpr TextId ConfigReadErrorText = 186;
// "The selected file is not a valid configuration file!"
inline constexpr TextId NotConfigFileText = 189;
// "The selected configuration file is not compatible with the connected light
// curtain!\r\nNo settings will be transfered."
inline constexpr TextId NotCompatibleConfigText = 188;
// "The data of the current configuration could not be found.\r\nNo changes can be made.":
// the refusal of an export without a current configuration.
inline constexpr TextId NoCurrentConfigurationText = 119;
// Other messages of the import and export: "The selected file could not be found!",
// "Error writing to the selected file!", "The current settings of the light curtain have been
// exported!", "The settings from the selected file have been imported successfully...".
inline constexpr TextId ConfigFileNotFoundText = 185;
inline constexpr TextId ConfigWriteErrorText = 187;
inline constexpr TextId ConfigExportedText = 190;
inline constexpr TextId ConfigImportedText = 192;

constexpr TextId RefusalText(ConfigFileRefusal refusal) {
    switch (refusal) {
    case ConfigFileRefusal::ReadError:
        return ConfigReadErrorText;
    case ConfigFileRefusal::NotConfigFile:
        return NotConfigFileText;
    case ConfigFileRefusal::NotCompatible:
        break;
    }
    return NotCompatibleConfigText;
}

// A file's content as it stands, whichever unit it was written for: the records in the long
// layouts (those of a receiver file of version 1 widened) and whether each came with a valid
// checksum.
struct ReceiverFileContent {
    std::uint8_t version = 0;
    std::uint8_t typeDigit = 0; // the controller variant, ASCII
    std::uint8_t firmware = 0;  // the low byte of the firmware version
    ReceiverFactoryRecord factory;
    ReceiverCustomerRecord customer;
    bool factoryValid = false;
    bool customerValid = false;

    ControllerFirmware Firmware() const { return {firmware, typeDigit - '0'}; }
};

struct EmitterFileContent {
    std::uint8_t version = 0;
    std::uint8_t typeDigit = 0;
    std::uint8_t firmware = 0;
    EmitterFactoryRecord factory;
    EmitterCustomerRecord customer;
    bool factoryValid = false;
    bool customerValid = false;

    ControllerFirmware Firmware() const { return {firmware, typeDigit - '0'}; }
};

using ConfigFileContent = std::variant<ConfigFileRefusal, ReceiverFileContent, EmitterFileContent>;

// Reads a file's header and data part (bytes after it are ignored); `unit`, when given, is the
// only unit whose files count. A file too short for its header or data part is a read error;
// a wrong magic, an unknown unit letter or a version its unit has not is no configuration file.
ConfigFileContent ParseConfigFile(std::span<const std::uint8_t> bytes, const RecordCodec& codec,
                                  std::optional<ControllerType> unit = std::nullopt);

// A file read for the connected unit: its customer record, renewed (the PC's date and time,
// the PC version, zero operating hours, a fresh checksum) and ready to become the current
// configuration (receiver: record 0 of the set, active; emitter: the received record); or the
// one reason for the refusal. The record's type is that of the connected unit.
using ConfigFileImport =
    std::variant<ConfigFileRefusal, ReceiverCustomerRecord, EmitterCustomerRecord>;

// Reads a file's bytes for the connected unit (its customer record is not used): header, data
// part (bytes after it are ignored), conversion of a receiver file of version 1 (both records
// must pass their checksum), the compatibility tests, the renewal. With connected firmware
// 1.33 or later the file's multiple-interruption setting (its customer record's mark, or the
// factory mark of a file from firmware 1.32) is carried into the record's mark.
ConfigFileImport ReadConfigFile(std::span<const std::uint8_t> bytes, const ConnectedUnit& unit,
                                const RecordCodec& codec, const PcClock& clock,
                                PcSoftwareVersion pcVersion);

// The renewal of an imported record, also usable on its own: receiver bytes 132-137 the
// PC's date and time (the record's stamp layout), 146-151 zero, 140-141 the PC version, the
// customer checksum; emitter bytes 12-17 the date and time (the record's stamp layout: day,
// month, year - 2000, second, minute, hour), then the sum of all 22 bytes at 20-21 and its
// complement at 18-19.
void RenewReceiverRecord(ReceiverCustomerRecord& record, const RecordCodec& codec,
                         const PcClock& clock, PcSoftwareVersion pcVersion);
void RenewEmitterRecord(EmitterCustomerRecord& record, const PcClock& clock);

// The name an export is saved under: ".zcf" appended when the chosen file name has no
// extension (as ReportFileName does for ".txt").
std::string ConfigFileName(const std::string& chosen);

// What became of an export to a file.
enum class ConfigExport {
    Written,                // message ConfigExportedText
    NoCurrentConfiguration, // nothing written; message NoCurrentConfigurationText
    WriteError,             // the old file, if any, unchanged; message ConfigWriteErrorText
};

// Writes the unit's file as the file's whole content (see ReplaceFile).
ConfigExport ExportConfigFile(const std::filesystem::path& file, const ConnectedUnit& unit);

// Reads the start of a file (no more than the longest header and data part) and hands it to
// ReadConfigFile. A missing file gives nothing (message ConfigFileNotFoundText); a file that
// cannot be read gives the read error.
std::optional<ConfigFileImport> ImportConfigFile(const std::filesystem::path& file,
                                                 const ConnectedUnit& unit,
                                                 const RecordCodec& codec, const PcClock& clock,
                                                 PcSoftwareVersion pcVersion);

} // namespace lcdiag
