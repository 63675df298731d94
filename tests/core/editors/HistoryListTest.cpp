#include "core/editors/HistoryList.h"

#include "../app/AppTestSupport.h"
#include "core/app/Texts.h"
#include "core/device/ReceiverCustomerSet.h"
#include "core/protocol/RecordCodec.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace lcdiag {
namespace {

using CF = ReceiverCustomerField;

// A record as the controller keeps it after activation: complements, checksum and the
// operating hours at activation with their complements.
ReceiverCustomerRecord Stored(const RecordCodec& codec, std::uint32_t hours, int day,
                              const std::function<void(ReceiverCustomerRecord&)>& settings = {}) {
    ReceiverCustomerRecord record;
    record.SetByte(CF::RelayDelay, 11);
    const std::uint8_t stamp[] = {static_cast<std::uint8_t>(day), 3, 14, 9, 8, 17};
    std::copy(std::begin(stamp), std::end(stamp), record.Bytes(CF::ActivationStamp).begin());
    if (settings) {
        settings(record);
    }
    record.SetNumber(CF::OperatingHours, hours);
    record.WriteComplements();
    codec.WriteChecksum(record.bytes, BlockKind::Customer, Layout::Long);
    return record;
}

class HistoryListTest : public ::testing::Test {
protected:
    HistoryListTest() {
        for (int slot = 0; slot < ReceiverCustomerSet::Slots; ++slot) {
            ring[static_cast<std::size_t>(slot)] =
                Stored(codec, 1000 + static_cast<std::uint32_t>(slot) * 10, slot + 1);
        }
    }

    // The ring as the controller reports it, with `active` as the trailer's active slot.
    bool Open(std::uint8_t number = 10, int active = 3, bool diagnosis = true) {
        std::vector<std::uint8_t> data;
        for (const ReceiverCustomerRecord& record : ring) {
            data.insert(data.end(), record.bytes.begin(), record.bytes.end());
        }
        set.SetActiveRecordIndex(active);
        set.Receive(data, Layout::Long, codec);
        return list.Init({&set, number, firmware, diagnosis}, codec);
    }

    std::vector<std::string> Column(int column) const {
        std::vector<std::string> texts;
        for (const HistoryEntry& entry : list.Entries()) {
            texts.push_back(entry.columns[static_cast<std::size_t>(column)]);
        }
        return texts;
    }

    test::RecordingDialogs dialogs;
    Texts texts{nullptr, &dialogs};
    RecordCodec codec{0};
    std::array<ReceiverCustomerRecord, 8> ring{};
    ReceiverCustomerSet set;
    ControllerFirmware firmware{136, 2};
    HistoryList list{texts};
};

TEST_F(HistoryListTest, LabelsTheRingFromTheActiveSlotBackwards) {
    ASSERT_TRUE(Open(10, 3));
    EXPECT_TRUE(dialogs.shown.empty());
    // Sorted by label: "active" first, then by age.
    EXPECT_EQ(Column(0), (std::vector<std::string>{"active", "n-1", "n-2", "n-3", "n-4", "n-5",
                                                   "n-6", "n-7"}));
    EXPECT_EQ(Column(3), (std::vector<std::string>{"10", "9", "8", "7", "6", "5", "4", "3"}));
    const std::vector<int> slots = {3, 2, 1, 0, 7, 6, 5, 4};
    for (std::size_t i = 0; i < slots.size(); ++i) {
        const HistoryEntry& entry = list.Entries()[i];
        EXPECT_EQ(entry.slot, slots[i]);
        EXPECT_EQ(entry.record, ring[static_cast<std::size_t>(slots[i])]);
    }
    const HistoryEntry& active = list.Entries().front();
    EXPECT_EQ(active.Stamp(), "04.03.2014 17:08:09");
    EXPECT_EQ(active.Hours(), "1030 h");
}

TEST_F(HistoryListTest, LeavesOutRecordsThatFailTheHistoryCheck) {
    struct Case {
        const char* what;
        std::function<void(ReceiverCustomerRecord&)> spoil;
    };
    const Case cases[] = {
        {"a setting changed after the checksum", [](auto& r) { r.bytes[10] ^= 0x01; }},
        {"checksum complement's low byte", [](auto& r) { r.bytes[145] ^= 0x01; }},
        {"checksum complement's high byte", [](auto& r) { r.bytes[144] ^= 0x80; }},
        {"hours complement", [](auto& r) { r.bytes[151] ^= 0x01; }},
        {"hours as the PC sends them", [](auto& r) { std::fill_n(&r.bytes[146], 6, 0); }},
        {"erased memory", [](auto& r) { r.bytes.fill(0xFF); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ring[5] = Stored(codec, 1050, 6);
        c.spoil(ring[5]);
        ASSERT_TRUE(Open(10, 3));
        EXPECT_EQ(Column(0),
                  (std::vector<std::string>{"active", "n-1", "n-2", "n-3", "n-4", "n-5", "n-7"}));
    }
    // The operating hours lie outside the checksum: a new count with its complements is valid.
    ring[5] = Stored(codec, 1050, 6);
    ring[5].SetNumber(CF::OperatingHours, 77777);
    ring[5].WriteComplement(CF::OperatingHoursComplement);
    ASSERT_TRUE(Open(10, 3));
    EXPECT_EQ(list.Entries()[6].Hours(), "77777 h");
}

TEST_F(HistoryListTest, ARingWithoutValidRecordsOpensEmpty) {
    for (ReceiverCustomerRecord& record : ring) {
        record.bytes[151] ^= 0xFF;
    }
    EXPECT_TRUE(Open());
    EXPECT_TRUE(list.Entries().empty());
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(HistoryListTest, RefusesWhileTheRingOrItsActiveSlotIsUnknown) {
    struct Case {
        bool received;
        int active;
        bool diagnosis;
        TextId message;
    };
    const Case cases[] = {
        {false, 3, true, 144},
        {false, 3, false, 145},
        {true, 255, true, 144},
        {true, 255, false, 145},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        dialogs.shown.clear();
        ASSERT_TRUE(Open()); // the old entries go when the page is refused
        set = ReceiverCustomerSet{};
        if (c.received) {
            std::vector<std::uint8_t> data(8 * 152);
            set.Receive(data, Layout::Long, codec);
        }
        set.SetActiveRecordIndex(c.active);
        EXPECT_EQ(HistoryList::Refusal({&set, 10, firmware, c.diagnosis}),
                  msg::Warning | c.message);
        EXPECT_FALSE(list.Init({&set, 10, firmware, c.diagnosis}, codec));
        ASSERT_EQ(dialogs.shown.size(), 1u);
        EXPECT_EQ(dialogs.shown[0].kind, MessageKind::Warning);
        EXPECT_EQ(dialogs.shown[0].text, texts.GetText(c.message));
        EXPECT_TRUE(list.Entries().empty());
        EXPECT_EQ(list.Labels()[0], "Start Interlock"); // the grid's labels are filled first
    }
    EXPECT_EQ(HistoryList::Refusal({nullptr, 10, firmware, false}), msg::Warning | 145);
}

TEST_F(HistoryListTest, SortsByClickedColumnAsTextAndReversesOnTheSecondClick) {
    ASSERT_TRUE(Open(10, 3));
    list.Select(1); // n-1, slot 2
    list.ClickColumn(3);
    EXPECT_EQ(list.SortKey(), 4);
    EXPECT_EQ(Column(3), (std::vector<std::string>{"10", "3", "4", "5", "6", "7", "8", "9"}));
    EXPECT_EQ(list.SelectedIndex(), 7); // the selection follows its entry
    EXPECT_EQ(list.Selected()->slot, 2);

    list.ClickColumn(3);
    EXPECT_EQ(list.SortKey(), -4);
    EXPECT_EQ(Column(3), (std::vector<std::string>{"9", "8", "7", "6", "5", "4", "3", "10"}));
    EXPECT_EQ(list.SelectedIndex(), 0);

    // Another column starts ascending; its texts ignore case.
    list.ClickColumn(0);
    EXPECT_EQ(list.SortKey(), 1);
    EXPECT_EQ(Column(0).front(), "active");
    list.ClickColumn(0);
    EXPECT_EQ(list.SortKey(), -1);
    EXPECT_EQ(Column(0).front(), "n-7");

    HistoryEntry upper;
    HistoryEntry lower;
    upper.columns[1] = "ACTIVE";
    lower.columns[1] = "active";
    EXPECT_EQ(CompareHistoryEntries(upper, lower, 2), 0);
    lower.columns[1] = "b";
    EXPECT_LT(CompareHistoryEntries(upper, lower, 2), 0);
    EXPECT_GT(CompareHistoryEntries(upper, lower, -2), 0);

    // A new visit starts by label again.
    ASSERT_TRUE(Open(10, 3));
    EXPECT_EQ(list.SortKey(), 1);
    EXPECT_EQ(list.SelectedIndex(), -1);
}

TEST_F(HistoryListTest, GridLabelsFollowTheGroupTable) {
    ASSERT_TRUE(Open());
    const HistoryGridColumn& labels = list.Labels();
    std::vector<int> headings;
    for (int row = 0; row < HistoryGridRows; ++row) {
        const std::string& label = labels[static_cast<std::size_t>(row)];
        ASSERT_FALSE(label.empty()) << row;
        if (label[0] != ' ') {
            headings.push_back(row);
        }
    }
    EXPECT_EQ(headings, (std::vector<int>{0, 3, 6, 8, 10, 12, 15, 20, 25, 29, 31, 33}));
    EXPECT_EQ(labels[1], " Activation of protection field interruption");
    EXPECT_EQ(labels[15], "Generally");
    EXPECT_EQ(labels[26], " Muting multiple interruption of protective field");
    EXPECT_EQ(labels[28], " Protocol no. (RS485-BUS)");
    EXPECT_EQ(labels[34], " PC software");
}

TEST_F(HistoryListTest, GridValuesReadTheSelectedRecordForTheFirmware) {
    struct Case {
        const char* what;
        int version;
        int digit;
        std::function<void(ReceiverCustomerRecord&)> set;
        int row;
        std::string value;
    };
    const auto bytes = [](std::initializer_list<std::pair<int, int>> list) {
        return [values = std::vector(list)](ReceiverCustomerRecord& r) {
            for (const auto& [at, value] : values) {
                r.bytes[static_cast<std::size_t>(at)] = static_cast<std::uint8_t>(value);
            }
        };
    };
    const Case cases[] = {
        {"interruption activation", 136, 2, bytes({{0, 0x02}}), 1, "yes"},
        {"interruption time", 136, 2, bytes({{12, 25}}), 2, "250"},
        {"relay control active", 136, 2, bytes({{0, 0x00}}), 4, "yes"},
        {"relay control off", 136, 2, bytes({{0, 0x04}}), 4, "no"},
        {"relay delay", 136, 2, bytes({{4, 11}}), 5, "100"},
        {"relay delay of 0", 136, 2, bytes({{4, 0}}), 5, "-10"},
        {"beam coding", 136, 2, bytes({{0, 0x40}}), 7, "yes"},
        {"fixed blanking", 136, 2, bytes({{0, 0x08}}), 9, "yes"},
        {"one floating beam", 136, 2, bytes({{0, 0x10}, {34, 5}}), 11, "1"},
        {"both floating bits", 136, 2, bytes({{0, 0x30}, {34, 5}}), 11, "0"},
        {"two beams, 1.21 standard", 121, 1, bytes({{0, 0x20}, {34, 5}}), 11, "2"},
        {"count, 1.22 standard", 122, 1, bytes({{0, 0x20}, {34, 5}}), 11, "5"},
        {"two beams, 1.35 muting", 135, 2, bytes({{0, 0x20}, {34, 5}}), 11, "2"},
        {"count, 1.36 muting", 136, 3, bytes({{0, 0x20}, {34, 5}}), 11, "5"},
        {"muting function", 136, 2, bytes({{6, 0x08}}), 13, "yes"},
        {"cyclic function", 136, 2, bytes({{6, 0x01}}), 14, "yes"},
        {"4 sensors", 136, 2, bytes({{2, 0x00}}), 16, "Muting with 4 sensors (Parallel)"},
        {"diagonal", 136, 2, bytes({{2, 0x08}}), 16, "Muting with 2 sensors (Diagonal)"},
        {"both mode bits", 136, 2, bytes({{2, 0x18}}), 16, "Muting with 2 sensors (Parallel)"},
        {"into", 136, 2, bytes({{2, 0x01}}), 17, "into the danger zone"},
        {"out of", 136, 2, bytes({{2, 0x02}}), 17, "out of the danger zone"},
        {"both direction bits", 136, 2, bytes({{2, 0x06}}), 17, "in both directions"},
        {"cycle time 16 bits, 1.32", 132, 2, bytes({{28, 1}, {14, 1}, {15, 44}}), 18, "300 s"},
        {"cycle time 24 bits, 1.33", 133, 2, bytes({{28, 1}, {14, 1}, {15, 44}}), 18, "65836 s"},
        {"concurrency", 136, 2, bytes({{18, 25}}), 19, "2,5 s"},
        {"restart interlock", 136, 2, bytes({{6, 0x02}}), 21, "yes"},
        {"conveyor 16 bits, 1.32", 132, 2, bytes({{6, 0x04}, {30, 2}, {20, 0}, {21, 90}}), 22,
         "yes - 90 s"},
        {"conveyor 24 bits, 1.33", 133, 2, bytes({{30, 2}, {20, 0}, {21, 90}}), 22,
         "no - 131162 s"},
        {"shortened cycle", 136, 2, bytes({{2, 0x20}}), 23, "yes"},
        {"override", 136, 2, bytes({{6, 0x80}, {24, 180}}), 24, "yes - 180 s"},
        {"multiple, 1.33", 133, 2, bytes({{138, 'M'}}), 26, "allowed"},
        {"multiple, 1.32", 132, 2, bytes({{138, 'M'}}), 26, "not allowed"},
        {"multiple, other byte", 136, 2, bytes({{138, 'm'}}), 26, "not allowed"},
        {"whole field", 136, 2, bytes({{6, 0x10}}), 27, "complete protection field"},
        {"teach", 136, 2, bytes({{6, 0x20}}), 27, "Teach sample"},
        {"teach and bus", 136, 2, bytes({{6, 0x60}}), 27, "Process control (BUS)"},
        {"protocol", 136, 2, bytes({{26, 7}}), 28, "7"},
        {"clock cycles", 136, 2, bytes({{8, 2}}), 30, "2"},
        {"clock cycle time", 136, 2, bytes({{10, 30}}), 32, "30 s"},
        {"PC software", 136, 2, bytes({{140, 3}, {141, 5}}), 34, "3.05"},
        {"PC software, minor 12", 136, 2, bytes({{140, 3}, {141, 12}}), 34, "3.12"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ring[3] = Stored(codec, 1030, 4, c.set);
        firmware = {c.version, c.digit};
        ASSERT_TRUE(Open(10, 3));
        EXPECT_EQ(list.Values(), HistoryGridColumn{}); // nothing selected yet
        list.Select(0);
        ASSERT_EQ(list.Selected()->slot, 3);
        EXPECT_EQ(list.Values()[static_cast<std::size_t>(c.row)], c.value);
        for (int heading : {0, 3, 6, 8, 10, 12, 15, 20, 25, 29, 31, 33}) {
            EXPECT_EQ(list.Values()[static_cast<std::size_t>(heading)], "");
        }
    }
    list.Select(-1);
    EXPECT_EQ(list.Values(), HistoryGridColumn{});
    list.Select(8); // beyond the list: none
    EXPECT_EQ(list.Selected(), nullptr);
}

TEST_F(HistoryListTest, MaskSelectorAndMutingForTheControllerType) {
    BeamMask blanking = BeamMask::FirstBeams(16);
    blanking.Set(4, false);
    const BeamMask muting = BeamMask::FirstBeams(3);
    ring[3] = Stored(codec, 1030, 4, [&](ReceiverCustomerRecord& r) {
        r.SetMask(CF::FixedBlankingMask, blanking);
        r.SetMask(CF::MutingAreaMask, muting);
    });
    for (int digit : {1, 2, 3}) {
        SCOPED_TRACE(digit);
        firmware = {136, digit};
        ASSERT_TRUE(Open(10, 3));
        EXPECT_EQ(list.MutingSelectable(), digit >= 2);
        EXPECT_EQ(list.SelectedMask(), BeamMask{}); // nothing selected
        list.Select(0);
        EXPECT_EQ(list.Mask(), HistoryMask::Blanking);
        EXPECT_EQ(list.SelectedMask(), blanking);
        list.SetMask(HistoryMask::Muting);
        EXPECT_EQ(list.SelectedMask(), digit >= 2 ? muting : blanking);
        list.SetMask(HistoryMask::Blanking);
        EXPECT_EQ(list.SelectedMask(), blanking);
        list.SetMask(HistoryMask::Muting);
    }
    ASSERT_TRUE(Open(10, 3)); // a new visit starts with blanking
    EXPECT_EQ(list.Mask(), HistoryMask::Blanking);
}

} // namespace
} // namespace lcdiag
