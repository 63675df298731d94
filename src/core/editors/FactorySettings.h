#pragma once

#include "core/app/TextId.h"
#include "core/device/ControllerFirmware.h"
#include "core/device/ControllerType.h"
#include "core/device/EmitterFactoryRecord.h"
#include "core/device/ModuleDataTable.h"
#include "core/device/PcClock.h"
#include "core/device/ReceiverFactoryRecord.h"
#include "core/editors/TimeField.h"
#include "core/protocol/SettingsWrite.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace lcdiag {

class RecordCodec;
class Texts;
struct FieldRefusal;

// The controls of the two factory settings pages, named as their widgets are. A number shown
// in an edit with arrows is named after the edit; its arrows (UpDwn_...) share the entry.
enum class FactoryControl {
    // Receiver page.
    Edt_RFS_11,    // production date and time
    Edt_RFS_12,    // serial no.
    Edt_RFS_13,    // tester
    Edt_RFS_14,    // SW version, masked "d.d"
    Edt_RFS_15,    // HW version, masked "d.d"
    M_RFS_11,      // production data, free text
    Edt_RFS_16,    // operating hours
    CmbBx_RFS_21,  // resolution
    CmbBx_RFS_22,  // protection field length
    CmbBx_RFS_23,  // customer: the naming scheme 1 to 3
    Edt_RFS_21,    // type, computed
    Edt_RFS_22,    // number of beams, computed
    ChckBx_RFS_21, // cascading
    CmbBx_RFS_24,  // cable connection restart: 0 always, 1 only after power on
    Edt_RFS_31,    // max. value of the function-reserve counter
    Edt_RFS_32,    // threshold function reserve ON
    Edt_RFS_41,    // waiting period of the OSSD ON monitor
    Edt_RFS_42,    // waiting period of the OSSD OFF monitor
    Edt_RFS_43,    // output on delay
    Edt_RFS_51,    // correction of the quartz cycle time, -7 to 7 (UpDwn_RFS_51)
    Edt_RFS_61,    // max. number of floating beams (UpDwn_RFS_61)
    Edt_RFS_71,    // max. number of blanking beams (UpDwn_RFS_71)
    M_RFS_81,      // max. muting cycle time, time field 5 (UpDwn_RFS_81)
    M_RFS_82,      // max. conveyor stop time, time field 6 (UpDwn_RFS_82)
    ChckBx_RFS_81, // multiple interruption of the protective field during muting allowed
    // Emitter page.
    Edt_EFS_11,   // production date and time
    Edt_EFS_12,   // serial no.
    Edt_EFS_13,   // tester
    Edt_EFS_14,   // version, masked "d.d"
    CmbBx_EFS_21, // resolution
    CmbBx_EFS_22, // protection field length
    CmbBx_EFS_23, // customer: the naming scheme 1 to 3
    Edt_EFS_21,   // type
    Edt_EFS_22,   // number of beams
    RdBtn_EFS_31, // standard version
    RdBtn_EFS_32, // muting/cyclic operation version
    RdBtn_EFS_33, // muting version with RS485 bus
};
inline constexpr int FactoryControlCount = static_cast<int>(FactoryControl::RdBtn_EFS_33) + 1;

enum class FactoryPage { Emitter, Receiver };
enum class FactoryControlKind { Text, ComboBox, CheckBox, RadioButton, Number, Time };

// One control: where it stands, what its label says, how it is edited.
struct FactoryControlRow {
    FactoryControl control;
    const char* objectName;
    FactoryPage page;
    FactoryControlKind kind;
    TextId label;      // the caption of its label (or of the box or button itself), 0 for none
    int maxLength = 0; // the characters a text field takes, 0 for no limit of its own
};

// Every control of the factory settings pages, in the order of FactoryControl.
std::span<const FactoryControlRow> FactoryControlTable();
const FactoryControlRow& RowOf(FactoryControl control);

// The items of both customer lists; the position 1 to 3 of the chosen one is the naming
// scheme of the type name.
inline constexpr std::array<std::string_view, 3> FactoryCustomerNames{"Tessmark",
                                                                      "Kelberg Tessmark", "Ovidan"};

// The link as the factory pages load from and save to it.
struct FactorySource {
    const ReceiverFactoryRecord* receiver = nullptr; // null while no valid record is held
    const EmitterFactoryRecord* emitter = nullptr;   // null while no valid record is held
    ControllerFirmware firmware;
    bool longLayout = false; // the receiver takes 192 beams, else 144
    std::uint32_t operatingHours = 0;
    bool diagnosis = false; // the link is in diagnosis: receiver data may be written
};

// The factory settings pages (emitter and receiver) as data: the text, value, enabling,
// limits and lists of every control, the two time fields of the muting maxima, and the
// user's actions on them. Most values follow from the model chosen from the module data
// table; a save builds the records to be written.
class FactorySettings {
public:
    // `moduleData` (the program's own by default) is read on every load and, with `texts` and
    // `clock`, must outlive the object.
    FactorySettings(const Texts& texts, const PcClock& clock,
                    std::span<const std::uint8_t> moduleData = ModuleDataResource());

    // Fills both pages from the link ("Update" and entering the pages). False, with nothing
    // changed, when the module data are not whole records: the caller shows message 118 and
    // ends the program.
    bool Load(const FactorySource& source);

    // The user's actions. A change to a disabled control, an unknown item or a control of
    // another kind is ignored.
    void SetText(FactoryControl control, std::string text);
    void SetNumber(FactoryControl control, int value); // arrows: cut to their limits
    void Click(FactoryControl control);                // a check box toggled, a radio selected
    // A combo box item chosen: a resolution rebuilds its lengths and applies the first, a
    // length is applied, a customer renames the type.
    void Choose(FactoryControl combo, int index);
    TimeField& Time(FactoryControl control); // M_RFS_81 or M_RFS_82
    // All seven time fields by index (the factory page's are 5 and 6), for the arrows'
    // acceleration.
    std::span<TimeField> Times() { return times_; }
    // "Default values" of the receiver page: the chosen length again and the largest muting
    // maxima the firmware takes.
    void Defaults();

    // The receiver's factory record, built from the page (only while the link is in
    // diagnosis), or nothing after the message that says why.
    std::optional<SettingsWrite> SaveReceiver(const FactorySource& source,
                                              PcSoftwareVersion pcVersion,
                                              const RecordCodec& codec);
    // The emitter's factory record with its customer record, or nothing after the message.
    std::optional<SettingsWrite> SaveEmitter();

    // What the pages show.
    const std::string& Text(FactoryControl control) const { return Of(control).text; }
    // A number, a check state (0/1), a selected radio button (1) or a combo box's item
    // index (-1: none).
    int Value(FactoryControl control) const;
    bool Checked(FactoryControl control) const { return Value(control) != 0; }
    bool Enabled(FactoryControl control) const { return Of(control).enabled; }
    // The limits of an arrows' count or a time field.
    int Minimum(FactoryControl control) const;
    int Maximum(FactoryControl control) const;
    // A combo box's items as shown.
    std::vector<std::string> Items(FactoryControl combo) const;
    // The record index of the length chosen on a page, nothing while none is.
    std::optional<int> ModuleIndex(FactoryPage page) const;
    // The control a refused save asks to focus (its objectName); taken once.
    std::optional<std::string> TakeFocusRequest();

private:
    struct Control {
        std::string text;
        int value = 0;
        bool enabled = true;
        int minimum = 0;
        int maximum = 0;
    };
    // The controls and lists one page has of each kind.
    struct PageControls {
        FactoryControl resolution, length, customer, type, beams, date;
        ControllerType unit;
    };
    struct Lists {
        std::vector<TypeChoice> resolutions;
        std::vector<LengthChoice> lengths;
    };

    Control& Of(FactoryControl control) { return controls_[static_cast<std::size_t>(control)]; }
    const Control& Of(FactoryControl control) const {
        return controls_[static_cast<std::size_t>(control)];
    }
    static PageControls ControlsOf(FactoryPage page);
    static std::size_t TimeIndex(FactoryControl control);
    Lists& ListsOf(FactoryPage page) {
        return page == FactoryPage::Receiver ? receiver_ : emitter_;
    }
    const Lists& ListsOf(FactoryPage page) const {
        return page == FactoryPage::Receiver ? receiver_ : emitter_;
    }
    void SelectResolution(FactoryPage page, int index);
    void SelectModel(FactoryPage page, int deviceType, int beamCount);
    void ApplyLength(FactoryPage page);
    void ApplyReceiverRow(const ReceiverFactoryRecord& row);
    void ClearLengthFields(FactoryPage page);
    void Rename(FactoryPage page);
    const ReceiverFactoryRecord* ChosenRow(FactoryPage page) const;
    void ShowReceived(const ReceiverFactoryRecord& record);
    void ShowUnknownReceiver();
    void LoadMuting(const FactorySource& source);
    void ShowReceived(const EmitterFactoryRecord& record);
    void ShowUnknownEmitter();
    void SetArrows(FactoryControl control, int maximum, int position);
    void SelectRadio(FactoryControl button);
    void ShowRefusal(const FieldRefusal& refusal);
    std::string Now() const;

    const Texts& texts_;
    const PcClock& clock_;
    std::span<const std::uint8_t> moduleData_;
    ModuleDataTable modules_;
    ControllerFirmware firmware_;
    bool longLayout_ = false;
    std::array<Control, FactoryControlCount> controls_{};
    Lists receiver_;
    Lists emitter_;
    TimeFields times_ = MakeTimeFields();
    std::optional<std::string> focus_;
};

} // namespace lcdiag
