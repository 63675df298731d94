#include "core/session/ReplayPort.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <utility>

namespace lcdiag {

namespace {

constexpr double MinSpeed = 0.25;
constexpr double MaxSpeed = 64;

PortKind RecordedKind(const SessionRecording& recording) {
    for (const SessionEvent& event : recording.events) {
        if (event.kind == SessionEventKind::PortOpened) {
            return event.value == 1 ? PortKind::UsbAdapter : PortKind::SerialPort;
        }
    }
    return PortKind::SerialPort;
}

} // namespace

ReplayPort::ReplayPort(SessionRecording recording, const Clock& tick)
    : recording_(std::move(recording)), tick_(tick), kind_(RecordedKind(recording_)),
      lineClock_(tick.Now()), lastTick_(tick.Now()) {}

std::uint32_t ReplayPort::LengthMs() const {
    return recording_.events.empty() ? 0 : recording_.events.back().timeMs;
}

void ReplayPort::Advance() {
    const std::uint32_t now = tick_.Now();
    const std::uint32_t elapsed = Elapsed(lastTick_, now);
    lastTick_ = now;
    if (paused_) {
        return;
    }
    const double line = elapsed * speed_ + carriedMs_;
    const auto whole = static_cast<std::uint32_t>(line);
    carriedMs_ = line - whole;
    lineClock_.Advance(whole);
    if (transmitting_) {
        transmitting_ = false;
        if (events_ != nullptr) {
            events_->ComPortTxEmpty();
        }
    }
    if (!open_) {
        return;
    }
    position_ = std::min(position_ + whole, std::max(LengthMs(), position_));
    while (open_ && next_ < recording_.events.size() &&
           recording_.events[next_].timeMs <= position_) {
        Deliver(recording_.events[next_++]);
    }
}

void ReplayPort::Deliver(const SessionEvent& event) {
    if (event.kind == SessionEventKind::FromDevice) {
        input_.insert(input_.end(), event.bytes.begin(), event.bytes.end());
        if (events_ != nullptr) {
            events_->ComPortRxChar(static_cast<int>(event.bytes.size()));
        }
        return;
    }
    if (event.kind != SessionEventKind::PortClosed ||
        event.value == static_cast<std::uint32_t>(PortCloseReason::ByProgram)) {
        return; // the program's own actions are compared, not delivered
    }
    open_ = false;
    input_.clear();
    if (events_ == nullptr) {
        return;
    }
    if (event.value == static_cast<std::uint32_t>(PortCloseReason::BySelf)) {
        events_->ComPortEvent2();
    } else {
        events_->ComPortDisconnect();
    }
}

void ReplayPort::Pause(bool paused) {
    lastTick_ = tick_.Now();
    paused_ = paused;
}

void ReplayPort::SetSpeed(double speed) {
    speed_ = std::clamp(speed, MinSpeed, MaxSpeed);
}

void ReplayPort::Restart() {
    Close();
    position_ = 0;
    next_ = 0;
    expected_ = 0;
    expectedByte_ = 0;
    diverged_ = false;
    divergence_.reset();
}

std::optional<std::string> ReplayPort::TakeDivergence() {
    return std::exchange(divergence_, std::nullopt);
}

// Opening continues at the recording's next opening, wherever the time stood.
void ReplayPort::Open() {
    if (open_) {
        return;
    }
    open_ = true;
    if (next_ < recording_.events.size() &&
        recording_.events[next_].kind == SessionEventKind::PortOpened) {
        position_ = recording_.events[next_].timeMs;
        ++next_;
    }
    lastTick_ = tick_.Now();
    if (events_ != nullptr) {
        events_->ComPortAfterOpen();
    }
}

void ReplayPort::Close() {
    if (!open_) {
        return;
    }
    if (events_ != nullptr) {
        events_->ComPortBeforeClose();
    }
    open_ = false;
    input_.clear();
    transmitting_ = false;
}

void ReplayPort::Write(std::span<const std::uint8_t> bytes) {
    if (!open_) {
        return;
    }
    for (const std::uint8_t byte : bytes) {
        Expect({SessionEventKind::ToDevice, 0, byte});
    }
    transmitting_ = !bytes.empty();
}

void ReplayPort::WriteStr(std::string_view text) {
    Write({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

int ReplayPort::Read(std::span<std::uint8_t> into) {
    const std::size_t count = std::min(into.size(), input_.size());
    std::copy_n(input_.begin(), count, into.begin());
    input_.erase(input_.begin(), input_.begin() + static_cast<std::ptrdiff_t>(count));
    return static_cast<int>(count);
}

void ReplayPort::SetBreak(bool on) {
    if (open_) {
        Expect({on ? SessionEventKind::BreakOn : SessionEventKind::BreakOff});
    }
}

void ReplayPort::SetBaudRate(int bitsPerSecond) {
    if (open_) {
        Expect({SessionEventKind::LineSpeed, static_cast<std::uint32_t>(bitsPerSecond)});
    }
}

bool ReplayPort::IsProgramAction(const SessionEvent& event) const {
    return (event.kind == SessionEventKind::ToDevice && !event.bytes.empty()) ||
           event.kind == SessionEventKind::BreakOn || event.kind == SessionEventKind::BreakOff ||
           event.kind == SessionEventKind::LineSpeed;
}

// Holds what the program did against the recording's next action of the program; the first
// difference is kept, and the comparison ends there (after it, every action would differ).
void ReplayPort::Expect(const Action& done) {
    if (diverged_) {
        return;
    }
    while (expected_ < recording_.events.size() && !IsProgramAction(recording_.events[expected_])) {
        ++expected_;
    }
    std::optional<Action> recorded;
    if (expected_ < recording_.events.size()) {
        const SessionEvent& event = recording_.events[expected_];
        recorded = Action{event.kind, event.value,
                          event.kind == SessionEventKind::ToDevice ? event.bytes[expectedByte_]
                                                                   : std::uint8_t{0}};
    }
    const bool same = recorded && recorded->kind == done.kind && recorded->value == done.value &&
                      recorded->byte == done.byte;
    if (!same) {
        diverged_ = true;
        char at[32];
        std::snprintf(at, sizeof at, "%.1f s", position_ / 1000.0);
        divergence_ = "At " + std::string(at) + " of the recording the program " + Describe(done) +
                      " where the recording has " +
                      (recorded ? Describe(*recorded) : std::string("nothing more")) +
                      ". The replay goes on.";
        return;
    }
    if (done.kind == SessionEventKind::ToDevice &&
        ++expectedByte_ < recording_.events[expected_].bytes.size()) {
        return;
    }
    expectedByte_ = 0;
    ++expected_;
}

std::string ReplayPort::Describe(const Action& action) {
    char text[48];
    switch (action.kind) {
    case SessionEventKind::ToDevice:
        std::snprintf(text, sizeof text, "wrote byte %02X", action.byte);
        return text;
    case SessionEventKind::BreakOn:
        return "set a break";
    case SessionEventKind::BreakOff:
        return "cleared the break";
    case SessionEventKind::LineSpeed:
        std::snprintf(text, sizeof text, "set the line to %u bit/s", action.value);
        return text;
    default:
        return std::string(SessionEventName(action.kind));
    }
}

} // namespace lcdiag
