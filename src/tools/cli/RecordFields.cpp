#include "tools/cli/RecordFields.h"

#include "core/device/DateStamp.h"
#include "core/protocol/KeywordTable.h"

#include <array>
#include <cstdio>

namespace lcdiag::cli {

namespace {

// How a field's bytes read: a number of up to four bytes, text, a date stamp, a beam mask;
// longer fields without a meaning of their own are shown as their bytes.
enum class Kind { Plain, Text, Stamp, Mask };

struct FieldName {
    std::string_view name;
    Kind kind = Kind::Plain;
};

// The names of each record's fields, in the order of its Field enumeration.
template <typename Field> struct FieldNames;

template <> struct FieldNames<ReceiverFactoryField> {
    static constexpr std::array<FieldName, 41> Names{{
        {"BeamCount"},
        {"BeamCountComplement"},
        {"OssdOffWait"},
        {"OssdOnWait"},
        {"RelayDelayDefault"},
        {"CableRestart", Kind::Text},
        {"FunctionReserveMax"},
        {"FunctionReserveOn"},
        {"OutputOnDelay"},
        {"Unused9"},
        {"Cascading", Kind::Text},
        {"Unused14"},
        {"InterruptionTimeDefault"},
        {"Unused17"},
        {"FloatingBeamsMax"},
        {"Unused19"},
        {"QuartzCorrection"},
        {"DeviceType"},
        {"BlankingBeamsMax"},
        {"MutingCycleTime"},
        {"ConveyorStopTime"},
        {"BeamPresenceMask", Kind::Mask},
        {"BeamPresenceMaskComplement", Kind::Mask},
        {"ProductionDate", Kind::Stamp},
        {"Unused81"},
        {"HwVersion", Kind::Text},
        {"SwVersion", Kind::Text},
        {"SerialNumber", Kind::Text},
        {"TypeDesignation", Kind::Text},
        {"Tester", Kind::Text},
        {"ProductionData", Kind::Text},
        {"Unused189"},
        {"PcVersionMajor"},
        {"PcVersionMinor"},
        {"MutingCycleTimeHigh"},
        {"ConveyorStopTimeHigh"},
        {"MultipleInterruption", Kind::Text},
        {"Mark", Kind::Text},
        {"FirmwareType", Kind::Text},
        {"ChecksumComplement"},
        {"Checksum"},
    }};
};

template <> struct FieldNames<ReceiverCustomerField> {
    static constexpr std::array<FieldName, 45> Names{{
        {"FunctionBits"},
        {"FunctionBitsComplement"},
        {"MutingBits"},
        {"MutingBitsComplement"},
        {"RelayDelay"},
        {"RelayDelayComplement"},
        {"SpecialFunctionBits"},
        {"SpecialFunctionBitsComplement"},
        {"ClockCycles"},
        {"ClockCyclesComplement"},
        {"ClockCycleTime"},
        {"ClockCycleTimeComplement"},
        {"InterruptionTime"},
        {"InterruptionTimeComplement"},
        {"MutingCycleTime"},
        {"MutingCycleTimeComplement"},
        {"SensorConcurrency"},
        {"SensorConcurrencyComplement"},
        {"ConveyorStopTime"},
        {"ConveyorStopTimeComplement"},
        {"OverrideTime"},
        {"OverrideTimeComplement"},
        {"BusProtocol"},
        {"BusProtocolComplement"},
        {"MutingCycleTimeHigh"},
        {"MutingCycleTimeHighComplement"},
        {"ConveyorStopTimeHigh"},
        {"ConveyorStopTimeHighComplement"},
        {"Reserved32"},
        {"Reserved32Complement"},
        {"FloatingBeams"},
        {"FloatingBeamsComplement"},
        {"FixedBlankingMask", Kind::Mask},
        {"FixedBlankingMaskComplement", Kind::Mask},
        {"MutingAreaMask", Kind::Mask},
        {"MutingAreaMaskComplement", Kind::Mask},
        {"ActivationStamp", Kind::Stamp},
        {"MultipleInterruption", Kind::Text},
        {"MultipleInterruptionComplement"},
        {"PcVersionMajor"},
        {"PcVersionMinor"},
        {"Checksum"},
        {"ChecksumComplement"},
        {"OperatingHours"},
        {"OperatingHoursComplement"},
    }};
};

template <> struct FieldNames<EmitterFactoryField> {
    static constexpr std::array<FieldName, 13> Names{{
        {"BeamCount"},
        {"BeamCountComplement"},
        {"DeviceType"},
        {"Variant"},
        {"VariantComplement"},
        {"Filler"},
        {"ProductionDate", Kind::Stamp},
        {"HwVersion", Kind::Text},
        {"SerialNumber", Kind::Text},
        {"CustomerDesignation", Kind::Text},
        {"Tester", Kind::Text},
        {"ChecksumComplement"},
        {"Checksum"},
    }};
};

template <> struct FieldNames<EmitterCustomerField> {
    static constexpr std::array<FieldName, 15> Names{{
        {"BeamCoding", Kind::Text},
        {"BeamCodingComplement"},
        {"Unused2"},
        {"Unused2Complement"},
        {"Unused4"},
        {"Unused4Complement"},
        {"Unused6"},
        {"Unused6Complement"},
        {"Unused8"},
        {"Unused8Complement"},
        {"Unused10"},
        {"Unused10Complement"},
        {"Stamp", Kind::Stamp},
        {"ChecksumComplement"},
        {"Checksum"},
    }};
};

std::string HexBytes(std::span<const std::uint8_t> bytes) {
    std::string text;
    for (std::uint8_t byte : bytes) {
        std::array<char, 4> hex{};
        std::snprintf(hex.data(), hex.size(), "%02X", byte);
        text += (text.empty() ? "" : " ") + std::string(hex.data());
    }
    return text;
}

template <typename Field> Json FieldValue(const Record<Field>& record, Field field, Kind kind) {
    const std::span<const std::uint8_t> bytes = record.Bytes(field);
    switch (kind) {
    case Kind::Text:
        return Latin1ToUtf8(record.Text(field));
    case Kind::Stamp:
        return DateStampText(bytes);
    case Kind::Mask:
        return BeamRanges(record.Mask(field), BeamMask::Capacity);
    case Kind::Plain:
        break;
    }
    if (bytes.size() <= 4) {
        return record.Number(field);
    }
    return HexBytes(bytes);
}

template <typename Field> Json Fields(const Record<Field>& record) {
    constexpr auto& names = FieldNames<Field>::Names;
    static_assert(names.size() == RecordLayout<Field>::Fields.size());
    Json fields = Json::object();
    for (std::size_t i = 0; i < names.size(); ++i) {
        fields[std::string(names[i].name)] =
            FieldValue(record, RecordLayout<Field>::Fields[i].field, names[i].kind);
    }
    return fields;
}

constexpr std::array<std::string_view, KeywordTable::Count> KeywordNames = {
    "ReceiverCyclePart",
    "ReceiverFactoryData",
    "ReceiverStoreFactoryOld",
    "ReceiverCustomerData",
    "ReceiverStoreCustomerOld",
    "ReceiverIdentShort",
    "ReceiverIdentLong",
    "PcAnswerReceiver",
    "FirmwareWithType",
    "FirmwareType1",
    "StartReceiverDiagnosis",
    "BreakSeenWaiting",
    "BreakSeen",
    "DeliveryState",
    "DefaultRecordFollows",
    "ConfigTrailerTemplate",
    "OperatingHours",
    "PcSoftwareIncompatible",
    "ReceiverStoreFactory",
    "ReceiverStoreCustomer",
    "EmitterFirmware",
    "EmitterFactoryData",
    "EmitterCustomerData",
    "StartEmitterDiagnosis",
    "EmitterIdentShort",
    "EmitterIdentLong",
    "PcAnswerEmitter",
    "EmitterWaitingForData",
    "EmitterFactoryFollows",
    "EmitterCustomerFollows",
    "EmitterDiagnosticData",
    "EmitterFactoryStored",
    "EmitterCustomerStored",
};

} // namespace

Json RecordFields(const ReceiverFactoryRecord& record) {
    return Fields(record);
}
Json RecordFields(const ReceiverCustomerRecord& record) {
    return Fields(record);
}
Json RecordFields(const EmitterFactoryRecord& record) {
    return Fields(record);
}
Json RecordFields(const EmitterCustomerRecord& record) {
    return Fields(record);
}

std::string BeamRanges(const BeamMask& mask, int beams, bool set) {
    std::string text;
    const int count = BeamMask::Clamp(beams);
    for (int beam = 0; beam < count;) {
        if (mask.Test(beam) != set) {
            ++beam;
            continue;
        }
        const int first = beam;
        while (beam < count && mask.Test(beam) == set) {
            ++beam;
        }
        text += (text.empty() ? "" : ", ") + std::to_string(first + 1);
        if (beam - 1 > first) {
            text += "-" + std::to_string(beam);
        }
    }
    return text;
}

std::string Latin1ToUtf8(std::string_view text) {
    std::string utf8;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            utf8.push_back(c);
        } else {
            utf8.push_back(static_cast<char>(0xC0 | byte >> 6));
            utf8.push_back(static_cast<char>(0x80 | (byte & 0x3F)));
        }
    }
    return utf8;
}

std::string KeywordName(int id) {
    if (id < 0 || id >= KeywordTable::Count) {
        return "keyword " + std::to_string(id);
    }
    return std::string(KeywordNames[static_cast<std::size_t>(id)]);
}

} // namespace lcdiag::cli
