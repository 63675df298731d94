#pragma once

#include "sim/ControllerConfig.h"
#include "sim/SimController.h"
#include "sim/Wire.h"
#include "sim/tools/PtyLink.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>

namespace lcdiag::sim {

// Runs a simulated controller on the controller's end of a pseudo-terminal, in real time:
// bytes from the program go to its UART, its output leaves at the pace of its baud rate, and
// each end reads garbage while the speeds differ. The controller powers up whenever a program
// opens the slave.
class PtyServer {
public:
    // The link must outlive the server.
    PtyServer(PtyLink& link, const ControllerConfig& config);

    // One turn: waits up to a millisecond for the program's bytes, then runs the controller up
    // to the present. Without a program on the slave it only waits a little.
    void Serve();

private:
    std::uint32_t Now() const;
    void PowerUp();
    void Receive(int peerBaud);
    void Step(std::uint32_t now, int peerBaud);
    void WatchSpeeds(std::uint32_t now, int peerBaud);

    PtyLink& link_;
    ControllerConfig config_;
    Wire toController_;
    Wire toPc_;
    std::chrono::steady_clock::time_point start_;
    std::unique_ptr<SimController> controller_;
    std::optional<std::uint32_t> mismatchSince_;
    bool peerPresent_ = false;
    std::uint32_t stepped_ = 0;
};

} // namespace lcdiag::sim
