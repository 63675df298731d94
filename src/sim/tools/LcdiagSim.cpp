// lcdiag-sim: a simulated light curtain controller on a pseudo-terminal, in real time.
#include "core/protocol/Clock.h"
#include "sim/SimController.h"
#include "sim/SimOptions.h"
#include "sim/Wire.h"
#include "sim/tools/PtyLink.h"

#include <chrono>
#include <csignal>
#include <iostream>
#include <memory>
#include <optional>
#include <thread>

namespace {

using namespace lcdiag;
using namespace lcdiag::sim;

volatile std::sig_atomic_t stopRequested = 0;

void RequestStop(int) {
    stopRequested = 1;
}

// How long the two ends may run at different speeds before the controller starts afresh.
constexpr std::uint32_t SpeedMismatchRestart = 2000;
constexpr auto IdleWait = std::chrono::milliseconds(20);

// Runs the controller on the pseudo-terminal: bytes from the program go to its UART, its
// output leaves at the pace of its baud rate, and each end reads garbage while the speeds
// differ.
class PtyServer {
public:
    PtyServer(PtyLink& link, const ControllerConfig& config)
        : link_(link), config_(config), toController_(config.seed), toPc_(config.seed + 1),
          start_(std::chrono::steady_clock::now()) {}

    void Run() {
        bool peerPresent = false;
        std::uint32_t stepped = Now();
        while (stopRequested == 0) {
            if (!link_.WaitForPeer(1)) {
                if (peerPresent) {
                    link_.ResetLineSettings();
                }
                peerPresent = false;
                std::this_thread::sleep_for(IdleWait);
                continue;
            }
            const std::uint32_t now = Now();
            if (!peerPresent) {
                peerPresent = true;
                PowerUp();
                stepped = now;
            }
            const int peerBaud = link_.PeerBaud();
            Receive(peerBaud);
            while (stepped != now) {
                Step(++stepped, peerBaud);
            }
            WatchSpeeds(now, peerBaud);
        }
    }

private:
    std::uint32_t Now() const {
        return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                              std::chrono::steady_clock::now() - start_)
                                              .count());
    }

    void PowerUp() {
        controller_ = MakeController(config_);
        mismatchSince_.reset();
    }

    void Receive(int peerBaud) {
        std::vector<std::uint8_t> read;
        for (std::uint8_t byte : link_.ReadAvailable()) {
            read.clear();
            toController_.Deliver(byte, peerBaud, controller_->BaudRate(), read);
            for (std::uint8_t received : read) {
                controller_->Receive(received);
            }
        }
    }

    void Step(std::uint32_t now, int peerBaud) {
        controller_->Tick(now);
        std::vector<std::uint8_t> sent;
        toPc_.CarryOneMillisecond(controller_->Output(), controller_->BaudRate(), peerBaud, sent);
        link_.Write(sent);
    }

    // No break can reach the controller; a lasting difference of speeds stands for one.
    void WatchSpeeds(std::uint32_t now, int peerBaud) {
        if (peerBaud == controller_->BaudRate()) {
            mismatchSince_.reset();
        } else if (!mismatchSince_) {
            mismatchSince_ = now;
        } else if (Elapsed(*mismatchSince_, now) >= SpeedMismatchRestart) {
            PowerUp();
        }
    }

    PtyLink& link_;
    ControllerConfig config_;
    Wire toController_;
    Wire toPc_;
    std::chrono::steady_clock::time_point start_;
    std::unique_ptr<SimController> controller_;
    std::optional<std::uint32_t> mismatchSince_;
};

} // namespace

int main(int argc, char** argv) {
    const SimOptions options = ParseSimOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (options.help) {
        std::cout << SimUsage();
        return 0;
    }
    if (!options.error.empty()) {
        std::cerr << "lcdiag-sim: " << options.error << "\n\n" << SimUsage();
        return 2;
    }
    std::string error;
    std::optional<PtyLink> link = PtyLink::Create(error);
    if (!link) {
        std::cerr << "lcdiag-sim: no pseudo-terminal: " << error << '\n';
        return 1;
    }
    std::signal(SIGINT, RequestStop);
    std::signal(SIGTERM, RequestStop);
    std::cout << link->SlavePath() << std::endl;
    const ControllerConfig& config = options.config;
    std::cerr << "lcdiag-sim: " << (config.unit == Unit::Receiver ? "receiver" : "emitter")
              << " controller, " << (config.layout == Layout::Long ? "long" : "short")
              << " layout, firmware " << config.firmware.typeDigit << " " << config.firmware.Text()
              << ", device type " << config.deviceType << "; Ctrl+C ends\n";
    PtyServer(*link, config).Run();
    return 0;
}
