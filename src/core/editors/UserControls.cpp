#include "core/editors/UserControls.h"

#include <algorithm>
#include <array>

namespace lcdiag {
namespace {

using enum UserControl;
using enum UserPage;
using enum ControlKind;

// Byte 0: function bits; 2: muting bits; 6: special function bits.
constexpr int Functions = 0;
constexpr int MutingBits = 2;
constexpr int SpecialBits = 6;
constexpr std::uint8_t Mode = muting_bit::OperatingMode;
constexpr std::uint8_t Direction = muting_bit::Direction;
constexpr std::uint8_t Area = special_bit::Area;

constexpr std::array<UserControlRow, UserControlCount> Table{{
    {ChckBx_RUSG_11, "ChckBx_RUSG_11", General, 3010, 3011, 0, CheckBox,
     BitBinding{Functions, function_bit::StartInterlockButton}},
    {ChckBx_RUSG_12, "ChckBx_RUSG_12", General, 3010, 3012, 0, CheckBox,
     BitBinding{Functions, function_bit::StartInterlockInterruption}},
    {Edt_RUSG_11, "Edt_RUSG_11", General, 3010, 3013, 0, Number,
     NumberBinding{12, 0, 10, 250, 1500, 10}},
    {ChckBx_RUSG_21, "ChckBx_RUSG_21", General, 3020, 3021, 0, CheckBox,
     BitBinding{Functions, function_bit::RelayControlOff, true}},
    {Edt_RUSG_21, "Edt_RUSG_21", General, 3020, 3022, 0, Number,
     NumberBinding{4, -1, 10, 50, 500, 10}},
    {ChckBx_RUSG_31, "ChckBx_RUSG_31", General, 3030, 3031, 0, CheckBox,
     BitBinding{Functions, function_bit::BeamCodingA}},
    {ChckBx_RUSG_41, "ChckBx_RUSG_41", General, 3040, 3041, 0, CheckBox,
     BitBinding{Functions, function_bit::FixedBlanking}},
    {Edt_RUSG_51, "Edt_RUSG_51", General, 3050, 3051, 0, Number, OwnBinding{}},
    {ChckBx_RUSG_61, "ChckBx_RUSG_61", General, 3060, 3061, 0, CheckBox,
     BitBinding{SpecialBits, special_bit::Muting}},
    {ChckBx_RUSG_62, "ChckBx_RUSG_62", General, 3060, 3062, 0, CheckBox,
     BitBinding{SpecialBits, special_bit::CyclicOperation}},

    {RdBtn_RUSM_111, "RdBtn_RUSM_111", Muting, 3100, 3110, 3111, RadioButton,
     ValueBinding{MutingBits, Mode, muting_bit::TwoSensorsDiagonal, true}},
    {RdBtn_RUSM_112, "RdBtn_RUSM_112", Muting, 3100, 0, 3112, RadioButton,
     ValueBinding{MutingBits, Mode, muting_bit::TwoSensorsParallel}},
    {RdBtn_RUSM_113, "RdBtn_RUSM_113", Muting, 3100, 0, 3113, RadioButton,
     ValueBinding{MutingBits, Mode, muting_bit::FourSensorsParallel}},
    {RdBtn_RUSM_121, "RdBtn_RUSM_121", Muting, 3100, 3120, 3121, RadioButton,
     ValueBinding{MutingBits, Direction, muting_bit::IntoDangerZone, true}},
    {RdBtn_RUSM_122, "RdBtn_RUSM_122", Muting, 3100, 0, 3122, RadioButton,
     ValueBinding{MutingBits, Direction, muting_bit::OutOfDangerZone}},
    {RdBtn_RUSM_123, "RdBtn_RUSM_123", Muting, 3100, 0, 3123, RadioButton,
     ValueBinding{MutingBits, Direction, muting_bit::BothDirections}},
    {M_RUSM_11, "M_RUSM_11", Muting, 3100, 3103, 0, Time, TimeBinding{0, 14, 2, 28, 10}},
    {M_RUSM_12, "M_RUSM_12", Muting, 3100, 3104, 0, Time, TimeBinding{1, 18, 1, -1, 1}},
    {ChckBx_RUSM_21, "ChckBx_RUSM_21", Muting, 3130, 3131, 0, CheckBox,
     BitBinding{SpecialBits, special_bit::RestartInterlock}},
    {ChckBx_RUSM_22, "ChckBx_RUSM_22", Muting, 3130, 3132, 0, CheckBox,
     BitBinding{SpecialBits, special_bit::ConveyorStop}},
    {M_RUSM_21, "M_RUSM_21", Muting, 3130, 0, 0, Time, TimeBinding{2, 20, 2, 30, 10}},
    {ChckBx_RUSM_23, "ChckBx_RUSM_23", Muting, 3130, 3133, 0, CheckBox,
     BitBinding{MutingBits, muting_bit::ShortenedCycle}},
    {ChCkBx_RUSM_24, "ChCkBx_RUSM_24", Muting, 3130, 3134, 0, CheckBox,
     BitBinding{SpecialBits, special_bit::Override}},
    {M_RUSM_22, "M_RUSM_22", Muting, 3130, 0, 0, Time, TimeBinding{3, 24, 1, -1, 10}},
    {ChckBx_RUSM_31, "ChckBx_RUSM_31", Muting, 3140, 3141, 3142, CheckBox, OwnBinding{}},
    {RdBtn_RUSM_311, "RdBtn_RUSM_311", Muting, 3140, 3143, 3144, RadioButton,
     ValueBinding{SpecialBits, Area, special_bit::CompleteFieldArea, true}},
    {RdBtn_RUSM_312, "RdBtn_RUSM_312", Muting, 3140, 0, 3145, RadioButton,
     ValueBinding{SpecialBits, Area, special_bit::TeachSampleArea}},
    {RdBtn_RUSM_313, "RdBtn_RUSM_313", Muting, 3140, 0, 3146, RadioButton,
     ValueBinding{SpecialBits, Area, special_bit::BusArea}},
    {Edt_RUSM_31, "Edt_RUSM_31", Muting, 3140, 3147, 0, Number, NumberBinding{26, 0, 1, 1, 255, 1}},

    {Edt_RUSC_11, "Edt_RUSC_11", Cyclic, 3200, 3201, 0, Number, NumberBinding{8, 0, 1, 1, 8, 1}},
    {M_RUSC_21, "M_RUSC_21", Cyclic, 3210, 3211, 0, Time, TimeBinding{4, 10, 1, -1, 10}},
}};

constexpr bool InTableOrder() {
    for (std::size_t i = 0; i < Table.size(); ++i) {
        if (static_cast<std::size_t>(Table[i].control) != i) {
            return false;
        }
    }
    return true;
}
static_assert(InTableOrder());

std::size_t At(int byte) {
    return static_cast<std::size_t>(byte);
}

bool Matches(const ReceiverCustomerRecord& record, const ValueBinding& binding) {
    return (record.bytes[At(binding.byte)] & binding.mask) == binding.value;
}

// A fallback button counts as selected when none of its group matches.
bool Selected(const ReceiverCustomerRecord& record, const UserControlRow& row) {
    const auto& binding = std::get<ValueBinding>(row.binding);
    if (Matches(record, binding)) {
        return true;
    }
    if (!binding.fallback) {
        return false;
    }
    return std::none_of(GroupOf(row.control).begin(), GroupOf(row.control).end(),
                        [&](UserControl other) {
                            return Matches(record, std::get<ValueBinding>(RowOf(other).binding));
                        });
}

// The seconds (or other units) of a time, 24 bits from firmware 1.33 where it has a high
// byte.
std::uint32_t TimeUnits(const ReceiverCustomerRecord& record, const TimeBinding& binding,
                        const ControllerFirmware& firmware) {
    std::uint32_t units = 0;
    for (int i = 0; i < binding.width; ++i) {
        units = units << 8 | record.bytes[At(binding.low + i)];
    }
    if (binding.high >= 0 && firmware.HasLongMutingTimes()) {
        units |= static_cast<std::uint32_t>(record.bytes[At(binding.high)]) << (8 * binding.width);
    }
    return units;
}

// Before firmware 1.33 the high byte is no part of the time: it stays as received.
void WriteTimeUnits(ReceiverCustomerRecord& record, const TimeBinding& binding, std::uint32_t units,
                    const ControllerFirmware& firmware) {
    for (int i = binding.width - 1; i >= 0; --i) {
        record.bytes[At(binding.low + i)] = static_cast<std::uint8_t>(units & 0xFF);
        units >>= 8;
    }
    if (binding.high >= 0 && firmware.HasLongMutingTimes()) {
        record.bytes[At(binding.high)] = static_cast<std::uint8_t>(units & 0xFF);
    }
}

std::uint8_t ByteOfNumber(int value, const NumberBinding& binding) {
    return static_cast<std::uint8_t>(std::clamp(value / binding.scale - binding.offset, 0, 255));
}

} // namespace

std::span<const UserControlRow> UserControlTable() {
    return Table;
}

const UserControlRow& RowOf(UserControl control) {
    return Table[static_cast<std::size_t>(control)];
}

std::span<const UserControl> GroupOf(UserControl button) {
    for (std::span<const UserControl> group :
         {std::span<const UserControl>(OperatingModeGroup),
          std::span<const UserControl>(DirectionGroup), std::span<const UserControl>(AreaGroup)}) {
        if (std::find(group.begin(), group.end(), button) != group.end()) {
            return group;
        }
    }
    return {};
}

int ReadControl(const ReceiverCustomerRecord& record, const UserControlRow& row,
                const ControllerFirmware& firmware) {
    if (const auto* bit = std::get_if<BitBinding>(&row.binding)) {
        return ((record.bytes[At(bit->byte)] & bit->mask) != 0) != bit->inverted ? 1 : 0;
    }
    if (std::holds_alternative<ValueBinding>(row.binding)) {
        return Selected(record, row) ? 1 : 0;
    }
    if (const auto* number = std::get_if<NumberBinding>(&row.binding)) {
        return (record.bytes[At(number->byte)] + number->offset) * number->scale;
    }
    if (const auto* time = std::get_if<TimeBinding>(&row.binding)) {
        return static_cast<int>(TimeUnits(record, *time, firmware)) * time->scale;
    }
    return 0;
}

void WriteControl(ReceiverCustomerRecord& record, const UserControlRow& row, int value,
                  const ControllerFirmware& firmware) {
    if (const auto* bit = std::get_if<BitBinding>(&row.binding)) {
        std::uint8_t& byte = record.bytes[At(bit->byte)];
        const bool set = (value != 0) != bit->inverted;
        byte = static_cast<std::uint8_t>(set ? byte | bit->mask : byte & ~bit->mask);
    } else if (const auto* radio = std::get_if<ValueBinding>(&row.binding)) {
        std::uint8_t& byte = record.bytes[At(radio->byte)];
        if (value != 0) {
            byte = static_cast<std::uint8_t>((byte & ~radio->mask) | radio->value);
        }
    } else if (const auto* number = std::get_if<NumberBinding>(&row.binding)) {
        record.bytes[At(number->byte)] = ByteOfNumber(value, *number);
    } else if (const auto* time = std::get_if<TimeBinding>(&row.binding)) {
        const auto units = static_cast<std::uint32_t>(std::max(value, 0) / time->scale);
        WriteTimeUnits(record, *time, units, firmware);
    }
}

} // namespace lcdiag
