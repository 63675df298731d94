#include "World.h"

#include <algorithm>

namespace lcdiag::e2e {

namespace {

// The version this program stamps into the records it writes.
constexpr PcSoftwareVersion TestPcVersion{1, 40};

} // namespace

void VirtualTimers::StartCyclicTimer() {
    cyclicRunning_ = true;
    nextTick_ = clock_.Now() + 25;
}

void VirtualTimers::ArmResultReporter(int milliseconds) {
    reporterArmed_ = true;
    reporterDue_ = clock_.Now() + static_cast<std::uint32_t>(milliseconds);
}

void VirtualTimers::RunAfter(int milliseconds, std::function<void()> step) {
    steps_.push_back({clock_.Now() + static_cast<std::uint32_t>(milliseconds), std::move(step)});
}

void VirtualTimers::FireDue(const std::function<void()>& timer1,
                            const std::function<void()>& timer2) {
    const std::uint32_t now = clock_.Now();
    for (std::size_t i = 0; i < steps_.size();) {
        if (steps_[i].due <= now) {
            auto run = std::move(steps_[i].run);
            steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(i));
            run(); // may schedule further steps
            i = 0;
        } else {
            ++i;
        }
    }
    if (reporterArmed_ && reporterDue_ <= now) {
        timer2();
    }
    if (cyclicRunning_ && nextTick_ <= now) {
        nextTick_ = now + 25;
        timer1();
    }
}

World::World(const sim::ControllerConfig& config, PortKind kind)
    : device(sim::MakeController(config)), port(clock, *device, kind, config.seed),
      timers(clock, [this](std::uint32_t ms) { port.Advance(ms); }),
      controller(port, clock, timers, view, texts, pcClock, TestPcVersion) {
    port.SetListener(&controller);
    controller.SetTransferListener(&outcomes);
}

void World::Open() {
    controller.SwitchControllerType(ControllerType::Receiver, true);
    port.Open();
    timers.StartCyclicTimer();
}

void World::Run(std::uint32_t ms) {
    for (std::uint32_t i = 0; i < ms; ++i) {
        port.Advance(1);
        timers.FireDue([this] { Tick(); }, [this] { controller.Timer2Fire(); });
    }
}

bool World::RunUntil(const std::function<bool()>& condition, std::uint32_t timeout) {
    for (std::uint32_t i = 0; i < timeout; ++i) {
        if (condition()) {
            return true;
        }
        Run(1);
    }
    return condition();
}

std::vector<std::string> World::Messages() const {
    std::vector<std::string> texts;
    for (const auto& message : dialogs.shown) {
        texts.push_back(message.text);
    }
    return texts;
}

void World::Tick() {
    controller.Timer1Tick();
    confirmation.Tick(view.viewMode);
}

} // namespace lcdiag::e2e
