#pragma once

#include "core/app/TextId.h"
#include "core/device/ControllerFirmware.h"
#include "core/device/ReceiverCustomerRecord.h"

#include <cstdint>
#include <span>
#include <variant>

namespace lcdiag {

// The check boxes, radio buttons, numbers and time fields of the receiver's user settings
// pages, named as their widgets are.
enum class UserControl {
    // General page.
    ChckBx_RUSG_11, // start interlock by the activation button
    ChckBx_RUSG_12, // start interlock by a protection field interruption
    Edt_RUSG_11,    // time of the protection field interruption, ms
    ChckBx_RUSG_21, // relay control active
    Edt_RUSG_21,    // relay delay, ms
    ChckBx_RUSG_31, // beam coding A
    ChckBx_RUSG_41, // fixed blanking active
    Edt_RUSG_51,    // number of floating beams
    ChckBx_RUSG_61, // muting function
    ChckBx_RUSG_62, // cyclic operation function
    // Muting page.
    RdBtn_RUSM_111, // operating mode: 2 sensors, diagonal
    RdBtn_RUSM_112, // 2 sensors, parallel
    RdBtn_RUSM_113, // 4 sensors, parallel
    RdBtn_RUSM_121, // transport into the danger zone
    RdBtn_RUSM_122, // out of the danger zone
    RdBtn_RUSM_123, // in both directions
    M_RUSM_11,      // muting cycle time
    M_RUSM_12,      // concurrency of the sensors
    ChckBx_RUSM_21, // restart interlock after muting
    ChckBx_RUSM_22, // conveyor stop monitoring
    M_RUSM_21,      // conveyor stop time
    ChckBx_RUSM_23, // shortened muting cycle
    ChCkBx_RUSM_24, // override
    M_RUSM_22,      // override time
    ChckBx_RUSM_31, // multiple interruption of the protective field allowed
    RdBtn_RUSM_311, // muted area: the complete protection field
    RdBtn_RUSM_312, // the taught beams
    RdBtn_RUSM_313, // chosen by the RS485 bus
    Edt_RUSM_31,    // protocol number on the bus
    // Cyclic operation page.
    Edt_RUSC_11, // number of clock cycles
    M_RUSC_21,   // clock cycle time
};
inline constexpr int UserControlCount = static_cast<int>(UserControl::M_RUSC_21) + 1;

enum class UserPage { General, Muting, Cyclic };
enum class ControlKind { CheckBox, RadioButton, Number, Time };

// How a control stands in the customer record (byte numbers of the 152-byte record).
// A check box: a bit, set when checked (or clear when checked, for an inverted bit).
struct BitBinding {
    int byte;
    std::uint8_t mask;
    bool inverted = false;
};
// A radio button: selected when the masked bits hold `value`; a group's fallback button is
// selected when no button's value is found.
struct ValueBinding {
    int byte;
    std::uint8_t mask;
    std::uint8_t value;
    bool fallback = false;
};
// A number shown as (byte + offset) x scale.
struct NumberBinding {
    int byte;
    int offset;
    int scale;
    int minimum;
    int maximum;
    int step;
};
// A time field (tenths of a second): `width` bytes big-endian at `low`, with the bits 16-23
// in `high` from firmware 1.33 on (-1: none), counted in units of `scale` tenths.
struct TimeBinding {
    int timeField;
    int low;
    int width;
    int high;
    int scale;
};
// Bound by rules of their own: the floating beams and the multiple interruption mark.
struct OwnBinding {};

using ControlBinding =
    std::variant<BitBinding, ValueBinding, NumberBinding, TimeBinding, OwnBinding>;

// One control of the pages: where it stands, what it says, how it is stored.
struct UserControlRow {
    UserControl control;
    const char* objectName;
    UserPage page;
    TextId group;   // the group box's caption
    TextId label;   // the label beside the control, 0 for none
    TextId caption; // the control's own caption, 0 for none
    ControlKind kind;
    ControlBinding binding;
};

// Every control of the receiver's user settings pages, in the order of UserControl.
std::span<const UserControlRow> UserControlTable();
const UserControlRow& RowOf(UserControl control);

// The radio groups, each given by its buttons.
inline constexpr UserControl OperatingModeGroup[] = {
    UserControl::RdBtn_RUSM_111, UserControl::RdBtn_RUSM_112, UserControl::RdBtn_RUSM_113};
inline constexpr UserControl DirectionGroup[] = {
    UserControl::RdBtn_RUSM_121, UserControl::RdBtn_RUSM_122, UserControl::RdBtn_RUSM_123};
inline constexpr UserControl AreaGroup[] = {
    UserControl::RdBtn_RUSM_311, UserControl::RdBtn_RUSM_312, UserControl::RdBtn_RUSM_313};
// The buttons of the radio group the button belongs to.
std::span<const UserControl> GroupOf(UserControl button);

// The binder: a control's value read from a record, and written into one. Check boxes and
// radio buttons read 0 or 1; a radio group reads as its one selected button.
int ReadControl(const ReceiverCustomerRecord& record, const UserControlRow& row,
                const ControllerFirmware& firmware);
void WriteControl(ReceiverCustomerRecord& record, const UserControlRow& row, int value,
                  const ControllerFirmware& firmware);

} // namespace lcdiag
