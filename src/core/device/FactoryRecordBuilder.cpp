#include "core/device/FactoryRecordBuilder.h"

#include "core/device/CustomerRecordBuilder.h"
#include "core/device/DateStamp.h"
#include "core/device/Decimal.h"
#include "core/protocol/RecordCodec.h"

#include <algorithm>
#include <cctype>
#include <string_view>

namespace lcdiag {

namespace {

using RF = ReceiverFactoryField;
using EF = EmitterFactoryField;
using Refusal = std::optional<FieldRefusal>;

// A field of a page as a refusal names it: the text id of its label and its control.
struct Label {
    int textId;
    std::string_view control;
};

FieldRefusal Refuse(int messageId, Label label, std::string_view entered = {}) {
    return {messageId, label.textId, std::string(entered), std::string(label.control), {}};
}

template <typename F>
Refusal PutDate(Record<F>& record, F field, std::string_view entered, Label label) {
    const std::optional<CalendarTime> time = ParseDateTimeText(entered);
    if (!time) {
        return Refuse(FieldRefusal::InvalidValue, label, entered);
    }
    WriteDateStamp(record.Bytes(field), *time);
    return {};
}

template <typename F>
Refusal PutText(Record<F>& record, F field, std::string_view entered, Label label,
                bool required = true) {
    const std::string_view text = Trimmed(entered);
    if (required && text.empty()) {
        return Refuse(FieldRefusal::NotFilledOut, label);
    }
    record.SetText(field, text);
    return {};
}

// A masked version entry "d.d" is stored as its two digits.
template <typename F>
Refusal PutVersion(Record<F>& record, F field, std::string_view entered, Label label) {
    const std::string_view text = Trimmed(entered);
    if (text.empty() || text == ".") {
        return Refuse(FieldRefusal::NotFilledOut, label);
    }
    const auto isDigit = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; };
    if (text.size() != 3 || !isDigit(text[0]) || text[1] != '.' || !isDigit(text[2])) {
        return Refuse(FieldRefusal::NotCompleted, label);
    }
    record.SetText(field, std::string{text[0], text[2]});
    return {};
}

Refusal PutByte(ReceiverFactoryRecord& record, RF field, long long value, Label label,
                std::string_view entered) {
    if (value < 0 || value > 255) {
        return Refuse(FieldRefusal::InvalidValue, label, entered);
    }
    record.SetByte(field, static_cast<std::uint8_t>(value));
    return {};
}

Refusal PutNumber(ReceiverFactoryRecord& record, RF field, std::string_view entered, Label label) {
    const std::optional<long long> value = ParseDecimal(Trimmed(entered));
    return PutByte(record, field, value.value_or(-1), label, entered);
}

// Bits 0-15 of a muting time go to the low field, bits 16-23 to the high one from firmware
// 1.33; a time the controller cannot hold is refused rather than cut.
Refusal PutMutingTime(ReceiverFactoryRecord& record, RF low, RF high, std::uint32_t tenths,
                      const ControllerFirmware& firmware, Label label) {
    const std::uint32_t seconds = tenths / 10;
    const std::uint32_t limit = firmware.HasLongMutingTimes() ? 0xFFFFFF : 0xFFFF;
    if (seconds > limit) {
        return Refuse(FieldRefusal::InvalidValue, label, std::to_string(seconds));
    }
    record.SetNumber(low, seconds & 0xFFFF);
    if (firmware.HasLongMutingTimes()) {
        record.SetByte(high, static_cast<std::uint8_t>(seconds >> 16));
    }
    return {};
}

// Runs the steps in order up to the first that refuses.
template <typename... Steps> Refusal FirstRefusal(Steps... steps) {
    Refusal refusal;
    ((refusal = refusal ? refusal : steps()), ...);
    return refusal;
}

Refusal PutTexts(ReceiverFactoryRecord& r, const ReceiverFactoryInput& in) {
    return FirstRefusal(
        [&] {
            return PutText(r, RF::SerialNumber, in.serialNumber, {2012, "Edt_RFS_12"});
        },
        [&] {
            return PutText(r, RF::Tester, in.tester, {2013, "Edt_RFS_13"});
        },
        [&] {
            return PutVersion(r, RF::SwVersion, in.swVersion, {2014, "Edt_RFS_14"});
        },
        [&] {
            return PutVersion(r, RF::HwVersion, in.hwVersion, {2015, "Edt_RFS_15"});
        },
        [&] {
            return PutText(r, RF::ProductionData, in.productionData, {2016, "M_RFS_11"}, false);
        },
        [&] {
            return PutText(r, RF::TypeDesignation, in.typeDesignation, {2024, "Edt_RFS_21"});
        });
}

Refusal PutNumbers(ReceiverFactoryRecord& r, const ReceiverFactoryInput& in) {
    return FirstRefusal(
        [&] {
            return PutNumber(r, RF::FunctionReserveMax, in.functionReserveMax,
                             {2031, "Edt_RFS_31"});
        },
        [&] {
            return PutNumber(r, RF::FunctionReserveOn, in.functionReserveOn, {2032, "Edt_RFS_32"});
        },
        [&] {
            return PutNumber(r, RF::OssdOnWait, in.ossdOnWait, {2041, "Edt_RFS_41"});
        },
        [&] {
            return PutNumber(r, RF::OssdOffWait, in.ossdOffWait, {2042, "Edt_RFS_42"});
        },
        [&] {
            return PutNumber(r, RF::OutputOnDelay, in.outputOnDelay, {2043, "Edt_RFS_43"});
        });
}

Refusal PutQuartzCorrection(ReceiverFactoryRecord& r, int correction) {
    if (correction < -7 || correction > 7) {
        return Refuse(FieldRefusal::InvalidValue, {2051, "Edt_RFS_51"}, std::to_string(correction));
    }
    r.SetByte(RF::QuartzCorrection, EncodeQuartzCorrection(correction));
    return {};
}

Refusal PutBlanking(ReceiverFactoryRecord& r, const ReceiverFactoryInput& in,
                    const ControllerFirmware& firmware) {
    if (!firmware.SupportsManyFloatingBeams() && in.floatingBeams > 2) {
        return FieldRefusal{FieldRefusal::TooManyFloating, 0, {}, "Edt_RFS_61", 2};
    }
    return FirstRefusal(
        [&] {
            return PutByte(r, RF::FloatingBeamsMax, in.floatingBeams, {2061, "Edt_RFS_61"},
                           std::to_string(in.floatingBeams));
        },
        [&] {
            return PutByte(r, RF::BlankingBeamsMax, in.blankingBeams, {2071, "Edt_RFS_71"},
                           std::to_string(in.blankingBeams));
        });
}

Refusal PutMuting(ReceiverFactoryRecord& r, const ReceiverFactoryInput& in,
                  const ControllerFirmware& firmware) {
    if (!firmware.IsMutingVariant()) {
        return {};
    }
    return FirstRefusal(
        [&] {
            return PutMutingTime(r, RF::MutingCycleTime, RF::MutingCycleTimeHigh,
                                 in.mutingCycleTenths, firmware, {2081, "M_RFS_81"});
        },
        [&] {
            return PutMutingTime(r, RF::ConveyorStopTime, RF::ConveyorStopTimeHigh,
                                 in.conveyorStopTenths, firmware, {2082, "M_RFS_82"});
        });
}

Refusal FillReceiverRecord(ReceiverFactoryRecord& r, const ReceiverFactoryInput& in,
                           const ControllerFirmware& firmware) {
    const auto putChoices = [&] {
        r.SetByte(RF::Cascading, in.cascading ? 'E' : 'A');
        r.SetByte(RF::CableRestart, in.restartAlways ? 'K' : 'N');
        return Refusal{};
    };
    return FirstRefusal(
        [&] {
            return PutDate(r, RF::ProductionDate, in.productionDateTime, {2011, "Edt_RFS_11"});
        },
        [&] { return PutTexts(r, in); }, putChoices, [&] { return PutNumbers(r, in); },
        [&] { return PutQuartzCorrection(r, in.quartzCorrection); },
        [&] { return PutBlanking(r, in, firmware); }, [&] { return PutMuting(r, in, firmware); });
}

// Firmware 1.32 alone reads the multiple-interruption mark from the factory record; later
// firmware keeps it in the customer record.
std::uint8_t MultipleInterruptionMark(const ReceiverFactoryInput& in,
                                      const ControllerFirmware& firmware) {
    const bool marked =
        firmware.IsMutingVariant() && firmware.version == 132 && in.multipleInterruption;
    return marked ? 'M' : 0;
}

Refusal FillEmitterRecord(EmitterFactoryRecord& r, const EmitterFactoryInput& in) {
    return FirstRefusal(
        [&] {
            return PutDate(r, EF::ProductionDate, in.productionDateTime, {2011, "Edt_EFS_11"});
        },
        [&] {
            return PutText(r, EF::SerialNumber, in.serialNumber, {2012, "Edt_EFS_12"});
        },
        [&] {
            return PutText(r, EF::Tester, in.tester, {2013, "Edt_EFS_13"});
        },
        [&] {
            return PutVersion(r, EF::HwVersion, in.hwVersion, {2015, "Edt_EFS_14"});
        },
        [&] {
            return PutText(r, EF::CustomerDesignation, in.customerDesignation,
                           {2023, "Edt_EFS_21"});
        });
}

} // namespace

std::optional<FieldRefusal>
BuildReceiverFactoryRecord(const ReceiverFactoryInput& input, const ReceiverFactoryRecord& module,
                           const ControllerFirmware& firmware, PcSoftwareVersion pcVersion,
                           const RecordCodec& codec, ReceiverFactoryRecord& sendBuffer) {
    ReceiverFactoryRecord record = module;
    if (Refusal refusal = FillReceiverRecord(record, input, firmware)) {
        return refusal;
    }
    record.SetByte(RF::MultipleInterruption, MultipleInterruptionMark(input, firmware));
    record.SetByte(RF::PcVersionMajor, pcVersion.major);
    record.SetByte(RF::PcVersionMinor, pcVersion.minor);
    record.SetByte(RF::Mark, 'T');
    record.SetByte(RF::FirmwareType,
                   static_cast<std::uint8_t>('0' + std::clamp(firmware.typeDigit, 0, 9)));
    codec.WriteChecksum(record.bytes, BlockKind::Factory, Layout::Long);
    sendBuffer = record;
    return {};
}

std::optional<FieldRefusal> BuildEmitterFactoryRecord(const EmitterFactoryInput& input,
                                                      const ReceiverFactoryRecord& module,
                                                      const PcClock& clock,
                                                      EmitterFactorySend& sendBuffer) {
    EmitterFactoryRecord record;
    record.SetByte(EF::BeamCount, module.Byte(RF::BeamCount));
    record.SetByte(EF::DeviceType, module.Byte(RF::DeviceType));
    const bool named = input.variant == 2 || input.variant == 3;
    record.SetByte(EF::Variant, static_cast<std::uint8_t>(named ? input.variant : 1));
    record.WriteComplements();
    const std::uint8_t filler[] = {255, 0, 255, 0, 255, 0, 255};
    std::ranges::copy(filler, record.Bytes(EF::Filler).begin());
    if (Refusal refusal = FillEmitterRecord(record, input)) {
        return refusal;
    }
    RecordCodec::WriteRecordChecksum(record.bytes);
    sendBuffer = {record, BuildEmitterCustomerRecord(false, clock)};
    return {};
}

std::uint8_t EncodeQuartzCorrection(int correction) {
    const int amount = std::min(correction < 0 ? -correction : correction, 7);
    return static_cast<std::uint8_t>(correction < 0 ? 0x80 | amount : amount);
}

int DecodeQuartzCorrection(std::uint8_t byte) {
    const int amount = byte & 0x07;
    return (byte & 0x80) != 0 ? -amount : amount;
}

MutingMaxima ReadMutingMaxima(const ReceiverFactoryRecord& record,
                              const ControllerFirmware& firmware) {
    const auto seconds = [&](RF low, RF high) {
        const std::uint32_t upper = firmware.HasLongMutingTimes() ? record.Byte(high) : 0;
        return upper << 16 | record.Number(low);
    };
    return {seconds(RF::MutingCycleTime, RF::MutingCycleTimeHigh) * 10,
            seconds(RF::ConveyorStopTime, RF::ConveyorStopTimeHigh) * 10};
}

std::string VersionText(const std::string& characters) {
    if (characters.size() != 2) {
        return "1.0";
    }
    return std::string{characters[0], '.', characters[1]};
}

} // namespace lcdiag
