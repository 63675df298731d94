#include "core/session/RecordingTap.h"
#include "core/session/ReplayPort.h"

#include <gtest/gtest.h>
#include <sstream>

namespace lcdiag {
namespace {

class ManualClock final : public Clock {
public:
    std::uint32_t Now() const override { return now; }
    std::uint32_t now = 1000;
};

class NotedEvents : public PortEvents {
public:
    void ComPortAfterOpen() override { log.push_back("open"); }
    void ComPortBeforeClose() override { log.push_back("before close"); }
    void ComPortRxChar(int count) override { log.push_back("rx " + std::to_string(count)); }
    void ComPortTxEmpty() override { log.push_back("tx empty"); }
    void ComPortEvent2() override { log.push_back("closed by itself"); }
    void ComPortDisconnect() override { log.push_back("disconnect"); }

    std::vector<std::string> log;
};

// A device that answers every write with the same bytes backwards, at once.
class MirrorPort final : public Port {
public:
    bool Connected() const override { return open; }
    PortKind Kind() const override { return PortKind::SerialPort; }
    void Open() override { open = true; }
    void Close() override { open = false; }
    void Write(std::span<const std::uint8_t> bytes) override {
        input.insert(input.end(), bytes.rbegin(), bytes.rend());
    }
    void WriteStr(std::string_view text) override {
        Write({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
    }
    int Read(std::span<std::uint8_t> into) override {
        const std::size_t count = std::min(into.size(), input.size());
        std::copy_n(input.begin(), count, into.begin());
        input.erase(input.begin(), input.begin() + static_cast<std::ptrdiff_t>(count));
        return static_cast<int>(count);
    }
    int InputCount() const override { return static_cast<int>(input.size()); }
    void SetBreak(bool) override {}
    void SetBaudRate(int) override {}

    bool open = false;
    std::vector<std::uint8_t> input;
};

SessionRecording ReadBack(const std::string& file) {
    return std::get<SessionRecording>(
        ReadSessionRecording(std::vector<std::uint8_t>(file.begin(), file.end())));
}

SessionEvent At(std::uint32_t time, SessionEventKind kind, std::vector<std::uint8_t> bytes = {},
                std::uint32_t value = 0) {
    return {kind, time, value, std::move(bytes)};
}

// The opening is written when the port reports it, before whatever the dialogue does about it.
TEST(RecordingTap, WritesTheOpeningBeforeTheDialoguesAnswerToIt) {
    ManualClock clock;
    MirrorPort device;
    RecordingTap tap(device, clock);
    class BreakAtOpen final : public NotedEvents {
    public:
        explicit BreakAtOpen(Port& port) : port_(port) {}
        void ComPortAfterOpen() override { port_.SetBreak(true); }

    private:
        Port& port_;
    } dialogue(tap);
    tap.SetListener(&dialogue);
    std::ostringstream out;
    tap.Start(out, {SessionFormatVersion, "v1", 0, 0});
    tap.Open();
    tap.ComPortAfterOpen(); // as the port reports its opening
    EXPECT_EQ(ReadBack(out.str()).events,
              (std::vector<SessionEvent>{At(0, SessionEventKind::PortOpened),
                                         At(0, SessionEventKind::BreakOn)}));
}

TEST(RecordingTap, WritesDownWhatPassesWithTheLineTimeAndStartsFromTheLineState) {
    ManualClock clock;
    MirrorPort device;
    RecordingTap tap(device, clock);
    tap.Open();
    tap.SetBaudRate(57600);
    tap.SetBreak(true);
    tap.WriteStr("unrecorded");
    std::vector<std::uint8_t> scratch(32);
    tap.Read(scratch);

    std::ostringstream out;
    clock.now = 5000;
    tap.Start(out, {SessionFormatVersion, "v1", 0, 0});
    clock.now = 5040;
    tap.SetBreak(false);
    tap.WriteStr("AB");
    clock.now = 5050;
    std::uint8_t one = 0;
    tap.Read({&one, 1});
    tap.Read(scratch);
    tap.Read(scratch); // nothing left: no event
    tap.ComPortDisconnect();
    tap.Stop();
    tap.WriteStr("after");

    const std::vector<SessionEvent> expected = {
        At(0, SessionEventKind::PortOpened),
        At(0, SessionEventKind::LineSpeed, {}, 57600),
        At(0, SessionEventKind::BreakOn),
        At(40, SessionEventKind::BreakOff),
        At(40, SessionEventKind::ToDevice, {'A', 'B'}),
        At(50, SessionEventKind::FromDevice, {'B'}),
        At(50, SessionEventKind::FromDevice, {'A'}),
        At(50, SessionEventKind::PortClosed, {},
           static_cast<std::uint32_t>(PortCloseReason::Disconnected)),
    };
    EXPECT_EQ(ReadBack(out.str()).events, expected);
    EXPECT_EQ(ReadBack(out.str()).header.startLineClock, 5000u);
}

class Replay : public ::testing::Test {
protected:
    void Load(std::vector<SessionEvent> events) {
        port = std::make_unique<ReplayPort>(
            SessionRecording{{SessionFormatVersion, "v1", 0, 7000}, std::move(events), {}, 0},
            tick);
        port->SetListener(&events_);
    }
    void Pass(std::uint32_t ms) {
        for (std::uint32_t i = 0; i < ms; ++i) {
            ++tick.now;
            port->Advance();
        }
    }
    std::string Received() {
        std::vector<std::uint8_t> into(64);
        const int count = port->Read(into);
        return std::string(into.begin(), into.begin() + count);
    }

    ManualClock tick;
    NotedEvents events_;
    std::unique_ptr<ReplayPort> port;
};

TEST_F(Replay, TheDevicesBytesArriveAtTheirTimesCountedFromTheOpening) {
    Load({At(200, SessionEventKind::PortOpened), At(230, SessionEventKind::FromDevice, {'x'}),
          At(250, SessionEventKind::FromDevice, {'y', 'z'})});
    Pass(500); // closed: the recording's time stands still, the line clock does not
    EXPECT_EQ(port->LineClock().Now(), 1500u);
    EXPECT_TRUE(events_.log.empty());
    port->Open();
    Pass(29);
    EXPECT_EQ(port->InputCount(), 0);
    Pass(1);
    EXPECT_EQ(Received(), "x");
    EXPECT_EQ(port->RecordedLineClock(), 7230u); // the recorded program's clock then
    port->SetSpeed(4);
    Pass(5);
    EXPECT_EQ(Received(), "yz");
    EXPECT_TRUE(port->Ended());
    EXPECT_EQ(events_.log, (std::vector<std::string>{"open", "rx 1", "rx 2"}));
}

TEST_F(Replay, PausedTheLineClockAndTheRecordingStandStill) {
    Load({At(0, SessionEventKind::PortOpened), At(100, SessionEventKind::FromDevice, {'x'})});
    port->Open();
    Pass(50);
    port->Pause(true);
    Pass(1000);
    EXPECT_EQ(port->LineClock().Now(), 1050u);
    EXPECT_EQ(port->PositionMs(), 50u);
    port->Pause(false);
    Pass(50);
    EXPECT_EQ(Received(), "x");
}

TEST_F(Replay, APortThatVanishedOrClosedItselfDoesSoAgain) {
    for (const auto reason : {PortCloseReason::Disconnected, PortCloseReason::BySelf}) {
        events_.log.clear();
        Load({At(0, SessionEventKind::PortOpened), At(10, SessionEventKind::FromDevice, {'x'}),
              At(20, SessionEventKind::PortClosed, {}, static_cast<std::uint32_t>(reason))});
        port->Open();
        Pass(20);
        EXPECT_FALSE(port->Connected());
        EXPECT_EQ(port->InputCount(), 0);
        EXPECT_EQ(events_.log.back(),
                  reason == PortCloseReason::Disconnected ? "disconnect" : "closed by itself");
    }
}

TEST_F(Replay, TheFirstDivergenceFromTheRecordedWritesIsReportedOnce) {
    Load({At(0, SessionEventKind::PortOpened), At(5, SessionEventKind::BreakOn),
          At(150, SessionEventKind::BreakOff), At(151, SessionEventKind::ToDevice, {'A', 'B'}),
          At(300, SessionEventKind::LineSpeed, {}, 57600)});
    port->Open();
    port->SetBreak(true);
    port->SetBreak(false);
    port->WriteStr("A");
    port->WriteStr("B");
    port->SetBaudRate(57600);
    EXPECT_EQ(port->TakeDivergence(), std::nullopt);
    Pass(400);
    port->WriteStr("Q");
    EXPECT_EQ(port->TakeDivergence(), "At 0.3 s of the recording the program wrote byte 51 "
                                      "where the recording has nothing more. The replay goes on.");
    port->WriteStr("R");
    EXPECT_EQ(port->TakeDivergence(), std::nullopt);

    port->Restart();
    port->Open();
    port->SetBreak(false);
    EXPECT_EQ(port->TakeDivergence(), "At 0.0 s of the recording the program cleared the break "
                                      "where the recording has set a break. The replay goes on.");
}

TEST_F(Replay, WrittenBytesReportTransmitEmptyOnTheNextStep) {
    Load({At(0, SessionEventKind::PortOpened), At(1, SessionEventKind::ToDevice, {'A'})});
    port->Open();
    port->WriteStr("A");
    Pass(1);
    EXPECT_EQ(events_.log, (std::vector<std::string>{"open", "tx empty"}));
}

} // namespace
} // namespace lcdiag
