#pragma once

#include "core/protocol/Clock.h"
#include "core/protocol/Port.h"
#include "gui/app/CommandLine.h"
#include "sim/SimController.h"
#include "sim/SimulatedPort.h"
#include "sim/VirtualClock.h"

#include <QObject>
#include <memory>
#include <string>
#include <variant>

class QTimer;

namespace lcdiag {

// The simulated light curtain in real time, for running the program without a device: the
// simulated port's line moves on with the program's tick, a few milliseconds at a time, from
// the event loop. Its line clock starts at the tick and never runs ahead of it; it is the one
// the connection dialogue must use while the device is in use, so that both agree.
class SimulatedDevice final : public QObject {
public:
    // The device the request describes (lcdiag-sim's options, plus "--unplug-after MS"), or
    // the text of the first mistake in its options.
    static std::variant<std::unique_ptr<SimulatedDevice>, std::string>
    Start(const SimulationRequest& request, const Clock& tick);
    ~SimulatedDevice() override;

    Port& LinePort() { return port_; }
    const Clock& LineClock() const { return clock_; }
    void SetListener(PortEvents* events) { port_.SetListener(events); }

private:
    SimulatedDevice(const sim::ControllerConfig& config, const Clock& tick, int unplugAfterMs);
    void CatchUp();

    sim::VirtualClock clock_;
    std::unique_ptr<sim::SimController> controller_;
    sim::SimulatedPort port_;
    const Clock& tick_;
    std::uint32_t started_;
    QTimer* pace_ = nullptr;
    int unplugAfterMs_ = -1; // the adapter vanishes after this long; -1 never
};

} // namespace lcdiag
