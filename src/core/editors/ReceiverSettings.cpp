// Loading the receiver's user settings pages and the changes made on them.
#include "core/editors/ReceiverSettings.h"

#include "core/app/Texts.h"
#include "core/device/DeviceType.h"
#include "core/device/FactoryRecordBuilder.h"
#include "core/editors/OptionRules.h"

#include <algorithm>

namespace lcdiag {
namespace {

using enum UserControl;
using RF = ReceiverFactoryField;

constexpr TextId UnknownController = 117;
constexpr TextId NoConfiguration = 119;
constexpr TextId ApplyBlankedBeams = 142;
constexpr TextId NotAvailable = 3063;
constexpr TextId GeneralTab = 3006;
constexpr TextId MutingTab = 3007;
constexpr TextId CyclicTab = 3008;
constexpr TextId MutingOff = 164;
constexpr TextId CyclicOff = 165;

// The light grids without a cyclic operation page and with the complete field as the only
// muted area.
bool IsGridWithoutAreas(int deviceType) {
    return deviceType == 3 || deviceType == 4 || deviceType == 5 || deviceType == 7;
}

int TimeIndex(UserControl control) {
    return std::get<TimeBinding>(RowOf(control).binding).timeField;
}

} // namespace

ReceiverSettings::ReceiverSettings(const Texts& texts, SafetyNotePrompt& notes)
    : texts_(texts), notes_(notes) {
    Clean();
}

// Every control back to where a new page starts, quietly: no rule runs.
void ReceiverSettings::Clean() {
    for (const UserControlRow& row : UserControlTable()) {
        Control& control = Of(row.control);
        control = Control{};
        if (const auto* number = std::get_if<NumberBinding>(&row.binding)) {
            control = {number->minimum, true, number->minimum, number->maximum};
        }
    }
    Of(RdBtn_RUSM_111).value = 1;
    Of(RdBtn_RUSM_121).value = 1;
    Of(RdBtn_RUSM_311).value = 1;
    times_ = MakeTimeFields();
    fixedBlankingSet_ = false;
    manualEnabled_ = teachEnabled_ = true;
    specialCaption_ = 0;
    tabs_ = {GeneralTab};
    tab_ = 0;
    focus_.reset();
    selectionRequested_ = false;
    selectionMode_ = BeamSelectionMode::Manual;
    target_ = SelectionTarget::FixedBlanking;
}

bool ReceiverSettings::Load(const ReceiverSource& source, bool defaults,
                            const CustomerRecordContext& context) {
    if (source.factory == nullptr) {
        texts_.ShowMessageId(msg::Fault | UnknownController);
        return false;
    }
    if (!defaults && source.active == nullptr) {
        texts_.ShowMessageId(msg::Warning | NoConfiguration);
        return false;
    }
    Clean();
    firmware_ = source.firmware;
    factory_ = *source.factory;
    record_ = defaults ? BuildDefaultReceiverRecord(factory_, factory_, context) : *source.active;
    LoadFixedBlanking(defaults);
    LoadGeneral();
    LoadFloatingBeams();
    EnableGeneral();
    LoadMutingAndCyclic();
    BuildTabs();
    loaded_ = true;
    return true;
}

// The blanking stored in the record is taken over only when the user agrees.
void ReceiverSettings::LoadFixedBlanking(bool defaults) {
    const bool stored = ReadControl(record_, RowOf(ChckBx_RUSG_41), firmware_) != 0;
    if (!defaults && stored &&
        texts_.ShowMessageId(msg::Confirmation | ApplyBlankedBeams) == MessageResult::Yes) {
        Of(ChckBx_RUSG_41).value = 1;
        fixedBlankingSet_ = true;
        fixedBlanking_ = record_.Mask(ReceiverCustomerField::FixedBlankingMask);
    } else {
        fixedBlanking_ = FactoryBeamMask();
    }
    loadedBlanking_ = fixedBlanking_;
}

// Interlocks, relay control, the two times and beam coding, as the record holds them.
void ReceiverSettings::LoadGeneral() {
    for (UserControl control : {ChckBx_RUSG_11, ChckBx_RUSG_12, Edt_RUSG_11, ChckBx_RUSG_21,
                                Edt_RUSG_21, ChckBx_RUSG_31}) {
        LoadFromRecord(control);
    }
}

void ReceiverSettings::LoadFromRecord(UserControl control) {
    const UserControlRow& row = RowOf(control);
    const int value = ReadControl(record_, row, firmware_);
    switch (row.kind) {
    case ControlKind::RadioButton:
        if (value != 0) {
            Select(control, true);
        }
        break;
    case ControlKind::CheckBox:
        SetChecked(control, value != 0, true);
        break;
    case ControlKind::Number:
        Of(control).value = std::clamp(value, Of(control).minimum, Of(control).maximum);
        break;
    case ControlKind::Time:
        Time(control).SetValue(value);
        break;
    }
}

// The arrows' maximum: the factory's, unless more than the device's own limit needs firmware
// the controller lacks; a factory maximum of 21 or more fixes the field at 0.
void ReceiverSettings::LoadFloatingBeams() {
    const int factoryMaximum = factory_.Byte(RF::FloatingBeamsMax);
    const int limit = FloatingLimit();
    int maximum = 0;
    if (factoryMaximum < 21) {
        maximum = limit >= factoryMaximum || firmware_.SupportsManyFloatingBeams() ? factoryMaximum
                                                                                   : limit;
    }
    const std::uint8_t functions = record_.Byte(ReceiverCustomerField::FunctionBits);
    const int field = (functions >> 4) & 0x03;
    const int count = record_.Byte(ReceiverCustomerField::FloatingBeams);
    int position = field == 3 ? 0 : field;
    if (field == 2 && count >= 2 && firmware_.SupportsManyFloatingBeams()) {
        position = count;
    }
    Of(Edt_RUSG_51) = {std::clamp(position, 0, maximum), true, 0, maximum};
}

// Small devices have no room for a selection by hand or floating beams; blanking needs a
// factory maximum.
void ReceiverSettings::EnableGeneral() {
    const int beams = BeamCount();
    const bool small = beams >= 2 && beams <= 4;
    const bool blanking = factory_.Byte(RF::BlankingBeamsMax) != 0;
    manualEnabled_ = !small;
    teachEnabled_ = blanking;
    Of(ChckBx_RUSG_41).enabled = blanking;
    Of(Edt_RUSG_51).enabled = !small && Of(Edt_RUSG_51).maximum > 0;
}

void ReceiverSettings::LoadMutingAndCyclic() {
    for (TimeField& field : times_) {
        field.ResetArrowPosition();
    }
    if (firmware_.IsMutingVariant()) {
        LoadMutingFromRecord();
    } else {
        LoadMutingDefaults();
    }
    if (IsGridWithoutAreas(DeviceType())) {
        Select(RdBtn_RUSM_311, true);
        Of(RdBtn_RUSM_312).enabled = Of(RdBtn_RUSM_313).enabled = false;
    }
    LoadSpecialFunctions();
}

// A standard controller has no muting: the pages hold what a default record holds (the time
// fields keep the values a clean page starts with).
void ReceiverSettings::LoadMutingDefaults() {
    Select(RdBtn_RUSM_111, true);
    Select(RdBtn_RUSM_123, true);
    for (UserControl box : {ChckBx_RUSM_21, ChckBx_RUSM_22, ChckBx_RUSM_23}) {
        SetChecked(box, false, true);
    }
    SetChecked(ChCkBx_RUSM_24, true, true);
    Select(RdBtn_RUSM_311, true);
    Of(Edt_RUSM_31).value = 1;
    Of(Edt_RUSC_11).value = 2;
    Of(RdBtn_RUSM_313).enabled = false;
    Of(ChckBx_RUSM_31).enabled = false;
    mutingArea_ = FactoryBeamMask();
}

void ReceiverSettings::LoadMutingFromRecord() {
    const MutingMaxima maxima = ReadMutingMaxima(factory_, firmware_);
    Time(M_RUSM_11).SetMaximum(static_cast<std::int32_t>(maxima.mutingCycleTenths));
    Time(M_RUSM_21).SetMaximum(static_cast<std::int32_t>(maxima.conveyorStopTenths));
    for (UserControl control :
         {RdBtn_RUSM_111, RdBtn_RUSM_112, RdBtn_RUSM_113, RdBtn_RUSM_121, RdBtn_RUSM_122,
          RdBtn_RUSM_123, M_RUSM_11,      M_RUSM_21,      M_RUSM_12,      M_RUSM_22,
          ChckBx_RUSM_21, ChckBx_RUSM_22, ChckBx_RUSM_23, ChCkBx_RUSM_24, RdBtn_RUSM_311,
          RdBtn_RUSM_312, RdBtn_RUSM_313, Edt_RUSM_31,    Edt_RUSC_11,    M_RUSC_21}) {
        LoadFromRecord(control);
    }
    const bool bus = firmware_.typeDigit == 3;
    Of(RdBtn_RUSM_313).enabled = bus;
    if (!bus && Checked(RdBtn_RUSM_313)) {
        Select(RdBtn_RUSM_311, true);
    }
    mutingArea_ = Checked(RdBtn_RUSM_312) ? record_.Mask(ReceiverCustomerField::MutingAreaMask)
                                          : FactoryBeamMask();
    const bool longTimes = firmware_.HasLongMutingTimes();
    Of(ChckBx_RUSM_31).enabled = longTimes;
    if (longTimes) {
        SetChecked(ChckBx_RUSM_31, record_.Byte(ReceiverCustomerField::MultipleInterruption) == 77,
                   true);
    }
}

// Without the muting variant both boxes are "not available"; with it they follow the record,
// except cyclic operation on the light grids.
void ReceiverSettings::LoadSpecialFunctions() {
    const bool variant = firmware_.IsMutingVariant();
    specialCaption_ = variant ? 0 : NotAvailable;
    for (UserControl box : {ChckBx_RUSG_61, ChckBx_RUSG_62}) {
        Of(box).enabled = variant;
        Of(box).value = variant ? ReadControl(record_, RowOf(box), firmware_) : 0;
    }
    if (variant && IsGridWithoutAreas(DeviceType())) {
        Of(ChckBx_RUSG_62) = {0, false, 0, 0};
    }
}

void ReceiverSettings::BuildTabs() {
    tabs_ = {GeneralTab};
    if (firmware_.IsMutingVariant()) {
        tabs_.push_back(MutingTab);
        if (!IsGridWithoutAreas(DeviceType())) {
            tabs_.push_back(CyclicTab);
        }
    }
    tab_ = 0;
}

// The muting and cyclic operation pages open only while their function is on.
int ReceiverSettings::SelectTab(int index) {
    tab_ = 0;
    if (index <= 0 || index >= static_cast<int>(tabs_.size())) {
        return tab_;
    }
    const bool muting = index == 1;
    if (Checked(muting ? ChckBx_RUSG_61 : ChckBx_RUSG_62)) {
        tab_ = index;
    } else {
        texts_.ShowMessageId(msg::Warning | (muting ? MutingOff : CyclicOff));
    }
    return tab_;
}

void ReceiverSettings::Click(UserControl control) {
    if (!Enabled(control)) {
        return;
    }
    if (RowOf(control).kind == ControlKind::RadioButton) {
        Select(control, false);
    } else if (RowOf(control).kind == ControlKind::CheckBox) {
        SetChecked(control, !Checked(control), false);
    }
}

void ReceiverSettings::SetNumber(UserControl control, int value) {
    if (RowOf(control).kind == ControlKind::Number) {
        Of(control).value = std::clamp(value, Of(control).minimum, Of(control).maximum);
    }
}

TimeField& ReceiverSettings::Time(UserControl control) {
    return times_[static_cast<std::size_t>(TimeIndex(control))];
}

// A button of a group is selected alone, then the rules of its selection run.
void ReceiverSettings::Select(UserControl button, bool quiet) {
    for (UserControl other : GroupOf(button)) {
        Of(other).value = other == button ? 1 : 0;
    }
    ApplyOptionRules(*this, button, OptionChange::Selected, quiet);
}

void ReceiverSettings::SetChecked(UserControl box, bool checked, bool quiet) {
    const bool changed = Checked(box) != checked;
    Of(box).value = checked ? 1 : 0;
    if (box == ChckBx_RUSG_61 || box == ChckBx_RUSG_62) {
        if (changed && !quiet) {
            ChangeSpecialFunction(box, checked);
        }
        return;
    }
    if (box == ChckBx_RUSG_41) {
        if (!quiet) {
            ChangeFixedBlankingBox(checked);
        }
        return;
    }
    if (box == ChckBx_RUSG_31 && !quiet) {
        texts_.ShowMessageId(msg::Warning | 131); // the emitter must be coded alike
        return;
    }
    ApplyOptionRules(*this, box, checked ? OptionChange::Checked : OptionChange::Unchecked, quiet);
}

// One function at a time; switching one off is asked again. The handler is not re-entered
// by its own corrections.
void ReceiverSettings::ChangeSpecialFunction(UserControl box, bool checked) {
    if (guard_) {
        return;
    }
    guard_ = true;
    const bool muting = box == ChckBx_RUSG_61;
    const UserControl other = muting ? ChckBx_RUSG_62 : ChckBx_RUSG_61;
    if (checked && Checked(other)) {
        texts_.ShowMessageId(msg::Warning | (muting ? 162u : 163u));
        Of(box).value = 0;
    } else if (!checked && texts_.ShowMessageId(msg::Confirmation | (muting ? 166u : 167u)) !=
                               MessageResult::Yes) {
        Of(box).value = 1;
    }
    guard_ = false;
}

// The user can only switch fixed blanking off; it is switched on by a beam selection.
void ReceiverSettings::ChangeFixedBlankingBox(bool checked) {
    if (checked && !fixedBlankingSet_) {
        Of(ChckBx_RUSG_41).value = 0;
    } else if (!checked) {
        fixedBlankingSet_ = false;
    }
}

int ReceiverSettings::Value(UserControl control) const {
    if (RowOf(control).kind == ControlKind::Time) {
        return times_[static_cast<std::size_t>(TimeIndex(control))].Value();
    }
    return Of(control).value;
}

bool ReceiverSettings::Enabled(UserControl control) const {
    return Of(control).enabled;
}

int ReceiverSettings::Minimum(UserControl control) const {
    return Of(control).minimum;
}

int ReceiverSettings::Maximum(UserControl control) const {
    return Of(control).maximum;
}

std::optional<UserControl> ReceiverSettings::TakeFocusRequest() {
    return std::exchange(focus_, std::nullopt);
}

bool ReceiverSettings::TakeSelectionRequest() {
    return std::exchange(selectionRequested_, false);
}

bool ReceiverSettings::Refuse(std::uint32_t message) {
    texts_.ShowMessageId(message);
    return false;
}

// The device's own limit of floating beams: 2 for type 1; 1 for types 2, 3, 4 and 6.
int ReceiverSettings::FloatingLimit() const {
    switch (DeviceType()) {
    case 1:
        return 2;
    case 2:
    case 3:
    case 4:
    case 6:
        return 1;
    default:
        return 0;
    }
}

BeamMask ReceiverSettings::FactoryBeamMask() const {
    return factory_.Mask(RF::BeamPresenceMask);
}

int ReceiverSettings::DeviceType() const {
    return factory_.Byte(RF::DeviceType);
}

int ReceiverSettings::BeamCount() const {
    return factory_.Byte(RF::BeamCount);
}

} // namespace lcdiag
