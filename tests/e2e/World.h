#pragma once

#include "ConnectionDoubles.h"
#include "core/app/Texts.h"
#include "core/editors/SaveConfirmation.h"
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

// The window's timers on a clock the test moves: Timer1 every 25 ms, the one-shot reporter
// and the scheduled steps between sends. A wait moves the line on as the test does.
class VirtualTimers final : public ConnectionTimers {
public:
    VirtualTimers(const Clock& clock, std::function<void(std::uint32_t ms)> wait)
        : clock_(clock), wait_(std::move(wait)) {}

    void StartCyclicTimer() override;
    void StopCyclicTimer() override { cyclicRunning_ = false; }
    void ArmResultReporter(int milliseconds) override;
    void DisarmResultReporter() override { reporterArmed_ = false; }
    void RunAfter(int milliseconds, std::function<void()> step) override;
    void Wait(int milliseconds) override { wait_(static_cast<std::uint32_t>(milliseconds)); }

    // Fires whatever is due now: the scheduled steps, the reporter, the cyclic tick.
    void FireDue(const std::function<void()>& timer1, const std::function<void()>& timer2);
    bool CyclicRunning() const { return cyclicRunning_; }

private:
    struct Step {
        std::uint32_t due;
        std::function<void()> run;
    };

    const Clock& clock_;
    std::function<void(std::uint32_t ms)> wait_;
    bool cyclicRunning_ = false;
    std::uint32_t nextTick_ = 0;
    bool reporterArmed_ = false;
    std::uint32_t reporterDue_ = 0;
    std::vector<Step> steps_;
};

// The program's dialogue against a simulated controller on a simulated port, with the
// settings pages' confirmation, all on one virtual clock that only the test moves. Worlds
// share nothing: each has its own texts and dialogs.
class World {
public:
    explicit World(const sim::ControllerConfig& config, PortKind kind = PortKind::SerialPort);

    // Opens the port as the program does at start-up, with Timer1 running.
    void Open();
    // Moves time on, millisecond by millisecond: the line, then every timer that is due.
    void Run(std::uint32_t ms);
    // Runs until the condition holds or the time is up; returns whether it held.
    bool RunUntil(const std::function<bool()>& condition, std::uint32_t timeout = 5000);
    // The texts of the messages shown so far.
    std::vector<std::string> Messages() const;
    // Timer1 as the window runs it: the supervision, then the confirmation countdown on the
    // page shown.
    void Tick();

    sim::VirtualClock clock;
    std::unique_ptr<sim::SimController> device;
    sim::SimulatedPort port;
    VirtualTimers timers;
    RecordingView view;
    RecordingDialogs dialogs;
    Texts texts{nullptr, &dialogs};
    FixedPcClock pcClock;
    ConnectionController controller;
    SaveConfirmation confirmation{controller, clock};
    RecordingListener outcomes{&confirmation}; // between the link and the confirmation
};

} // namespace lcdiag::e2e
