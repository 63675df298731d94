#include "core/session/SessionRecording.h"

#include <gtest/gtest.h>
#include <sstream>

namespace lcdiag {
namespace {

const SessionHeader Header{SessionFormatVersion, "v4.30.0001", 1'796'000'000'000, 4'000'000'000};

std::vector<SessionEvent> SampleEvents() {
    return {{SessionEventKind::PortOpened, 0, 0, {}},
            {SessionEventKind::BreakOn, 2, 0, {}},
            {SessionEventKind::BreakOff, 160, 0, {}},
            {SessionEventKind::ToDevice, 161, 0, {'S', 'T', 'A'}},
            {SessionEventKind::LineSpeed, 290, 57600, {}},
            {SessionEventKind::FromDevice, 300, 0, {0x00, 0xFF, 0x7E}},
            {SessionEventKind::PortClosed,
             9000,
             static_cast<std::uint32_t>(PortCloseReason::Disconnected),
             {}}};
}

std::vector<std::uint8_t> Written(const std::vector<SessionEvent>& events) {
    std::ostringstream out;
    SessionWriter writer(out, Header);
    for (const SessionEvent& event : events) {
        if (event.bytes.empty()) {
            writer.Mark(event.kind, event.timeMs, event.value);
        } else {
            writer.Bytes(event.kind, event.timeMs, event.bytes);
        }
    }
    const std::string text = out.str();
    return {text.begin(), text.end()};
}

TEST(SessionRecording, WhatTheWriterWritesReadsBackWholeAndAgreesWithTheEncoder) {
    const std::vector<std::uint8_t> file = Written(SampleEvents());
    EXPECT_EQ(file, EncodeSession(Header, SampleEvents()));
    const auto read = ReadSessionRecording(file);
    const auto& recording = std::get<SessionRecording>(read);
    EXPECT_EQ(recording.header, Header);
    EXPECT_EQ(recording.events, SampleEvents());
    EXPECT_EQ(recording.cut, "");
    EXPECT_EQ(recording.readableBytes, file.size());
}

TEST(SessionRecording, LongRunsAreSplitIntoEventsTheReaderAccepts) {
    const std::vector<std::uint8_t> run(70'000, 0x55);
    std::ostringstream out;
    SessionWriter(out, Header).Bytes(SessionEventKind::FromDevice, 5, run);
    const std::string text = out.str();
    const auto recording = std::get<SessionRecording>(
        ReadSessionRecording(std::vector<std::uint8_t>(text.begin(), text.end())));
    ASSERT_EQ(recording.events.size(), 2u);
    EXPECT_EQ(recording.events[0].bytes.size() + recording.events[1].bytes.size(), run.size());
}

// A recording cut anywhere keeps every event that ends before the cut and says where it ended.
TEST(SessionRecording, ACutAtAnyByteKeepsTheWholeEventsBeforeIt) {
    const std::vector<SessionEvent> events = SampleEvents();
    const std::vector<std::uint8_t> file = EncodeSession(Header, events);
    const std::size_t headerSize = EncodeSession(Header, {}).size();
    for (std::size_t length = 0; length < file.size(); ++length) {
        const std::span<const std::uint8_t> part(file.data(), length);
        const auto read = ReadSessionRecording(part);
        if (length < headerSize) {
            EXPECT_TRUE(std::holds_alternative<std::string>(read)) << length;
            continue;
        }
        const auto& recording = std::get<SessionRecording>(read);
        std::size_t whole = 0;
        while (whole < events.size() &&
               EncodeSession(Header, std::span(events).first(whole + 1)).size() <= length) {
            ++whole;
        }
        ASSERT_EQ(recording.events.size(), whole) << length;
        const bool atBoundary = recording.readableBytes == length;
        EXPECT_EQ(recording.cut.empty(), atBoundary) << length;
        if (!atBoundary) {
            EXPECT_EQ(recording.cut, "the recording ends at byte " +
                                         std::to_string(recording.readableBytes) + " of " +
                                         std::to_string(length) + ": cut within an event");
        }
    }
}

TEST(SessionRecording, FilesThatAreNoRecordingOrAnotherFormatAreRefusedInOneLine) {
    const std::vector<std::uint8_t> garbage{'P', 'K', 3, 4, 0, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(std::get<std::string>(ReadSessionRecording(garbage)),
              "not a session recording (it does not start with LCDREC)");
    EXPECT_EQ(std::get<std::string>(ReadSessionRecording({})),
              "not a session recording (it does not start with LCDREC)");
    SessionHeader future = Header;
    future.formatVersion = 2;
    EXPECT_EQ(std::get<std::string>(ReadSessionRecording(EncodeSession(future, {}))),
              "a session recording of format 2, which this program does not read (it reads "
              "format 1)");
}

TEST(SessionRecording, EventsThatCannotBeTrustedEndTheReadablePart) {
    struct Case {
        std::vector<std::uint8_t> tail;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {{9, 0, 0, 0, 0}, "an unknown event kind 9"},
        {{1, 10, 0, 0, 0, 0, 0}, "an event without bytes"},
        {{4, 0, 0, 0, 0}, "an event whose time goes back"}, // after the event at 10 ms
    };
    const SessionEvent first{SessionEventKind::BreakOn, 10, 0, {}};
    for (const Case& c : cases) {
        std::vector<std::uint8_t> file = EncodeSession(Header, std::span(&first, 1));
        const std::size_t at = file.size();
        file.insert(file.end(), c.tail.begin(), c.tail.end());
        const auto recording = std::get<SessionRecording>(ReadSessionRecording(file));
        EXPECT_EQ(recording.events.size(), 1u);
        EXPECT_EQ(recording.cut, "the recording ends at byte " + std::to_string(at) + " of " +
                                     std::to_string(file.size()) + ": " + c.reason);
    }
}

TEST(SessionRecording, TheOfferedNameHoldsTheSerialNumberAsFarAsItIsSafeInAFileName) {
    const std::string stamp = "20261207-143012";
    EXPECT_EQ(OfferedRecordingName("1234567890", stamp),
              "lcdiag-1234567890-20261207-143012.lcdrec");
    EXPECT_EQ(OfferedRecordingName(" ../A-1/\\x\xC3\xA9 ", stamp),
              "lcdiag-A-1x-20261207-143012.lcdrec");
    EXPECT_EQ(OfferedRecordingName("", stamp), "lcdiag-20261207-143012.lcdrec");
}

} // namespace
} // namespace lcdiag
