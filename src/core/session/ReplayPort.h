#pragma once

#include "core/protocol/Clock.h"
#include "core/protocol/Port.h"
#include "core/session/SessionRecording.h"

#include <deque>
#include <optional>
#include <string>

namespace lcdiag {

// A port that plays a session recording back as the device: the bytes the device sent arrive
// at their recorded times (or `speed` times sooner), a port that closed by itself or vanished
// does so again, and what the program writes, the breaks and line speeds it sets, are compared
// with what the recording holds. The first divergence is kept for the window to show once; the
// replay goes on regardless.
//
// Its line clock starts at the program's tick and moves `speed` milliseconds per millisecond
// of the tick while the replay runs; the connection dialogue must use it while the replay is
// the port in use. The recording's time stands still while the port is closed: opening it
// continues at the recording's next opening.
class ReplayPort final : public Port {
public:
    // The port is of the kind the recording's first opening names.
    ReplayPort(SessionRecording recording, const Clock& tick);

    void SetListener(PortEvents* events) { events_ = events; }
    const Clock& LineClock() const { return lineClock_; }

    // Moves the replay on to the program's tick: delivers every event that is due.
    void Advance();
    void Pause(bool paused);
    bool Paused() const { return paused_; }
    // 0.25 to 64 times the recorded pace.
    void SetSpeed(double speed);
    double Speed() const { return speed_; }
    // Back to the beginning: the port closes (the program opens it again), the comparison
    // starts afresh.
    void Restart();

    std::uint32_t PositionMs() const { return position_; }
    // The line clock of the recorded program at the position reached: the time the pictures
    // showed then (the emitter's LEDs blink with it), where the replay's own line clock only
    // keeps the dialogue's time going forward.
    std::uint32_t RecordedLineClock() const { return recording_.header.startLineClock + position_; }
    std::uint32_t LengthMs() const;
    bool Ended() const { return next_ == recording_.events.size(); }
    const std::string& Cut() const { return recording_.cut; }
    // The first divergence of the program from the recording, handed out once.
    std::optional<std::string> TakeDivergence();

    bool Connected() const override { return open_; }
    PortKind Kind() const override { return kind_; }
    void Open() override;
    void Close() override;
    void Write(std::span<const std::uint8_t> bytes) override;
    void WriteStr(std::string_view text) override;
    int Read(std::span<std::uint8_t> into) override;
    int InputCount() const override { return static_cast<int>(input_.size()); }
    void SetBreak(bool on) override;
    void SetBaudRate(int bitsPerSecond) override;

private:
    class LineClockOf final : public Clock {
    public:
        explicit LineClockOf(std::uint32_t start) : now_(start) {}
        std::uint32_t Now() const override { return now_; }
        void Advance(std::uint32_t ms) { now_ += ms; }

    private:
        std::uint32_t now_;
    };

    // Something the program did on the line, to compare with the recording.
    struct Action {
        SessionEventKind kind;
        std::uint32_t value = 0;
        std::uint8_t byte = 0;
    };

    void Deliver(const SessionEvent& event);
    void Expect(const Action& done);
    bool IsProgramAction(const SessionEvent& event) const;
    static std::string Describe(const Action& action);

    SessionRecording recording_;
    const Clock& tick_;
    const PortKind kind_;
    LineClockOf lineClock_;
    PortEvents* events_ = nullptr;
    std::uint32_t lastTick_;
    double speed_ = 1.0;
    double carriedMs_ = 0; // the part of a millisecond the last advance left
    bool paused_ = false;
    bool open_ = false;
    bool transmitting_ = false; // written bytes whose transmit-empty is still due

    std::uint32_t position_ = 0; // the recording's time reached
    std::size_t next_ = 0;       // the next event to deliver
    std::deque<std::uint8_t> input_;

    std::size_t expected_ = 0;     // the next recorded event the program's actions are held to
    std::size_t expectedByte_ = 0; // within a ToDevice event
    std::optional<std::string> divergence_;
    bool diverged_ = false;
};

} // namespace lcdiag
