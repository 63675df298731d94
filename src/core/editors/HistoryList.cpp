#include "core/editors/HistoryList.h"

#include "core/app/Texts.h"
#include "core/device/ConfigurationHistory.h"
#include "core/device/ReceiverCustomerSet.h"
#include "core/protocol/ConnectionController.h"

#include <algorithm>
#include <initializer_list>
#include <utility>

namespace lcdiag {

namespace {

using CF = ReceiverCustomerField;

constexpr TextId HoursUnitText = 1019; // "h"
constexpr TextId NoText = 2105;
constexpr TextId YesText = 2106;

// The grid's labels come from the settings texts 3000 + 10 g + b: group g (1-22) takes bit b
// (0-7) of its mask; bit 0 is the group's heading, every other bit a sub-row.
constexpr std::array<std::uint8_t, 22> LabelGroups = {0x0D, 0x07, 0x03, 0x03, 0x03, 0x07, 0, 0,
                                                      0,    0x1F, 0,    0,    0x1F, 0x8B, 0, 0,
                                                      0,    0,    0,    0x03, 0x03, 0x03};

// The record stores "M" when multiple interruption during muting is allowed.
constexpr std::uint8_t MultipleInterruptionMark = 'M';
// Muting times have 24 bits from this firmware on, and multiple interruption exists.
constexpr int FirstLongTimeFirmware = 133;

// The grid rows that carry a value.
namespace row {
enum : std::size_t {
    InterruptionActivation = 1,
    InterruptionTime = 2,
    RelayActive = 4,
    RelayDelay = 5,
    BeamCodingA = 7,
    FixedBlanking = 9,
    FloatingBeams = 11,
    MutingFunction = 13,
    CyclicFunction = 14,
    OperatingMode = 16,
    Direction = 17,
    MutingCycleTime = 18,
    Concurrency = 19,
    RestartInterlock = 21,
    ConveyorStop = 22,
    ShortenedCycle = 23,
    Override = 24,
    MultipleInterruption = 26,
    FieldArea = 27,
    BusProtocol = 28,
    ClockCycles = 30,
    ClockCycleTime = 32,
    PcSoftware = 34,
};
} // namespace row

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

int CompareIgnoringCase(const std::string& first, const std::string& second) {
    const auto [a, b] =
        std::mismatch(first.begin(), first.end(), second.begin(), second.end(),
                      [](char x, char y) { return LowerAscii(x) == LowerAscii(y); });
    if (a == first.end()) {
        return b == second.end() ? 0 : -1;
    }
    if (b == second.end()) {
        return 1;
    }
    const auto x = static_cast<unsigned char>(LowerAscii(*a));
    const auto y = static_cast<unsigned char>(LowerAscii(*b));
    return x < y ? -1 : 1;
}

std::string Seconds(std::uint32_t seconds) {
    return std::to_string(seconds) + " s";
}

std::string TwoDigits(int value) {
    return (value < 10 ? "0" : "") + std::to_string(value);
}

// The settings of one record in the grid's words.
class RecordReader {
public:
    RecordReader(const Texts& texts, const ReceiverCustomerRecord& record,
                 const ControllerFirmware& firmware)
        : texts_(texts), record_(record), firmware_(firmware) {}

    int Byte(CF field) const { return record_.Byte(field); }
    std::string Number(CF field) const { return std::to_string(Byte(field)); }
    bool Has(CF field, std::uint8_t bits) const { return (Byte(field) & bits) != 0; }
    std::string Text(TextId id) const { return texts_.GetText(id); }
    std::string YesNo(bool condition) const { return Text(condition ? YesText : NoText); }
    std::string YesNo(CF field, std::uint8_t bits) const { return YesNo(Has(field, bits)); }

    // The text of the last option whose bits are set (the later tests win), else the first.
    std::string Choice(CF field, TextId otherwise,
                       std::initializer_list<std::pair<std::uint8_t, TextId>> options) const {
        TextId chosen = otherwise;
        for (const auto& [bits, id] : options) {
            if (Has(field, bits)) {
                chosen = id;
            }
        }
        return Text(chosen);
    }

    // A muting time in seconds: 16 bits, and a high byte from the firmware that has 24-bit
    // times.
    std::uint32_t Time(CF low, CF high) const {
        const std::uint32_t highBits =
            firmware_.version >= FirstLongTimeFirmware ? record_.Byte(high) : 0;
        return highBits << 16 | record_.Number(low);
    }

    // Bits 4-5 of the function byte: one beam, two beams (or the count in byte 34 where the
    // firmware allows more), neither; both set reads as none.
    std::string FloatingBeams() const {
        const int field = (Byte(CF::FunctionBits) >> 4) & 0x03;
        if (field == 2 && firmware_.SupportsManyFloatingBeams()) {
            return Number(CF::FloatingBeams);
        }
        return std::to_string(field == 3 ? 0 : field);
    }

    bool MultipleInterruptionAllowed() const {
        return Byte(CF::MultipleInterruption) == MultipleInterruptionMark &&
               firmware_.version >= FirstLongTimeFirmware;
    }

private:
    const Texts& texts_;
    const ReceiverCustomerRecord& record_;
    const ControllerFirmware& firmware_;
};

HistoryEntry MakeEntry(const Texts& texts, int slot, const ReceiverCustomerRecord& record,
                       const HistorySlot& configuration) {
    HistoryEntry entry;
    entry.slot = slot;
    entry.record = record;
    entry.columns = {
        configuration.active ? texts.GetText(HistorySlot::ActiveLabelTextId)
                             : configuration.AgeLabel(),
        ActivationStampText(record),
        std::to_string(ActivationOperatingHours(record)) + " " + texts.GetText(HoursUnitText),
        std::to_string(configuration.number),
    };
    return entry;
}

} // namespace

HistorySource HistorySourceOf(const ConnectionController& link) {
    return {&link.ReceiverCustomers(), link.ConfigurationNumber(), link.Firmware(),
            link.State() == LinkState::Diagnosis};
}

HistoryGridColumn HistoryGridLabels(const Texts& texts) {
    HistoryGridColumn labels{};
    std::size_t row = 0;
    for (std::size_t group = 0; group < LabelGroups.size(); ++group) {
        for (int bit = 0; bit < 8 && row < labels.size(); ++bit) {
            if ((LabelGroups[group] >> bit & 1) == 0) {
                continue;
            }
            const auto id =
                static_cast<TextId>(3000 + 10 * (group + 1) + static_cast<unsigned>(bit));
            if (!texts.TextExists(id)) {
                break; // a group ends at its first missing text
            }
            labels[row++] = (bit == 0 ? "" : " ") + texts.GetText(id);
        }
    }
    return labels;
}

HistoryGridColumn HistoryGridValues(const Texts& texts, const ReceiverCustomerRecord& record,
                                    const ControllerFirmware& firmware) {
    namespace fb = function_bit;
    namespace mb = muting_bit;
    namespace sb = special_bit;
    const RecordReader r(texts, record, firmware);
    HistoryGridColumn values{};
    values[row::InterruptionActivation] = r.YesNo(CF::FunctionBits, fb::StartInterlockInterruption);
    values[row::InterruptionTime] = std::to_string(r.Byte(CF::InterruptionTime) * 10);
    values[row::RelayActive] = r.YesNo(!r.Has(CF::FunctionBits, fb::RelayControlOff));
    values[row::RelayDelay] = std::to_string((r.Byte(CF::RelayDelay) - 1) * 10);
    values[row::BeamCodingA] = r.YesNo(CF::FunctionBits, fb::BeamCodingA);
    values[row::FixedBlanking] = r.YesNo(CF::FunctionBits, fb::FixedBlanking);
    values[row::FloatingBeams] = r.FloatingBeams();
    values[row::MutingFunction] = r.YesNo(CF::SpecialFunctionBits, sb::Muting);
    values[row::CyclicFunction] = r.YesNo(CF::SpecialFunctionBits, sb::CyclicOperation);
    values[row::OperatingMode] =
        r.Choice(CF::MutingBits, 3116, // 4 sensors, parallel
                 {{mb::TwoSensorsDiagonal, 3114}, {mb::TwoSensorsParallel, 3115}});
    values[row::Direction] = r.Choice(CF::MutingBits, 3124, // into the danger zone
                                      {{mb::OutOfDangerZone, 3125}, {mb::BothDirections, 3126}});
    values[row::MutingCycleTime] = Seconds(r.Time(CF::MutingCycleTime, CF::MutingCycleTimeHigh));
    const int concurrency = r.Byte(CF::SensorConcurrency); // tenths of a second
    values[row::Concurrency] =
        std::to_string(concurrency / 10) + "," + std::to_string(concurrency % 10) + " s";
    values[row::RestartInterlock] = r.YesNo(CF::SpecialFunctionBits, sb::RestartInterlock);
    values[row::ConveyorStop] = r.YesNo(CF::SpecialFunctionBits, sb::ConveyorStop) + " - " +
                                Seconds(r.Time(CF::ConveyorStopTime, CF::ConveyorStopTimeHigh));
    values[row::ShortenedCycle] = r.YesNo(CF::MutingBits, mb::ShortenedCycle);
    values[row::Override] = r.YesNo(CF::SpecialFunctionBits, sb::Override) + " - " +
                            Seconds(static_cast<std::uint32_t>(r.Byte(CF::OverrideTime)));
    values[row::MultipleInterruption] = r.Text(r.MultipleInterruptionAllowed() ? 3142 : 3148);
    values[row::FieldArea] = r.Choice(CF::SpecialFunctionBits, 3144, // complete protection field
                                      {{sb::TeachSampleArea, 3145}, {sb::BusArea, 3146}});
    values[row::BusProtocol] = r.Number(CF::BusProtocol);
    values[row::ClockCycles] = r.Number(CF::ClockCycles);
    values[row::ClockCycleTime] = Seconds(static_cast<std::uint32_t>(r.Byte(CF::ClockCycleTime)));
    values[row::PcSoftware] =
        r.Number(CF::PcVersionMajor) + "." + TwoDigits(r.Byte(CF::PcVersionMinor));
    return values;
}

int CompareHistoryEntries(const HistoryEntry& first, const HistoryEntry& second, int sortKey) {
    const int column = std::clamp(sortKey < 0 ? -sortKey : sortKey, 1, HistoryEntry::Columns) - 1;
    const int order = CompareIgnoringCase(first.columns[static_cast<std::size_t>(column)],
                                          second.columns[static_cast<std::size_t>(column)]);
    return sortKey < 0 ? -order : order;
}

HistoryList::HistoryList(const Texts& texts) : texts_(texts) {}

std::optional<MessageCode> HistoryList::Refusal(const HistorySource& source) {
    const bool known = source.customers != nullptr && source.customers->Received() &&
                       source.customers->ActiveRecordIndex() != NoActiveSlot;
    if (known) {
        return std::nullopt;
    }
    return msg::Warning | (source.diagnosisRunning ? NotFoundText : NotDiagnosingText);
}

bool HistoryList::Init(const HistorySource& source, const RecordCodec& codec) {
    Clear();
    sortKey_ = 1;
    labels_ = HistoryGridLabels(texts_);
    if (const std::optional<MessageCode> refusal = Refusal(source)) {
        texts_.ShowMessageId(*refusal);
        return false;
    }
    firmware_ = source.firmware;
    const auto activeSlot = static_cast<std::uint8_t>(source.customers->ActiveRecordIndex());
    for (int slot = 0; slot < ReceiverCustomerSet::Slots; ++slot) {
        const ReceiverCustomerRecord& record = source.customers->Slot(slot);
        if (IsValidHistoryRecord(record, codec)) {
            entries_.push_back(
                MakeEntry(texts_, slot, record,
                          ConfigurationOfSlot(slot, source.configurationNumber, activeSlot)));
        }
    }
    mask_ = HistoryMask::Blanking;
    Sort();
    return true;
}

bool HistoryList::Init(const ConnectionController& link) {
    return Init(HistorySourceOf(link), link.Codec());
}

void HistoryList::Clear() {
    entries_.clear();
    selectedSlot_.reset();
    ShowSelected();
}

void HistoryList::ClickColumn(int column) {
    const int key = column + 1;
    sortKey_ = (sortKey_ == key || sortKey_ == -key) ? -sortKey_ : key;
    Sort();
}

void HistoryList::Sort() {
    std::stable_sort(entries_.begin(), entries_.end(),
                     [this](const HistoryEntry& first, const HistoryEntry& second) {
                         return CompareHistoryEntries(first, second, sortKey_) < 0;
                     });
}

void HistoryList::Select(int index) {
    const bool inside = index >= 0 && static_cast<std::size_t>(index) < entries_.size();
    selectedSlot_ =
        inside ? std::optional(entries_[static_cast<std::size_t>(index)].slot) : std::nullopt;
    ShowSelected();
}

int HistoryList::SelectedIndex() const {
    const auto found = std::find_if(entries_.begin(), entries_.end(), [this](const auto& entry) {
        return selectedSlot_ == entry.slot;
    });
    return found == entries_.end() ? -1 : static_cast<int>(found - entries_.begin());
}

const HistoryEntry* HistoryList::Selected() const {
    const int index = SelectedIndex();
    return index < 0 ? nullptr : &entries_[static_cast<std::size_t>(index)];
}

void HistoryList::SetMask(HistoryMask mask) {
    mask_ = mask == HistoryMask::Muting && !MutingSelectable() ? HistoryMask::Blanking : mask;
}

BeamMask HistoryList::SelectedMask() const {
    const HistoryEntry* entry = Selected();
    if (entry == nullptr) {
        return {};
    }
    return entry->record.Mask(mask_ == HistoryMask::Muting ? CF::MutingAreaMask
                                                           : CF::FixedBlankingMask);
}

void HistoryList::ShowSelected() {
    const HistoryEntry* entry = Selected();
    values_ = entry ? HistoryGridValues(texts_, entry->record, firmware_) : HistoryGridColumn{};
}

} // namespace lcdiag
