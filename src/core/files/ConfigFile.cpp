#include "core/files/ConfigFile.h"

#include "core/device/DateStamp.h"
#include "core/files/FileReplace.h"
#include "core/files/SettingsReport.h"
#include "core/protocol/ConnectionController.h"
#include "core/protocol/RecordCodec.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <system_error>

namespace lcdiag {

namespace {

using CF = ReceiverCustomerField;
using RF = ReceiverFactoryField;
using ECF = EmitterCustomerField;
using EF = EmitterFactoryField;

constexpr std::array<std::uint8_t, 3> Magic{'Z', 'C', 'F'};
constexpr std::uint8_t ReceiverLetter = 'R';
constexpr std::uint8_t EmitterLetter = 'E';
constexpr std::uint8_t ReceiverVersionWritten = 2;
constexpr std::uint8_t ReceiverShortVersion = 1;
constexpr std::uint8_t EmitterVersion = 1;
constexpr std::size_t HeaderSize = 5;

// The data part starts with the variant digit, the firmware byte and three reserved bytes;
// the factory record follows, then the customer record.
constexpr std::size_t TypeDigitAt = 0;
constexpr std::size_t FirmwareAt = 1;
constexpr std::size_t FactoryAt = 5;
constexpr std::size_t ShortFactorySize = 200;
constexpr std::size_t ShortCustomerSize = 128;
constexpr std::size_t ReceiverDataSize =
    FactoryAt + ReceiverFactoryRecord::Size + ReceiverCustomerRecord::Size; // 369
constexpr std::size_t ShortReceiverDataSize =
    FactoryAt + ShortFactorySize + ShortCustomerSize; // 333
constexpr std::size_t EmitterDataSize =
    FactoryAt + EmitterFactoryRecord::Size + EmitterCustomerRecord::Size; // 91
constexpr std::size_t LongestFile = HeaderSize + ReceiverDataSize;

constexpr std::uint8_t MultipleInterruptionMark = 'M';
// Firmware 1.32 keeps the multiple-interruption mark in the factory record, later firmware
// (the one with 24-bit muting times) in the customer record.
constexpr int MarkInFactoryFirmware = 132;

std::vector<std::uint8_t> FileStart(std::uint8_t letter, std::uint8_t version,
                                    const ControllerFirmware& firmware) {
    std::vector<std::uint8_t> bytes(Magic.begin(), Magic.end());
    bytes.push_back(letter);
    bytes.push_back(version);
    bytes.push_back(static_cast<std::uint8_t>('0' + firmware.typeDigit));
    bytes.push_back(static_cast<std::uint8_t>(firmware.version & 0xFF));
    bytes.insert(bytes.end(), 3, 0);
    return bytes;
}

template <typename... Records>
std::vector<std::uint8_t> Append(std::vector<std::uint8_t> bytes, const Records&... records) {
    (bytes.insert(bytes.end(), records.bytes.begin(), records.bytes.end()), ...);
    return bytes;
}

// A version-1 part is widened with the codec's short layout, each record judged by the
// checksum it came with; a version-2 part is taken as it is and its checksums tested.
ReceiverFileContent ReceiverFileOf(std::span<const std::uint8_t> data, std::uint8_t version,
                                   const RecordCodec& codec) {
    ReceiverFileContent file;
    file.version = version;
    file.typeDigit = data[TypeDigitAt];
    file.firmware = data[FirmwareAt];
    const std::span<const std::uint8_t> records = data.subspan(FactoryAt);
    if (version == ReceiverVersionWritten) {
        file.factory = ReceiverFactoryRecord::From(records);
        file.customer = ReceiverCustomerRecord::From(records.subspan(ReceiverFactoryRecord::Size));
        file.factoryValid =
            codec.TestChecksum(file.factory.bytes, BlockKind::Factory, Layout::Long);
        file.customerValid =
            codec.TestChecksum(file.customer.bytes, BlockKind::Customer, Layout::Long);
        return file;
    }
    file.factoryValid = codec.Decode(records.first(ShortFactorySize), file.factory.bytes,
                                     Layout::Short, BlockKind::Factory);
    file.customerValid = codec.Decode(records.subspan(ShortFactorySize, ShortCustomerSize),
                                      file.customer.bytes, Layout::Short, BlockKind::Customer);
    return file;
}

EmitterFileContent EmitterFileOf(std::span<const std::uint8_t> data, std::uint8_t version) {
    EmitterFileContent file;
    file.version = version;
    file.typeDigit = data[TypeDigitAt];
    file.firmware = data[FirmwareAt];
    const std::span<const std::uint8_t> records = data.subspan(FactoryAt);
    file.factory = EmitterFactoryRecord::From(records);
    file.customer = EmitterCustomerRecord::From(records.subspan(EmitterFactoryRecord::Size));
    file.factoryValid = RecordCodec::TestRecordChecksum(file.factory.bytes);
    file.customerValid = RecordCodec::TestRecordChecksum(file.customer.bytes);
    return file;
}

bool HasLongMutingTimes(const ReceiverFileContent& file) {
    return file.Firmware().HasLongMutingTimes();
}

// The file's floating beams: two for "more beams" (one for "one beam"), or the count byte
// when that is larger.
int FloatingBeams(const ReceiverCustomerRecord& customer) {
    const std::uint8_t bits = customer.Byte(CF::FunctionBits);
    const int marked = (bits & function_bit::FloatingMoreBeams) != 0 ? 2
                       : (bits & function_bit::FloatingOneBeam) != 0 ? 1
                                                                     : 0;
    return std::max<int>(marked, customer.Byte(CF::FloatingBeams));
}

// A muting time in seconds: bits 16-23 from the high byte only on firmware with long times.
template <typename Field>
std::uint32_t MutingTime(const Record<Field>& record, Field low, Field high, bool longTimes) {
    return (longTimes ? std::uint32_t{record.Byte(high)} << 16 : 0) | record.Number(low);
}

// Whether the file allows multiple interruption of the protective field during muting, where
// the firmware that wrote it keeps that mark.
bool MultipleInterruptionOn(const ReceiverFileContent& file) {
    if (HasLongMutingTimes(file)) {
        return file.customer.Byte(CF::MultipleInterruption) == MultipleInterruptionMark;
    }
    return file.firmware == MarkInFactoryFirmware &&
           file.factory.Byte(RF::MultipleInterruption) == MultipleInterruptionMark;
}

// The muting rules of the controller variants with muting: the times within the connected
// unit's maximum, the multiple-interruption setting one the connected firmware can hold.
bool MutingFits(const ReceiverFileContent& file, const ConfigReceiver& unit) {
    const bool fileLong = HasLongMutingTimes(file);
    const bool unitLong = unit.firmware.HasLongMutingTimes();
    const ReceiverFactoryRecord& limits = unit.factory;
    if (MutingTime(file.customer, CF::MutingCycleTime, CF::MutingCycleTimeHigh, fileLong) >
            MutingTime(limits, RF::MutingCycleTime, RF::MutingCycleTimeHigh, unitLong) ||
        MutingTime(file.customer, CF::ConveyorStopTime, CF::ConveyorStopTimeHigh, fileLong) >
            MutingTime(limits, RF::ConveyorStopTime, RF::ConveyorStopTimeHigh, unitLong)) {
        return false;
    }
    const bool on = MultipleInterruptionOn(file);
    if (unit.firmware.version < MarkInFactoryFirmware) {
        return !on;
    }
    if (unit.firmware.version == MarkInFactoryFirmware) {
        return on == (limits.Byte(RF::MultipleInterruption) == MultipleInterruptionMark);
    }
    return true;
}

bool HasMutingVariant(const ReceiverFileContent& file) {
    return file.typeDigit > '1';
}

bool IsCompatibleReceiverFile(const ReceiverFileContent& file, const ConfigReceiver& unit) {
    const ReceiverFactoryRecord& connected = unit.factory;
    const auto same = [&](RF field) { return file.factory.Byte(field) == connected.Byte(field); };
    const int blanked = file.factory.Byte(RF::BeamCount) -
                        file.customer.Mask(CF::FixedBlankingMask).CountSet(BeamMask::Capacity);
    return file.factoryValid && file.customerValid && same(RF::BeamCount) && same(RF::DeviceType) &&
           same(RF::Cascading) && same(RF::CableRestart) &&
           FloatingBeams(file.customer) <= file.factory.Byte(RF::FloatingBeamsMax) &&
           blanked <= file.factory.Byte(RF::BlankingBeamsMax) && same(RF::Mark) &&
           same(RF::FirmwareType) && file.typeDigit == '0' + unit.firmware.typeDigit &&
           (!HasMutingVariant(file) || MutingFits(file, unit));
}

ConfigFileImport ReadReceiverFile(const ReceiverFileContent& file, const ConfigReceiver& unit,
                                  const RecordCodec& codec, const PcClock& clock,
                                  PcSoftwareVersion pcVersion) {
    if (!IsCompatibleReceiverFile(file, unit)) {
        return ConfigFileRefusal::NotCompatible;
    }
    ReceiverCustomerRecord record = file.customer;
    if (HasMutingVariant(file) && unit.firmware.HasLongMutingTimes()) {
        // Firmware from 1.33 keeps the mark in the customer record, whichever firmware wrote
        // the file; its complement follows so that the record stays consistent.
        record.SetByte(CF::MultipleInterruption,
                       MultipleInterruptionOn(file) ? MultipleInterruptionMark : 0);
        record.WriteComplement(CF::MultipleInterruptionComplement);
    }
    RenewReceiverRecord(record, codec, clock, pcVersion);
    return record;
}

bool IsCompatibleEmitterFile(const EmitterFileContent& file, const ConfigEmitter& unit) {
    return file.factoryValid && file.customerValid &&
           file.factory.Byte(EF::BeamCount) == unit.factory.Byte(EF::BeamCount) &&
           file.factory.Byte(EF::DeviceType) == unit.factory.Byte(EF::DeviceType);
}

ConfigFileImport ReadEmitterFile(const EmitterFileContent& file, const ConfigEmitter& unit,
                                 const PcClock& clock) {
    if (!IsCompatibleEmitterFile(file, unit)) {
        return ConfigFileRefusal::NotCompatible;
    }
    EmitterCustomerRecord record = file.customer;
    RenewEmitterRecord(record, clock);
    return record;
}

bool VersionKnown(std::uint8_t letter, std::uint8_t version) {
    if (letter == ReceiverLetter) {
        return version == ReceiverVersionWritten || version == ReceiverShortVersion;
    }
    return letter == EmitterLetter && version == EmitterVersion;
}

std::size_t DataSize(std::uint8_t letter, std::uint8_t version) {
    if (letter == EmitterLetter) {
        return EmitterDataSize;
    }
    return version == ReceiverVersionWritten ? ReceiverDataSize : ShortReceiverDataSize;
}

} // namespace

ConnectedUnit ConnectedUnitOf(const ConnectionController& link) {
    if (link.Unit() == ControllerType::Emitter) {
        return ConfigEmitter{link.Firmware(), link.EmitterFactory(), link.EmitterCustomer()};
    }
    ConfigReceiver receiver{link.Firmware(), link.ReceiverFactory(), std::nullopt};
    if (const ReceiverCustomerRecord* active = link.ReceiverCustomers().ActiveRecord()) {
        receiver.activeRecord = *active;
    }
    return receiver;
}

std::optional<std::vector<std::uint8_t>> WriteConfigFile(const ConnectedUnit& unit) {
    if (const auto* receiver = std::get_if<ConfigReceiver>(&unit)) {
        if (!receiver->activeRecord) {
            return std::nullopt;
        }
        return Append(FileStart(ReceiverLetter, ReceiverVersionWritten, receiver->firmware),
                      receiver->factory, *receiver->activeRecord);
    }
    const auto& emitter = std::get<ConfigEmitter>(unit);
    return Append(FileStart(EmitterLetter, EmitterVersion, emitter.firmware), emitter.factory,
                  emitter.customer);
}

ConfigFileContent ParseConfigFile(std::span<const std::uint8_t> bytes, const RecordCodec& codec,
                                  std::optional<ControllerType> unit) {
    if (bytes.size() < HeaderSize) {
        return ConfigFileRefusal::ReadError;
    }
    const std::uint8_t letter = bytes[3];
    const std::uint8_t version = bytes[4];
    const bool unitWanted =
        !unit || letter == (*unit == ControllerType::Receiver ? ReceiverLetter : EmitterLetter);
    if (!std::equal(Magic.begin(), Magic.end(), bytes.begin()) || !unitWanted ||
        !VersionKnown(letter, version)) {
        return ConfigFileRefusal::NotConfigFile;
    }
    const std::size_t dataSize = DataSize(letter, version);
    if (bytes.size() - HeaderSize < dataSize) {
        return ConfigFileRefusal::ReadError;
    }
    const std::span<const std::uint8_t> data = bytes.subspan(HeaderSize, dataSize);
    if (letter == ReceiverLetter) {
        return ReceiverFileOf(data, version, codec);
    }
    return EmitterFileOf(data, version);
}

ConfigFileImport ReadConfigFile(std::span<const std::uint8_t> bytes, const ConnectedUnit& unit,
                                const RecordCodec& codec, const PcClock& clock,
                                PcSoftwareVersion pcVersion) {
    const auto* receiver = std::get_if<ConfigReceiver>(&unit);
    const ConfigFileContent content = ParseConfigFile(
        bytes, codec, receiver != nullptr ? ControllerType::Receiver : ControllerType::Emitter);
    if (const auto* refusal = std::get_if<ConfigFileRefusal>(&content)) {
        return *refusal;
    }
    if (receiver != nullptr) {
        return ReadReceiverFile(std::get<ReceiverFileContent>(content), *receiver, codec, clock,
                                pcVersion);
    }
    return ReadEmitterFile(std::get<EmitterFileContent>(content), std::get<ConfigEmitter>(unit),
                           clock);
}

void RenewReceiverRecord(ReceiverCustomerRecord& record, const RecordCodec& codec,
                         const PcClock& clock, PcSoftwareVersion pcVersion) {
    WriteDateStamp(record.Bytes(CF::ActivationStamp), clock.Now());
    record.SetNumber(CF::OperatingHours, 0);
    record.SetNumber(CF::OperatingHoursComplement, 0);
    record.SetByte(CF::PcVersionMajor, pcVersion.major);
    record.SetByte(CF::PcVersionMinor, pcVersion.minor);
    codec.WriteChecksum(record.bytes, BlockKind::Customer, Layout::Long);
}

void RenewEmitterRecord(EmitterCustomerRecord& record, const PcClock& clock) {
    // The emitter's stamp has the layout of every other record's: day, month, year - 2000,
    // second, minute, hour.
    WriteDateStamp(record.Bytes(ECF::Stamp), clock.Now());
    RecordCodec::WriteRecordChecksum(record.bytes);
}

std::string ConfigFileName(const std::string& chosen) {
    // The report's rule, with the configuration file's extension in place of "txt".
    const std::string completed = ReportFileName(chosen);
    if (completed == chosen) {
        return chosen;
    }
    return completed.substr(0, completed.size() - 3) + "zcf";
}

ConfigExport ExportConfigFile(const std::filesystem::path& file, const ConnectedUnit& unit) {
    const std::optional<std::vector<std::uint8_t>> bytes = WriteConfigFile(unit);
    if (!bytes) {
        return ConfigExport::NoCurrentConfiguration;
    }
    return ReplaceFile(file, *bytes) ? ConfigExport::Written : ConfigExport::WriteError;
}

std::optional<ConfigFileImport> ImportConfigFile(const std::filesystem::path& file,
                                                 const ConnectedUnit& unit,
                                                 const RecordCodec& codec, const PcClock& clock,
                                                 PcSoftwareVersion pcVersion) {
    std::error_code error;
    if (std::filesystem::status(file, error).type() == std::filesystem::file_type::not_found) {
        return std::nullopt;
    }
    std::ifstream in(file, std::ios::binary);
    std::vector<std::uint8_t> bytes(LongestFile);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!in && !in.eof()) {
        return ConfigFileRefusal::ReadError;
    }
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return ReadConfigFile(bytes, unit, codec, clock, pcVersion);
}

} // namespace lcdiag
