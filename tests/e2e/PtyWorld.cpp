#include "PtyWorld.h"

#include <algorithm>
#include <stdexcept>
#include <thread>

namespace lcdiag::e2e {

std::uint32_t SkippingClock::Now() const {
    const auto ran = std::chrono::duration_cast<std::chrono::milliseconds>(
        std::chrono::steady_clock::now() - start_);
    return static_cast<std::uint32_t>(ran.count()) + skipped_;
}

PtyWorld::PtyWorld(const sim::ControllerConfig& config)
    : timers(clock,
             [this](std::uint32_t ms) {
                 RunUntil([] { return false; }, std::chrono::milliseconds(ms));
             }),
      controller(link, clock, timers, view, texts, pcClock, {1, 40}), config_(config) {
    comPort.SetBaudRate(br19200);
    link.SetListener(&controller);
    controller.SwitchControllerType(ControllerType::Receiver, true);
    timers.StartCyclicTimer();
}

PtyWorld::~PtyWorld() {
    link.SetListener(nullptr);
    comPort.Close();
}

void PtyWorld::Plug() {
    Unplug();
    std::string error;
    std::optional<sim::PtyLink> link = sim::PtyLink::Create(error);
    if (!link) {
        throw std::runtime_error("no pseudo-terminal: " + error);
    }
    pty_.emplace(std::move(*link));
    server_ = std::make_unique<sim::PtyServer>(*pty_, config_);
    comPort.SetPort(pty_->SlavePath());
}

void PtyWorld::Unplug() {
    server_.reset();
    pty_.reset();
}

bool PtyWorld::RunUntil(const std::function<bool()>& condition, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= end) {
            return false;
        }
        Turn();
    }
    return true;
}

void PtyWorld::Turn() {
    if (server_) {
        server_->Serve();
    } else {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    dispatcher.RunPending();
    timers.FireDue([this] { controller.Timer1Tick(); }, [this] { controller.Timer2Fire(); });
}

int PtyWorld::Shown(TextId id) const {
    const std::string text = texts.GetText(id);
    return static_cast<int>(std::count_if(dialogs.shown.begin(), dialogs.shown.end(),
                                          [&](const auto& shown) { return shown.text == text; }));
}

} // namespace lcdiag::e2e
