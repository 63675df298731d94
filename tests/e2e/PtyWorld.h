#pragma once

#include "ConnectionDoubles.h"
#include "QueueDispatcher.h"
#include "World.h"
#include "core/app/Texts.h"
#include "core/protocol/ConnectionController.h"
#include "platform/serial/ComPort.h"
#include "platform/serial/ComPortLink.h"
#include "sim/ControllerConfig.h"
#include "sim/tools/PtyLink.h"
#include "sim/tools/PtyServer.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace lcdiag::e2e {

// The dialogue's millisecond tick: the steady clock plus the pauses a test skips.
class SkippingClock final : public Clock {
public:
    std::uint32_t Now() const override;
    void Skip(std::uint32_t ms) { skipped_ += ms; }

private:
    std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
    std::uint32_t skipped_ = 0;
};

// The program's dialogue on the real serial component, in real time. The port is the slave
// of a pseudo-terminal; on its master a simulated controller is served as lcdiag-sim serves
// it. The test's thread is the user-interface thread and turns the controller's end as well.
class PtyWorld {
public:
    explicit PtyWorld(const sim::ControllerConfig& config);
    // Closes the port before its device goes.
    ~PtyWorld();
    PtyWorld(const PtyWorld&) = delete;
    PtyWorld& operator=(const PtyWorld&) = delete;

    // A fresh pseudo-terminal with a controller behind it becomes the port (while closed).
    void Plug();
    // The device goes: its end of the pseudo-terminal closes and the port hangs up.
    void Unplug();
    // Runs the port's events, the timers and the controller until the condition holds; false
    // when it still does not at the limit.
    bool RunUntil(const std::function<bool()>& condition,
                  std::chrono::milliseconds limit = std::chrono::seconds(5));
    // The dialogue's time leaps ahead without a frame, as while a message waits for the
    // technician.
    void Skip(std::uint32_t ms) { clock.Skip(ms); }
    // How often the message with this text id was shown.
    int Shown(TextId id) const;

    test::TQueueDispatcher dispatcher;
    TComPort comPort{dispatcher};
    ComPortLink link{comPort};
    SkippingClock clock;
    VirtualTimers timers;
    RecordingView view;
    RecordingDialogs dialogs;
    Texts texts{nullptr, &dialogs};
    FixedPcClock pcClock;
    ConnectionController controller;

private:
    void Turn();

    sim::ControllerConfig config_;
    std::optional<sim::PtyLink> pty_;
    std::unique_ptr<sim::PtyServer> server_;
};

} // namespace lcdiag::e2e
