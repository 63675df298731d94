#include "core/protocol/FrameSelection.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace lcdiag {
namespace {

class FrameSelectionTest : public ::testing::Test {
protected:
    void Expect(std::initializer_list<int> ids) {
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

TEST_F(FrameSelectionTest, FirmwareWithTypeWaitsForItsDataWhileTheShorterPrefixIsComplete) {
    Expect({8, 9});
    // Three of the four data bytes of keyword 8: only keyword 9's frame is complete.
    auto frame = Select("junkFirmware_Master_Slave_Typ_212");
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->id, 9);
    EXPECT_EQ(frame->position, 4);
    EXPECT_EQ(frame->length, 24);
    EXPECT_EQ(buffer[static_cast<std::size_t>(frame->position + 21)], '_'); // its handler's cue

    frame = Select("junkFirmware_Master_Slave_Typ_2123");
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->id, 8);
    EXPECT_EQ(frame->length, 30);
}

TEST_F(FrameSelectionTest, BreakSeenWaitsForTheHandshakeByteOfTheLongerKeyword) {
    Expect({11, 12});
    auto frame = Select("ZENO_4_start_erkannt_warten_auf_Konfigurationsdaten");
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->id, 12); // 11's handshake byte has not arrived
    frame = Select("ZENO_4_start_erkannt_warten_auf_Konfigurationsdaten\x5A");
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->id, 11);
}

TEST_F(FrameSelectionTest, SmallestPositionWinsAndTheEarlierListEntryOnTies) {
    Expect({13, 12});
    auto frame = Select("..ZENO_4_Auslieferzustand ZENO_4_start_erkannt");
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->id, 13);

    expected.Reset();
    Expect({9, 8}); // both complete at the same position: 9 was added first
    frame = Select("Firmware_Master_Slave_Typ_1123");
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->id, 9);
}

TEST_F(FrameSelectionTest, FrameLengthFollowsTheLayout) {
    Expect({0});
    const std::string frame35 = "ZENO4_E" + std::string(35, '\0');
    EXPECT_FALSE(Select(frame35, Layout::Long));
    auto frame = Select(frame35, Layout::Short);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->length, 42);
    EXPECT_TRUE(Select(frame35 + std::string(6, '\0'), Layout::Long));
}

TEST_F(FrameSelectionTest, UnexpectedKeywordsAndEmptyListsSelectNothing) {
    EXPECT_FALSE(Select("ZENO4_S_MC_Ident_Programmiertool"));
    Expect({5, 6});
    EXPECT_FALSE(Select("ZENO4_S_MC_Ident_Programmiertool"));
    EXPECT_FALSE(Select(""));
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
    std::string full(4096 - 41 - 7, 'x');
    full += "ZENO4_E" + std::string(41, '1');
    const auto frame = Select(full);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->position + frame->length, 4096);
}

} // namespace
} // namespace lcdiag
