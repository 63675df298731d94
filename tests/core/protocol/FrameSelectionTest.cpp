#include "core/protocol/FrameSelection.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace lcdiag {
namespace {

class FrameSelectionTest : public ::testing::Test {
protected:
    void Expect(const std::vector<int>& ids) {
        expected.Reset();
        for (int id : ids) {
            expected.Add(id);
        }
    }
    std::optional<SelectedFrame> Select(const std::string& bytes, Layout layout = Layout::Long) {
        buffer.assign(bytes.begin(), bytes.end());
        return SelectFrame(table, expected, buffer, layout);
    }

    KeywordTable table;
    ExpectedKeywordList expected;
    std::vector<std::uint8_t> buffer;
};

TEST_F(FrameSelectionTest, PicksTheFirstCompleteExpectedFrame) {
    const std::string cyclePart = "ZENO4_E" + std::string(35, '\0');
    struct Row {
        std::vector<int> expected;
        std::string bytes;
        Layout layout;
        int id; // -1: nothing selected
        int position;
    };
    const Row rows[] = {
        // Keyword 8 waits for its fourth data byte while its prefix, keyword 9, is complete.
        {{8, 9}, "junkFirmware_Master_Slave_Typ_212", Layout::Long, 9, 4},
        {{8, 9}, "junkFirmware_Master_Slave_Typ_2123", Layout::Long, 8, 4},
        // Keyword 11 waits for its handshake byte.
        {{11, 12}, "ZENO_4_start_erkannt_warten_auf_Konfigurationsdaten", Layout::Long, 12, 0},
        {{11, 12}, "ZENO_4_start_erkannt_warten_auf_Konfigurationsdaten\x5A", Layout::Long, 11, 0},
        // The smallest position wins, on a tie the earlier list entry.
        {{13, 12}, "..ZENO_4_Auslieferzustand ZENO_4_start_erkannt", Layout::Long, 13, 2},
        {{9, 8}, "Firmware_Master_Slave_Typ_1123", Layout::Long, 9, 0},
        // The frame length follows the layout.
        {{0}, cyclePart, Layout::Long, -1, 0},
        {{0}, cyclePart, Layout::Short, 0, 0},
        {{0}, cyclePart + std::string(6, '\0'), Layout::Long, 0, 0},
        // Unexpected keywords and empty lists select nothing.
        {{}, "ZENO4_S_MC_Ident_Programmiertool", Layout::Long, -1, 0},
        {{5, 6}, "ZENO4_S_MC_Ident_Programmiertool", Layout::Long, -1, 0},
        {{5, 6}, "", Layout::Long, -1, 0},
    };
    for (const Row& row : rows) {
        Expect(row.expected);
        const auto frame = Select(row.bytes, row.layout);
        SCOPED_TRACE(row.bytes);
        ASSERT_EQ(frame.has_value(), row.id >= 0);
        if (frame) {
            EXPECT_EQ(frame->id, row.id);
            EXPECT_EQ(frame->position, row.position);
            EXPECT_EQ(frame->length, table.FrameLength(row.id, row.layout));
        }
    }
}

// Whatever the buffer holds and wherever a frame is cut, a selected frame lies inside the
// buffer; a frame is selected exactly when all of it has arrived.
TEST_F(FrameSelectionTest, FramesCutAtEveryPositionAreNeverHandedOn) {
    Expect({1, 3, 0, 16, 8, 9, 11, 12, 22, 30});
    for (int id : {0, 1, 3, 8, 16, 22, 30}) {
        for (Layout layout : {Layout::Short, Layout::Long}) {
            const int length = table.FrameLength(id, layout);
            std::string frame(table.Text(id));
            frame.resize(static_cast<std::size_t>(length), '7');
            for (int cut = 0; cut <= length; ++cut) {
                const auto selected =
                    Select(frame.substr(0, static_cast<std::size_t>(cut)), layout);
                if (cut < length) {
                    EXPECT_TRUE(!selected || selected->id != id) << id << " cut at " << cut;
                }
                if (selected) {
                    EXPECT_LE(selected->position + selected->length, cut);
                }
            }
            const auto whole = Select(frame, layout);
            ASSERT_TRUE(whole);
            EXPECT_EQ(whole->id, id);
        }
    }
}

TEST_F(FrameSelectionTest, BuffersOfEverySizeStayInBounds) {
    Expect({0, 1, 3, 5, 6, 8, 9, 16, 24, 25});
    for (std::size_t size : {0U, 1U, 4095U, 4096U}) {
        std::string bytes(size, '\xFF');
        EXPECT_FALSE(Select(bytes));
        if (size >= 7) {
            bytes.replace(size - 7, 7, "ZENO4_E"); // a keyword at the very end, no data
            EXPECT_FALSE(Select(bytes));
        }
    }
    const std::string full = std::string(4096 - 41 - 7, 'x') + "ZENO4_E" + std::string(41, '1');
    const auto frame = Select(full);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->position + frame->length, 4096);
}

} // namespace
} // namespace lcdiag
