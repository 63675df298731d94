#include "sim/tools/PtyServer.h"

#include "core/protocol/Clock.h"

#include <thread>
#include <vector>

namespace lcdiag::sim {

namespace {

// How long the two ends may run at different speeds before the controller starts afresh.
constexpr std::uint32_t SpeedMismatchRestart = 2000;
constexpr auto IdleWait = std::chrono::milliseconds(20);

} // namespace

PtyServer::PtyServer(PtyLink& link, const ControllerConfig& config)
    : link_(link), config_(config), toController_(config.seed), toPc_(config.seed + 1),
      start_(std::chrono::steady_clock::now()) {}

void PtyServer::Serve() {
    if (!link_.WaitForPeer(1)) {
        if (peerPresent_) {
            link_.ResetLineSettings();
        }
        peerPresent_ = false;
        std::this_thread::sleep_for(IdleWait);
        return;
    }
    const std::uint32_t now = Now();
    if (!peerPresent_) {
        peerPresent_ = true;
        PowerUp();
        stepped_ = now;
    }
    const int peerBaud = link_.PeerBaud();
    Receive(peerBaud);
    while (stepped_ != now) {
        Step(++stepped_, peerBaud);
    }
    WatchSpeeds(now, peerBaud);
}

std::uint32_t PtyServer::Now() const {
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                          std::chrono::steady_clock::now() - start_)
                                          .count());
}

void PtyServer::PowerUp() {
    controller_ = MakeController(config_);
    mismatchSince_.reset();
}

void PtyServer::Receive(int peerBaud) {
    std::vector<std::uint8_t> read;
    for (std::uint8_t byte : link_.ReadAvailable()) {
        read.clear();
        toController_.Deliver(byte, peerBaud, controller_->BaudRate(), read);
        for (std::uint8_t received : read) {
            controller_->Receive(received);
        }
    }
}

void PtyServer::Step(std::uint32_t now, int peerBaud) {
    controller_->Tick(now);
    std::vector<std::uint8_t> sent;
    toPc_.CarryOneMillisecond(controller_->Output(), controller_->BaudRate(), peerBaud, sent);
    link_.Write(sent);
}

// No break can reach the controller; a lasting difference of speeds stands for one.
void PtyServer::WatchSpeeds(std::uint32_t now, int peerBaud) {
    if (peerBaud == controller_->BaudRate()) {
        mismatchSince_.reset();
    } else if (!mismatchSince_) {
        mismatchSince_ = now;
    } else if (Elapsed(*mismatchSince_, now) >= SpeedMismatchRestart) {
        PowerUp();
    }
}

} // namespace lcdiag::sim
