#pragma once

#include "core/app/Messages.h"
#include "core/device/BeamMask.h"
#include "core/device/ControllerFirmware.h"
#include "core/device/ReceiverCustomerRecord.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace lcdiag {

class ConnectionController;
class ReceiverCustomerSet;
class RecordCodec;
class Texts;

// What the history page reads from the link: the receiver's ring of customer records as last
// received, the current configuration number from the factory record's trailer, the firmware
// and whether cyclic diagnosis runs.
struct HistorySource {
    const ReceiverCustomerSet* customers = nullptr; // null: nothing received
    std::uint8_t configurationNumber = 0;
    ControllerFirmware firmware;
    bool diagnosisRunning = false;
};
HistorySource HistorySourceOf(const ConnectionController& link);

// One configuration of the ring as the list shows it, with its own copy of the record.
struct HistoryEntry {
    // The list's columns: label ("active" or "n-" and the age), activation stamp, operating
    // hours with their unit, configuration number.
    static constexpr int Columns = 4;

    int slot = 0; // 0-7 in the controller's ring
    std::array<std::string, Columns> columns;
    ReceiverCustomerRecord record;

    const std::string& Label() const { return columns[0]; }
    const std::string& Stamp() const { return columns[1]; }
    const std::string& Hours() const { return columns[2]; }
    const std::string& Number() const { return columns[3]; }
};

// Which mask of the selected record the lines picture below the list highlights.
enum class HistoryMask { Blanking = 0, Muting = 1 };

// The settings grid beside the list: 35 rows of a label and a value.
inline constexpr int HistoryGridRows = 35;
using HistoryGridColumn = std::array<std::string, HistoryGridRows>;

// The grid's labels from the settings texts: per group a heading and its sub-rows, the
// sub-rows with a leading blank (the grid draws those indented and regular, headings bold).
HistoryGridColumn HistoryGridLabels(const Texts& texts);
// The record's settings in the grid's rows; headings stay empty. The firmware decides how
// the floating beams, the 24-bit muting times and multiple interruption are read.
HistoryGridColumn HistoryGridValues(const Texts& texts, const ReceiverCustomerRecord& record,
                                    const ControllerFirmware& firmware);

// Orders two entries by a signed sort key: |key| 1 the label, 2 the stamp, 3 the hours, 4 the
// number, each compared as text ignoring case ("10" before "9", the stamp day first); a
// negative key sorts descending. Negative, zero or positive like a comparison.
int CompareHistoryEntries(const HistoryEntry& first, const HistoryEntry& second, int sortKey);

// The configuration history page as data: the entries of the receiver's ring that pass the
// history check, their order, the selected entry with its settings and mask, and the mask
// selector. The page is rebuilt on every visit and keeps nothing after it is left.
class HistoryList {
public:
    static constexpr TextId NotFoundText = 144;      // while cyclic diagnosis runs
    static constexpr TextId NotDiagnosingText = 145; // otherwise

    explicit HistoryList(const Texts& texts);

    // The warning the page is refused with: the ring was not received or no valid trailer
    // named its active slot. Nothing when the page can open.
    static std::optional<MessageCode> Refusal(const HistorySource& source);

    // Opening the page: the grid's labels, then, unless refused (the warning is shown and the
    // result is false), one entry per valid slot sorted by label, blanking selected, nothing
    // selected. A ring without a valid record gives an empty list; the page still opens.
    bool Init(const HistorySource& source, const RecordCodec& codec);
    bool Init(const ConnectionController& link);
    // Leaving the page: no entries, no selection.
    void Clear();

    const std::vector<HistoryEntry>& Entries() const { return entries_; }
    int SortKey() const { return sortKey_; }
    // A click on column 0-3 sorts by it, or the other way round when it already sorts by it.
    void ClickColumn(int column);

    // The entry at the index of the list's current order, or -1 for none (an index outside
    // the list counts as none). The selection follows its entry when the list is sorted.
    void Select(int index);
    int SelectedIndex() const;
    const HistoryEntry* Selected() const;

    // The "Muting" choice exists on controllers with the muting functions (type digit 2 and
    // up); elsewhere asking for it keeps the blanking mask.
    bool MutingSelectable() const { return firmware_.typeDigit >= 2; }
    void SetMask(HistoryMask mask);
    HistoryMask Mask() const { return mask_; }
    // The selected record's blanking (bytes 36-59) or muting (84-107) mask; none selected:
    // all clear.
    BeamMask SelectedMask() const;

    const HistoryGridColumn& Labels() const { return labels_; }
    // The selected record's settings; all empty while none is selected.
    const HistoryGridColumn& Values() const { return values_; }

private:
    void Sort();
    void ShowSelected();

    const Texts& texts_;
    ControllerFirmware firmware_;
    std::vector<HistoryEntry> entries_;
    int sortKey_ = 1;
    std::optional<int> selectedSlot_;
    HistoryMask mask_ = HistoryMask::Blanking;
    HistoryGridColumn labels_{};
    HistoryGridColumn values_{};
};

} // namespace lcdiag
