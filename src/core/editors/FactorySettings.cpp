// The factory settings pages: loading them from the link and the module data table, the
// changes made on them, and the saves that build the factory records.
#include "core/editors/FactorySettings.h"

#include "core/app/Texts.h"
#include "core/device/DateStamp.h"
#include "core/device/Decimal.h"
#include "core/device/DeviceType.h"
#include "core/device/FactoryRecordBuilder.h"

#include <algorithm>
#include <utility>

namespace lcdiag {
namespace {

using enum FactoryControl;
using Kind = FactoryControlKind;
using RF = ReceiverFactoryField;
using EF = EmitterFactoryField;
constexpr FactoryPage R = FactoryPage::Receiver;
constexpr FactoryPage E = FactoryPage::Emitter;

constexpr TextId NoWorkParameters = 118;
constexpr TextId NotInDiagnosis = 143;
constexpr TextId MultipleInterruptionInactive = 183;
constexpr TextId RestartAlways = 2028;
constexpr TextId RestartAfterPowerOn = 2029;
constexpr TextId BeamWord = 2035;
constexpr int QuartzLimit = 7;
constexpr int FirmwareWithFactoryMark = 132; // the only firmware that reads byte 205
constexpr std::uint8_t ForcedMultipleInterruption = 77;

constexpr FactoryControlRow Rows[] = {
    {Edt_RFS_11, "Edt_RFS_11", R, Kind::Text, 2011},
    {Edt_RFS_12, "Edt_RFS_12", R, Kind::Text, 2012, 10},
    {Edt_RFS_13, "Edt_RFS_13", R, Kind::Text, 2013, 10},
    {Edt_RFS_14, "Edt_RFS_14", R, Kind::Text, 2014, 3},
    {Edt_RFS_15, "Edt_RFS_15", R, Kind::Text, 2015, 3},
    {M_RFS_11, "M_RFS_11", R, Kind::Text, 2016, 60},
    {Edt_RFS_16, "Edt_RFS_16", R, Kind::Text, 2017},
    {CmbBx_RFS_21, "CmbBx_RFS_21", R, Kind::ComboBox, 2021},
    {CmbBx_RFS_22, "CmbBx_RFS_22", R, Kind::ComboBox, 2022},
    {CmbBx_RFS_23, "CmbBx_RFS_23", R, Kind::ComboBox, 2023},
    {Edt_RFS_21, "Edt_RFS_21", R, Kind::Text, 2024, 20},
    {Edt_RFS_22, "Edt_RFS_22", R, Kind::Text, 2025},
    {ChckBx_RFS_21, "ChckBx_RFS_21", R, Kind::CheckBox, 2026},
    {CmbBx_RFS_24, "CmbBx_RFS_24", R, Kind::ComboBox, 2027},
    {Edt_RFS_31, "Edt_RFS_31", R, Kind::Text, 2031, 3},
    {Edt_RFS_32, "Edt_RFS_32", R, Kind::Text, 2032, 3},
    {Edt_RFS_41, "Edt_RFS_41", R, Kind::Text, 2041, 3},
    {Edt_RFS_42, "Edt_RFS_42", R, Kind::Text, 2042, 3},
    {Edt_RFS_43, "Edt_RFS_43", R, Kind::Text, 2043, 3},
    {Edt_RFS_51, "Edt_RFS_51", R, Kind::Number, 2051},
    {Edt_RFS_61, "Edt_RFS_61", R, Kind::Number, 2061},
    {Edt_RFS_71, "Edt_RFS_71", R, Kind::Number, 2071},
    {M_RFS_81, "M_RFS_81", R, Kind::Time, 2081},
    {M_RFS_82, "M_RFS_82", R, Kind::Time, 2082},
    {ChckBx_RFS_81, "ChckBx_RFS_81", R, Kind::CheckBox, 2083},
    {Edt_EFS_11, "Edt_EFS_11", E, Kind::Text, 2011},
    {Edt_EFS_12, "Edt_EFS_12", E, Kind::Text, 2012, 10},
    {Edt_EFS_13, "Edt_EFS_13", E, Kind::Text, 2013, 10},
    {Edt_EFS_14, "Edt_EFS_14", E, Kind::Text, 2015, 3},
    {CmbBx_EFS_21, "CmbBx_EFS_21", E, Kind::ComboBox, 2021},
    {CmbBx_EFS_22, "CmbBx_EFS_22", E, Kind::ComboBox, 2022},
    {CmbBx_EFS_23, "CmbBx_EFS_23", E, Kind::ComboBox, 2023},
    {Edt_EFS_21, "Edt_EFS_21", E, Kind::Text, 2024, 20},
    {Edt_EFS_22, "Edt_EFS_22", E, Kind::Text, 2025},
    {RdBtn_EFS_31, "RdBtn_EFS_31", E, Kind::RadioButton, 2091},
    {RdBtn_EFS_32, "RdBtn_EFS_32", E, Kind::RadioButton, 2092},
    {RdBtn_EFS_33, "RdBtn_EFS_33", E, Kind::RadioButton, 2093},
};
static_assert(std::size(Rows) == FactoryControlCount);

constexpr bool InEnumOrder() {
    for (std::size_t i = 0; i < std::size(Rows); ++i) {
        if (static_cast<std::size_t>(Rows[i].control) != i) {
            return false;
        }
    }
    return true;
}
static_assert(InEnumOrder());

constexpr FactoryControl VariantButtons[] = {RdBtn_EFS_31, RdBtn_EFS_32, RdBtn_EFS_33};

// The floating beams a new model starts with. Firmware that takes more than two floating beams
// starts the larger curtains with more, never with all of their beams.
int FloatingDefault(int type, int beams, const ControllerFirmware& firmware) {
    if (firmware.SupportsManyFloatingBeams()) {
        const int wanted = type == 1                ? 8
                           : type == 2 || type == 6 ? 4
                           : type == 3 || type == 4 ? 1
                                                    : 0;
        return std::max(0, std::min(wanted, beams - 1));
    }
    return type == 1 ? 2 : type == 2 || type == 3 || type == 4 || type == 6 ? 1 : 0;
}

// The fixed blanking beams a model allows: all but one on the curtains, one on the four- and
// three-beam grids, none on the others.
int FixedMaximum(int type, int beams) {
    if (type == 1 || type == 2 || type == 6) {
        return std::max(0, beams - 1);
    }
    return type == 3 || type == 4 ? 1 : 0;
}

int IndexIn(int index, std::size_t size) {
    return index >= 0 && static_cast<std::size_t>(index) < size ? index : -1;
}

} // namespace

std::span<const FactoryControlRow> FactoryControlTable() {
    return Rows;
}

const FactoryControlRow& RowOf(FactoryControl control) {
    return Rows[static_cast<std::size_t>(control)];
}

FactorySettings::FactorySettings(const Texts& texts, const PcClock& clock,
                                 std::span<const std::uint8_t> moduleData)
    : texts_(texts), clock_(clock), moduleData_(moduleData) {
    for (FactoryControl combo : {CmbBx_RFS_21, CmbBx_RFS_22, CmbBx_EFS_21, CmbBx_EFS_22}) {
        Of(combo).value = -1;
    }
    Of(Edt_RFS_51) = {{}, 0, false, -QuartzLimit, QuartzLimit};
    Of(RdBtn_EFS_31).value = 1;
}

FactorySettings::PageControls FactorySettings::ControlsOf(FactoryPage page) {
    if (page == R) {
        return {CmbBx_RFS_21,
                CmbBx_RFS_22,
                CmbBx_RFS_23,
                Edt_RFS_21,
                Edt_RFS_22,
                Edt_RFS_11,
                ControllerType::Receiver};
    }
    return {CmbBx_EFS_21, CmbBx_EFS_22, CmbBx_EFS_23,           Edt_EFS_21,
            Edt_EFS_22,   Edt_EFS_11,   ControllerType::Emitter};
}

bool FactorySettings::Load(const FactorySource& source) {
    if (!modules_.Load(moduleData_)) {
        return false;
    }
    firmware_ = source.firmware;
    longLayout_ = source.longLayout;
    focus_.reset();
    const std::vector<TypeChoice> types = modules_.TypeChoices();
    for (FactoryPage page : {E, R}) {
        ListsOf(page) = {types, {}};
        Of(ControlsOf(page).resolution).value = types.empty() ? -1 : 0;
        Of(ControlsOf(page).length).value = -1;
    }
    Of(Edt_RFS_61).value = 0;
    Of(Edt_RFS_71).value = 0;
    Of(CmbBx_RFS_24).value = 0;
    for (FactoryControl shown :
         {Edt_RFS_31, Edt_RFS_32, Edt_RFS_41, Edt_RFS_42, Edt_RFS_43, Edt_RFS_51}) {
        Of(shown).enabled = false; // they show the module data
    }
    if (source.receiver != nullptr) {
        ShowReceived(*source.receiver);
    } else {
        ShowUnknownReceiver();
    }
    Of(Edt_RFS_16).text = std::to_string(source.operatingHours);
    LoadMuting(source);
    if (source.emitter != nullptr) {
        ShowReceived(*source.emitter);
    } else {
        ShowUnknownEmitter();
    }
    return true;
}

// The model the received record names, then what the unit holds.
void FactorySettings::ShowReceived(const ReceiverFactoryRecord& record) {
    SelectModel(R, record.Byte(RF::DeviceType), record.Byte(RF::BeamCount));
    Of(CmbBx_RFS_24).value = record.Byte(RF::CableRestart) == 'N' ? 1 : 0;
    Of(Edt_RFS_11).text = DateStampText(record.Bytes(RF::ProductionDate));
    Of(Edt_RFS_12).text = record.Text(RF::SerialNumber);
    Of(Edt_RFS_13).text = record.Text(RF::Tester);
    Of(Edt_RFS_14).text = VersionText(record.Text(RF::SwVersion));
    Of(Edt_RFS_15).text = VersionText(record.Text(RF::HwVersion));
    Of(M_RFS_11).text = record.Text(RF::ProductionData);
    Of(ChckBx_RFS_21).value = record.Byte(RF::Cascading) == 'E' ? 1 : 0;
    Of(Edt_RFS_31).text = std::to_string(record.Byte(RF::FunctionReserveMax));
    Of(Edt_RFS_32).text = std::to_string(record.Byte(RF::FunctionReserveOn));
    Of(Edt_RFS_41).text = std::to_string(record.Byte(RF::OssdOnWait));
    Of(Edt_RFS_42).text = std::to_string(record.Byte(RF::OssdOffWait));
    Of(Edt_RFS_43).text = std::to_string(record.Byte(RF::OutputOnDelay));
    Of(Edt_RFS_51).value = DecodeQuartzCorrection(record.Byte(RF::QuartzCorrection));
    // The arrows hold no more than the model allows.
    Of(Edt_RFS_61).value =
        std::clamp<int>(record.Byte(RF::FloatingBeamsMax), 0, Of(Edt_RFS_61).maximum);
    Of(Edt_RFS_71).value =
        std::clamp<int>(record.Byte(RF::BlankingBeamsMax), 0, Of(Edt_RFS_71).maximum);
}

// A new unit: the first model of the list, no production data yet.
void FactorySettings::ShowUnknownReceiver() {
    SelectResolution(R, Of(CmbBx_RFS_21).value);
    Of(Edt_RFS_11).text = Now();
    Of(Edt_RFS_12).text.clear();
    Of(Edt_RFS_13).text.clear();
    Of(Edt_RFS_14).text = "1.0";
    Of(Edt_RFS_15).text = "1.0";
    Of(M_RFS_11).text.clear();
}

// The muting maxima count for the muting controllers only; the factory mark of multiple
// interruption is read by firmware 1.32 alone, which says so when it is missing.
void FactorySettings::LoadMuting(const FactorySource& source) {
    const std::int32_t limit = FactoryTimeLimit(firmware_.version);
    std::int32_t mutingCycle = limit;
    std::int32_t conveyorStop = limit;
    if (source.receiver != nullptr) {
        mutingCycle = conveyorStop = FactoryTimeLimitBefore133;
        if (firmware_.typeDigit >= 2) {
            const MutingMaxima maxima = ReadMutingMaxima(*source.receiver, firmware_);
            mutingCycle = static_cast<std::int32_t>(maxima.mutingCycleTenths);
            conveyorStop = static_cast<std::int32_t>(maxima.conveyorStopTenths);
        }
    }
    for (TimeFieldIndex index :
         {TimeFieldIndex::FactoryMutingCycle, TimeFieldIndex::FactoryConveyorStop}) {
        TimeField& field = times_[static_cast<std::size_t>(index)];
        field.ResetArrowPosition();
        field.SetMaximum(limit);
    }
    Time(M_RFS_81).SetValue(mutingCycle);
    Time(M_RFS_82).SetValue(conveyorStop);

    const bool muting = source.receiver != nullptr && firmware_.typeDigit >= 2;
    Of(M_RFS_81).enabled = Of(M_RFS_82).enabled = muting;
    const bool factoryMark = muting && firmware_.version == FirmwareWithFactoryMark;
    const bool marked = factoryMark && source.receiver->Byte(RF::MultipleInterruption) ==
                                           ForcedMultipleInterruption;
    Of(ChckBx_RFS_81) = {{}, marked ? 1 : 0, factoryMark, 0, 1};
    if (factoryMark && !marked) {
        texts_.ShowMessageId(msg::Warning | MultipleInterruptionInactive);
    }
}

void FactorySettings::ShowReceived(const EmitterFactoryRecord& record) {
    SelectModel(E, record.Byte(EF::DeviceType), record.Byte(EF::BeamCount));
    Of(Edt_EFS_11).text = DateStampText(record.Bytes(EF::ProductionDate));
    Of(Edt_EFS_12).text = record.Text(EF::SerialNumber);
    Of(Edt_EFS_13).text = record.Text(EF::Tester);
    Of(Edt_EFS_14).text = VersionText(record.Text(EF::HwVersion));
    Of(Edt_EFS_21).text = record.Text(EF::CustomerDesignation);
    const int variant = record.Byte(EF::Variant);
    SelectRadio(variant == 2 ? RdBtn_EFS_32 : variant == 3 ? RdBtn_EFS_33 : RdBtn_EFS_31);
}

void FactorySettings::ShowUnknownEmitter() {
    SelectResolution(E, Of(CmbBx_EFS_21).value);
    Of(Edt_EFS_11).text = Now();
    Of(Edt_EFS_12).text.clear();
    Of(Edt_EFS_13).text.clear();
    Of(Edt_EFS_14).text = "1.0";
    SelectRadio(RdBtn_EFS_31);
}

// The resolution of a device type (type 7 is among the lengths of type 5) and the length of
// its beam count; the first of each when the table does not offer it.
void FactorySettings::SelectModel(FactoryPage page, int deviceType, int beamCount) {
    const PageControls c = ControlsOf(page);
    const std::vector<TypeChoice>& types = ListsOf(page).resolutions;
    const int offered = deviceType == 7 ? 5 : deviceType;
    const auto type = std::ranges::find(types, offered, &TypeChoice::deviceType);
    SelectResolution(page, type != types.end() ? static_cast<int>(type - types.begin())
                                               : Of(c.resolution).value);
    const std::string text =
        device_type::ProtectionFieldText(deviceType, beamCount, texts_.GetText(BeamWord));
    const std::vector<LengthChoice>& lengths = ListsOf(page).lengths;
    const auto length = std::ranges::find_if(
        lengths, [&](const LengthChoice& choice) { return Trimmed(choice.text) == text; });
    const int index = static_cast<int>(length - lengths.begin());
    if (length != lengths.end() && Of(c.length).value != index) {
        Of(c.length).value = index;
        ApplyLength(page);
    }
}

// The lengths of the chosen type, the first of them applied.
void FactorySettings::SelectResolution(FactoryPage page, int index) {
    const PageControls c = ControlsOf(page);
    Lists& lists = ListsOf(page);
    Of(c.resolution).value = IndexIn(index, lists.resolutions.size());
    lists.lengths.clear();
    if (Of(c.resolution).value >= 0) {
        const int type = lists.resolutions[static_cast<std::size_t>(index)].deviceType;
        lists.lengths =
            modules_.LengthChoices(type, LayoutOf(longLayout_), texts_.GetText(BeamWord));
    }
    Of(c.length).value = lists.lengths.empty() ? -1 : 0;
    ApplyLength(page);
}

const ReceiverFactoryRecord* FactorySettings::ChosenRow(FactoryPage page) const {
    const std::optional<int> index = ModuleIndex(page);
    return index ? modules_.Record(*index) : nullptr;
}

std::optional<int> FactorySettings::ModuleIndex(FactoryPage page) const {
    const Lists& lists = ListsOf(page);
    const int chosen = IndexIn(Of(ControlsOf(page).length).value, lists.lengths.size());
    if (chosen < 0) {
        return std::nullopt;
    }
    return lists.lengths[static_cast<std::size_t>(chosen)].recordIndex;
}

// A new model: production now, the model's name and beams and, on the receiver page, the
// model's defaults.
void FactorySettings::ApplyLength(FactoryPage page) {
    const ReceiverFactoryRecord* row = ChosenRow(page);
    if (row == nullptr) {
        ClearLengthFields(page);
        return;
    }
    const PageControls c = ControlsOf(page);
    Of(c.date).text = Now();
    Rename(page);
    const int beams = device_type::Beams(row->Byte(RF::DeviceType), row->Byte(RF::BeamCount));
    Of(c.beams).text = std::to_string(beams);
    if (page == R) {
        ApplyReceiverRow(*row);
    }
}

void FactorySettings::ApplyReceiverRow(const ReceiverFactoryRecord& row) {
    Of(ChckBx_RFS_21).value = 0;
    Of(CmbBx_RFS_24).value = row.Byte(RF::CableRestart) == 'N' ? 1 : 0;
    Of(Edt_RFS_31).text = std::to_string(row.Byte(RF::FunctionReserveMax));
    Of(Edt_RFS_32).text = std::to_string(row.Byte(RF::FunctionReserveOn));
    Of(Edt_RFS_41).text = std::to_string(row.Byte(RF::OssdOnWait));
    Of(Edt_RFS_42).text = std::to_string(row.Byte(RF::OssdOffWait));
    Of(Edt_RFS_43).text = std::to_string(row.Byte(RF::OutputOnDelay));
    Of(Edt_RFS_51).value = DecodeQuartzCorrection(row.Byte(RF::QuartzCorrection));

    const int type = row.Byte(RF::DeviceType);
    const int beams = device_type::Beams(type, row.Byte(RF::BeamCount));
    const int floatingMaximum = row.Byte(RF::FloatingBeamsMax);
    const int floating = FloatingDefault(type, beams, firmware_);
    SetArrows(Edt_RFS_61, floatingMaximum, floatingMaximum < floating ? 0 : floating);
    const int fixedMaximum = FixedMaximum(type, beams);
    const int fixed = row.Byte(RF::BlankingBeamsMax);
    SetArrows(Edt_RFS_71, fixedMaximum, fixed == 255 ? fixedMaximum : fixed);
}

// Without a model the fields that follow from it are empty and cannot be edited.
void FactorySettings::ClearLengthFields(FactoryPage page) {
    const PageControls c = ControlsOf(page);
    Of(c.type).text.clear();
    Of(c.beams).text.clear();
    if (page == R) {
        for (FactoryControl field : {Edt_RFS_31, Edt_RFS_32, Edt_RFS_41, Edt_RFS_42, Edt_RFS_43}) {
            Of(field).text.clear();
        }
        Of(Edt_RFS_51).value = 0;
        SetArrows(Edt_RFS_61, 0, 0);
        SetArrows(Edt_RFS_71, 0, 0);
    }
}

// The type name in the chosen customer's naming scheme.
void FactorySettings::Rename(FactoryPage page) {
    const PageControls c = ControlsOf(page);
    const std::optional<int> index = ModuleIndex(page);
    Of(c.type).text =
        index ? GetTypeName(c.unit, Of(c.customer).value + 1,
                            device_type::NamingVariant(firmware_.typeDigit), modules_, *index)
              : std::string{};
}

// The arrows and their edit are enabled while they can count above 0.
void FactorySettings::SetArrows(FactoryControl control, int maximum, int position) {
    Of(control) = {{}, std::clamp(position, 0, maximum), maximum > 0, 0, maximum};
}

void FactorySettings::SelectRadio(FactoryControl button) {
    for (FactoryControl other : VariantButtons) {
        Of(other).value = other == button ? 1 : 0;
    }
}

std::string FactorySettings::Now() const {
    return DateTimeText(clock_.Now());
}

void FactorySettings::SetText(FactoryControl control, std::string text) {
    const FactoryControlRow& row = RowOf(control);
    if (row.kind != Kind::Text || !Enabled(control)) {
        return;
    }
    // What the field shows is what the record gets: no more than the field takes.
    if (row.maxLength > 0 && text.size() > static_cast<std::size_t>(row.maxLength)) {
        text.resize(static_cast<std::size_t>(row.maxLength));
    }
    Of(control).text = std::move(text);
}

void FactorySettings::SetNumber(FactoryControl control, int value) {
    if (RowOf(control).kind == Kind::Number && Enabled(control)) {
        Of(control).value = std::clamp(value, Minimum(control), Maximum(control));
    }
}

void FactorySettings::Click(FactoryControl control) {
    if (!Enabled(control)) {
        return;
    }
    if (RowOf(control).kind == Kind::CheckBox) {
        Of(control).value = Of(control).value != 0 ? 0 : 1;
    } else if (RowOf(control).kind == Kind::RadioButton) {
        SelectRadio(control);
    }
}

void FactorySettings::Choose(FactoryControl combo, int index) {
    const FactoryPage page = RowOf(combo).page;
    const PageControls c = ControlsOf(page);
    if (combo == c.resolution) {
        if (IndexIn(index, ListsOf(page).resolutions.size()) >= 0) {
            SelectResolution(page, index);
        }
    } else if (combo == c.length) {
        if (IndexIn(index, ListsOf(page).lengths.size()) >= 0) {
            Of(combo).value = index;
            ApplyLength(page);
        }
    } else if (combo == c.customer) {
        if (IndexIn(index, FactoryCustomerNames.size()) >= 0) {
            Of(combo).value = index;
            Rename(page);
        }
    } else if (combo == CmbBx_RFS_24 && (index == 0 || index == 1)) {
        Of(combo).value = index;
    }
}

// M_RFS_82 is time field 6, M_RFS_81 (and any other control asked for) time field 5.
std::size_t FactorySettings::TimeIndex(FactoryControl control) {
    return static_cast<std::size_t>(control == M_RFS_82 ? TimeFieldIndex::FactoryConveyorStop
                                                        : TimeFieldIndex::FactoryMutingCycle);
}

TimeField& FactorySettings::Time(FactoryControl control) {
    return times_[TimeIndex(control)];
}

void FactorySettings::Defaults() {
    ApplyLength(R);
    const std::int32_t limit = FactoryTimeLimit(firmware_.version);
    Time(M_RFS_81).SetValue(limit);
    Time(M_RFS_82).SetValue(limit);
}

int FactorySettings::Value(FactoryControl control) const {
    const bool time = RowOf(control).kind == Kind::Time;
    return time ? times_[TimeIndex(control)].Value() : Of(control).value;
}

int FactorySettings::Minimum(FactoryControl control) const {
    const bool time = RowOf(control).kind == Kind::Time;
    return time ? times_[TimeIndex(control)].Minimum() : Of(control).minimum;
}

int FactorySettings::Maximum(FactoryControl control) const {
    const bool time = RowOf(control).kind == Kind::Time;
    return time ? times_[TimeIndex(control)].Maximum() : Of(control).maximum;
}

std::vector<std::string> FactorySettings::Items(FactoryControl combo) const {
    std::vector<std::string> items;
    const FactoryPage page = RowOf(combo).page;
    const PageControls c = ControlsOf(page);
    if (combo == c.resolution) {
        for (const TypeChoice& type : ListsOf(page).resolutions) {
            items.push_back(type.text);
        }
    } else if (combo == c.length) {
        for (const LengthChoice& length : ListsOf(page).lengths) {
            items.emplace_back(Trimmed(length.text));
        }
    } else if (combo == c.customer) {
        items.assign(FactoryCustomerNames.begin(), FactoryCustomerNames.end());
    } else if (combo == CmbBx_RFS_24) {
        items = {texts_.GetText(RestartAlways), texts_.GetText(RestartAfterPowerOn)};
    }
    return items;
}

std::optional<std::string> FactorySettings::TakeFocusRequest() {
    return std::exchange(focus_, std::nullopt);
}

std::optional<SettingsWrite> FactorySettings::SaveReceiver(const FactorySource& source,
                                                           PcSoftwareVersion pcVersion,
                                                           const RecordCodec& codec) {
    if (!source.diagnosis) {
        texts_.ShowMessageId(msg::Warning | NotInDiagnosis);
        return std::nullopt;
    }
    const ReceiverFactoryRecord* row = ChosenRow(R);
    if (row == nullptr) {
        texts_.ShowMessageId(msg::Fault | NoWorkParameters);
        return std::nullopt;
    }
    ReceiverFactoryInput input;
    input.productionDateTime = Text(Edt_RFS_11);
    input.serialNumber = Text(Edt_RFS_12);
    input.tester = Text(Edt_RFS_13);
    input.swVersion = Text(Edt_RFS_14);
    input.hwVersion = Text(Edt_RFS_15);
    input.productionData = Text(M_RFS_11);
    input.typeDesignation = Text(Edt_RFS_21);
    input.cascading = Checked(ChckBx_RFS_21);
    input.restartAlways = Value(CmbBx_RFS_24) == 0;
    input.functionReserveMax = Text(Edt_RFS_31);
    input.functionReserveOn = Text(Edt_RFS_32);
    input.ossdOnWait = Text(Edt_RFS_41);
    input.ossdOffWait = Text(Edt_RFS_42);
    input.outputOnDelay = Text(Edt_RFS_43);
    input.quartzCorrection = Value(Edt_RFS_51);
    input.floatingBeams = Value(Edt_RFS_61);
    input.blankingBeams = Value(Edt_RFS_71);
    // A time field is never negative.
    input.mutingCycleTenths = static_cast<std::uint32_t>(Value(M_RFS_81));
    input.conveyorStopTenths = static_cast<std::uint32_t>(Value(M_RFS_82));
    input.multipleInterruption = Checked(ChckBx_RFS_81);
    ReceiverFactoryRecord record;
    if (const auto refusal =
            BuildReceiverFactoryRecord(input, *row, source.firmware, pcVersion, codec, record)) {
        ShowRefusal(*refusal);
        return std::nullopt;
    }
    return SettingsWrite::ReceiverFactory(record);
}

std::optional<SettingsWrite> FactorySettings::SaveEmitter() {
    const ReceiverFactoryRecord* row = ChosenRow(E);
    if (row == nullptr) {
        texts_.ShowMessageId(msg::Fault | NoWorkParameters);
        return std::nullopt;
    }
    EmitterFactoryInput input;
    input.productionDateTime = Text(Edt_EFS_11);
    input.serialNumber = Text(Edt_EFS_12);
    input.tester = Text(Edt_EFS_13);
    input.hwVersion = Text(Edt_EFS_14);
    input.customerDesignation = Text(Edt_EFS_21);
    input.variant = Checked(RdBtn_EFS_32) ? 2 : Checked(RdBtn_EFS_33) ? 3 : 1;
    EmitterFactorySend send;
    if (const auto refusal = BuildEmitterFactoryRecord(input, *row, clock_, send)) {
        ShowRefusal(*refusal);
        return std::nullopt;
    }
    return SettingsWrite::EmitterFactory(send.factory, send.customer);
}

// The builder's message with the label of the field it names; the field gets the focus.
void FactorySettings::ShowRefusal(const FieldRefusal& refusal) {
    const MessageCode code = msg::Warning | static_cast<TextId>(refusal.messageId);
    const std::string label = refusal.labelTextId != 0
                                  ? texts_.GetText(static_cast<TextId>(refusal.labelTextId))
                                  : std::string{};
    switch (refusal.messageId) {
    case FieldRefusal::NotFilledOut:
    case FieldRefusal::NotCompleted:
        texts_.ShowMessageIdStr(code, label);
        break;
    case FieldRefusal::InvalidValue:
        texts_.ShowMessageIdArgs(code, {refusal.enteredText, label});
        break;
    default:
        texts_.ShowMessageId(code);
        break;
    }
    if (refusal.resetTo) {
        Of(Edt_RFS_61).value = std::clamp(*refusal.resetTo, 0, Maximum(Edt_RFS_61));
    }
    focus_ = refusal.focusControl;
}

} // namespace lcdiag
