#pragma once

#include "core/app/Messages.h"
#include "core/protocol/ConnectionController.h"
#include "sim/ControllerConfig.h"
#include "sim/SimController.h"
#include "sim/SimulatedPort.h"
#include "sim/VirtualClock.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace lcdiag::e2e {

// The window's timers on the virtual clock: Timer1 every 25 ms, the one-shot reporter and
// the scheduled steps between sends.
class VirtualTimers final : public ConnectionTimers {
public:
    VirtualTimers(sim::VirtualClock& clock, sim::SimulatedPort& port)
        : clock_(clock), port_(port) {}

    void StartCyclicTimer() override;
    void StopCyclicTimer() override { cyclicRunning_ = false; }
    void ArmResultReporter(int milliseconds) override;
    void DisarmResultReporter() override { reporterArmed_ = false; }
    void RunAfter(int milliseconds, std::function<void()> step) override;
    void Wait(int milliseconds) override {
        port_.Advance(static_cast<std::uint32_t>(milliseconds));
    }

    // Fires whatever is due now on the controller.
    void FireDue(ConnectionController& controller);
    bool CyclicRunning() const { return cyclicRunning_; }

private:
    struct Step {
        std::uint32_t due;
        std::function<void()> run;
    };

    sim::VirtualClock& clock_;
    sim::SimulatedPort& port_;
    bool cyclicRunning_ = false;
    std::uint32_t nextTick_ = 0;
    bool reporterArmed_ = false;
    std::uint32_t reporterDue_ = 0;
    std::vector<Step> steps_;
};

// The main window as the dialogue sees it, recording what it is asked to do.
class RecordingView final : public ConnectionView {
public:
    void RefreshInfo() override { ++infoRefreshes; }
    void Redraw() override { ++redraws; }
    int ViewMode() const override { return viewMode; }
    void ChangeViewMode(int mode) override { viewMode = mode; }
    void ControllerTypeSwitched() override { ++typeSwitches; }
    void ShowIncompatibilityNotice(const std::string& minimumVersion) override {
        incompatibleVersions.push_back(minimumVersion);
    }
    void SaveSettingsReport(ControllerType unit) override { reportsSaved.push_back(unit); }
    void StartupPasswordStep() override { ++passwordSteps; }

    int viewMode = 1;
    int infoRefreshes = 0;
    int redraws = 0;
    int typeSwitches = 0;
    int passwordSteps = 0;
    std::vector<std::string> incompatibleVersions;
    std::vector<ControllerType> reportsSaved;
};

// A message box that records every message and answers with a scripted button.
class RecordingDialogs final : public MessageDialogs {
public:
    struct Shown {
        MessageKind kind;
        std::string text;
    };

    MessageResult Show(MessageKind kind, MessageButtons, const std::string& text) override {
        shown.push_back({kind, text});
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

// The program's dialogue against a simulated controller on a simulated port, all on one
// virtual clock that only the test moves.
class World {
public:
    explicit World(const sim::ControllerConfig& config, PortKind kind = PortKind::SerialPort);
    ~World();

    // Opens the port as the program does at start-up, with Timer1 running.
    void Open();
    // Moves time on, millisecond by millisecond: the line, then every timer that is due.
    void Run(std::uint32_t ms);
    // Runs until the condition holds or the time is up; returns whether it held.
    bool RunUntil(const std::function<bool()>& condition, std::uint32_t timeout = 5000);
    // The texts of the messages shown so far.
    std::vector<std::string> Messages() const;

    sim::VirtualClock clock;
    std::unique_ptr<sim::SimController> device;
    sim::SimulatedPort port;
    VirtualTimers timers;
    RecordingView view;
    RecordingDialogs dialogs;
    FixedPcClock pcClock;
    ConnectionController controller;
};

} // namespace lcdiag::e2e
