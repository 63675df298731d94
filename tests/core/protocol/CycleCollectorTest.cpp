#include "core/protocol/CycleCollector.h"

#include <gtest/gtest.h>
#include <string>

namespace lcdiag {
namespace {

class CycleCollectorTest : public ::testing::Test {
protected:
    // A cycle part frame whose data byte 1 is the part digit and byte 2 tells frames apart.
    std::string Part(char digit, char tag = 'x', Layout layout = Layout::Long) const {
        std::string data(static_cast<std::size_t>(table.DataLength(0, layout)), '.');
        data[1] = digit;
        data[2] = tag;
        return std::string(table.Text(0)) + data;
    }
    std::string EmitterFrame(char tag, Layout layout = Layout::Long) const {
        std::string data(static_cast<std::size_t>(table.DataLength(30, layout)), '.');
        data[0] = tag;
        return std::string(table.Text(30)) + data;
    }
    void Fill(const std::string& bytes) {
        buffer.Assign(std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    }
    std::string Content() const { return {buffer.Bytes().begin(), buffer.Bytes().end()}; }
    static std::string Tags(const std::vector<FrameData>& parts) {
        std::string tags;
        for (const FrameData& part : parts) {
            tags += static_cast<char>(part[2]);
        }
        return tags;
    }

    KeywordTable table;
    ReceiveBuffer buffer;
};

// A broken triple is forgotten, a stray part digit drops one byte and the search moves on;
// once no more than three frame lengths are left the rest waits for more bytes.
TEST_F(CycleCollectorTest, TakesWholeTriplesAndLeavesTheRestWaiting) {
    const Layout s = Layout::Short;
    const std::string next = Part('1', 'f') + Part('2', 'g') + Part('3', 'h') + "x";
    const std::string unfinished = Part('1', 'd') + Part('2', 'e') + "tail";
    const std::string cut = std::string(400, '#') + Part('1').substr(0, 20);
    const std::string waiting =
        Part('1', 'a') + Part('2', 'b') + Part('3', 'c') + std::string(49, '-');
    struct Row {
        std::string bytes;
        Layout layout;
        std::string tags;
        std::optional<std::string> rest;
    };
    const Row rows[] = {
        {Part('1', 'a') + Part('2', 'b') + Part('1', 'c') + Part('2', 'd') + Part('3', 'e') + next,
         Layout::Long, "cde", next},
        {"??" + Part('1', 'a') + "??" + Part('2', 'b') + Part('3', 'c') + unfinished, Layout::Long,
         "abc", unfinished},
        {Part('3', 'z') + Part('1', 'a') + Part('2', 'b') + Part('3', 'c') + unfinished,
         Layout::Long, "abc", unfinished},
        {cut, Layout::Long, "", cut},
        {waiting, Layout::Long, "", waiting}, // part 3 is taken with more than 3 frames left
        {Part('1', 'a', s) + Part('2', 'b', s) + Part('3', 'c', s) + Part('1', 'd', s) +
             Part('2', 'e', s) + Part('3', 'f', s) + "x",
         s, "abc", std::nullopt},
    };
    for (const Row& row : rows) {
        Fill(row.bytes);
        const auto parts = TakeCycleTriples(buffer, table, row.layout);
        EXPECT_EQ(Tags(parts), row.tags);
        for (const FrameData& part : parts) {
            EXPECT_EQ(part.size(), static_cast<std::size_t>(table.DataLength(0, row.layout)));
        }
        if (row.rest) {
            EXPECT_EQ(Content(), *row.rest) << row.tags;
        }
    }
}

// A frame is only taken once the next byte shows it complete; a full buffer of frames is
// handed on whole, more than the thirty slots an older collector had.
TEST_F(CycleCollectorTest, EmitterFramesWaitForTheNextByteAndNeverOverflow) {
    Fill(EmitterFrame('a'));
    EXPECT_TRUE(TakeEmitterRecords(buffer, table, Layout::Long).empty());
    std::string bytes = "garbage";
    for (int i = 0; bytes.size() + 91 < ReceiveBuffer::Capacity; ++i) {
        bytes += EmitterFrame(static_cast<char>('A' + i % 26));
    }
    Fill(bytes + "!");
    const auto records = TakeEmitterRecords(buffer, table, Layout::Long);
    ASSERT_EQ(records.size(), (bytes.size() - 7) / 91);
    EXPECT_EQ(records[0][0], 'A');
    EXPECT_EQ(records[27][0], 'B');
    EXPECT_EQ(Content(), "!");
}

TEST(ReceiveBuffer, KeepsTheLastBytesWhenItWouldFill) {
    ReceiveBuffer buffer;
    std::vector<std::uint8_t> chunk(1024);
    for (int round = 0; round < 3; ++round) {
        std::fill(chunk.begin(), chunk.end(), static_cast<std::uint8_t>(round));
        buffer.Append(chunk);
    }
    EXPECT_EQ(buffer.Count(), 3072);
    std::fill(chunk.begin(), chunk.end(), 3);
    buffer.Append(chunk); // reaches 4096: the last 3072 are kept, which is all of them
    EXPECT_EQ(buffer.Count(), 4096);
    buffer.Append(std::vector<std::uint8_t>(2000, 4)); // at most 1024 per event
    EXPECT_EQ(buffer.Count(), 3072 + 1024);
    EXPECT_EQ(buffer.Bytes().front(), 1); // the oldest 1024 bytes were dropped
    EXPECT_EQ(buffer.Bytes().back(), 4);
    buffer.Consume(5000);
    EXPECT_EQ(buffer.Count(), 0);
}

} // namespace
} // namespace lcdiag
