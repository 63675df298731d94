#pragma once

// Stand-ins for what surrounds the connection controller, in the core's terms only, so that
// the end-to-end tests, the benchmarks and the fuzz targets share them.
#include "core/app/Messages.h"
#include "core/device/PcClock.h"
#include "core/protocol/Clock.h"
#include "core/protocol/ConnectionController.h"
#include "core/views/ViewMode.h"

#include <algorithm>
#include <cstdint>
#include <deque>
#include <functional>
#include <span>
#include <string>
#include <vector>

namespace lcdiag::e2e {

// A port whose bytes are exactly what the caller puts into `incoming`.
class ScriptedPort final : public Port {
public:
    bool Connected() const override { return true; }
    PortKind Kind() const override { return PortKind::SerialPort; }
    void Open() override {}
    void Close() override {}
    void Write(std::span<const std::uint8_t> bytes) override {
        written.append(bytes.begin(), bytes.end());
    }
    void WriteStr(std::string_view text) override { written += text; }
    int Read(std::span<std::uint8_t> into) override {
        const auto count = std::min(into.size(), incoming.size());
        std::copy_n(incoming.begin(), count, into.begin());
        incoming.erase(incoming.begin(), incoming.begin() + static_cast<std::ptrdiff_t>(count));
        return static_cast<int>(count);
    }
    int InputCount() const override { return static_cast<int>(incoming.size()); }
    void SetBreak(bool) override {}
    void SetBaudRate(int) override {}

    std::deque<std::uint8_t> incoming;
    std::string written;
};

// Timers without time: every scheduled step runs at once.
class ImmediateTimers final : public ConnectionTimers {
public:
    void StartCyclicTimer() override {}
    void StopCyclicTimer() override {}
    void ArmResultReporter(int) override { reporterArmed = true; }
    void DisarmResultReporter() override { reporterArmed = false; }
    void RunAfter(int, std::function<void()> step) override { step(); }
    void Wait(int) override {}

    bool reporterArmed = false;
};

// A millisecond tick that moves only when the caller sets it.
class ManualClock final : public Clock {
public:
    std::uint32_t Now() const override { return now; }
    std::uint32_t now = 0;
};

// The main window as the dialogue sees it, recording what it is asked to do. Like the window
// it leaves the pages that show the unit's settings for the bar view when asked to.
class RecordingView final : public ConnectionView {
public:
    void RefreshInfo() override { ++infoRefreshes; }
    void Redraw() override { ++redraws; }
    void LeaveUnitSettings() override {
        if (viewMode == ViewMode::CustomerSettings || viewMode == ViewMode::BeamSelection) {
            viewMode = ViewMode::Bar;
        }
    }
    void ControllerTypeSwitched() override { ++typeSwitches; }
    void ShowIncompatibilityNotice(const std::string& minimumVersion) override {
        incompatibleVersions.push_back(minimumVersion);
    }
    void StartupPasswordStep() override { ++passwordSteps; }

    ViewMode viewMode = ViewMode::Bar;
    int infoRefreshes = 0;
    int redraws = 0;
    int typeSwitches = 0;
    int passwordSteps = 0;
    std::vector<std::string> incompatibleVersions;
};

// Records the outcomes the dialogue reports to the editors, and passes them on.
class RecordingListener final : public TransferListener {
public:
    struct Outcome {
        ResultCode code;
        MessageResult answer;
        bool operator==(const Outcome&) const = default;
    };

    explicit RecordingListener(TransferListener* next = nullptr) : next_(next) {}

    void LinkLost() override {
        ++linksLost;
        if (next_ != nullptr) {
            next_->LinkLost();
        }
    }
    void Reported(ResultCode code, MessageResult answer) override {
        reported.push_back({code, answer});
        if (next_ != nullptr) {
            next_->Reported(code, answer);
        }
    }

    int linksLost = 0;
    std::vector<Outcome> reported;

private:
    TransferListener* next_;
};

// A message box that records every message and answers with a scripted button.
class RecordingDialogs final : public MessageDialogs {
public:
    struct Shown {
        MessageKind kind;
        std::string text;
    };

    MessageResult Show(const DialogMessage& message) override {
        shown.push_back({message.kind, message.text});
        if (onShow) {
            onShow();
        }
        return answer;
    }

    std::vector<Shown> shown;
    MessageResult answer = MessageResult::Ok;
    std::function<void()> onShow; // runs while the message is open
};

// A fixed calendar time for the records the PC builds.
class FixedPcClock final : public PcClock {
public:
    CalendarTime Now() const override { return {2026, 12, 6, 9, 30, 15}; }
};

} // namespace lcdiag::e2e
