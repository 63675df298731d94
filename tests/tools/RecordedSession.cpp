#include "RecordedSession.h"

#include "World.h"
#include "core/session/RecordingTap.h"

#include <sstream>

namespace lcdiag::test {

namespace {

constexpr PcSoftwareVersion PcVersion{4, 30};
constexpr std::int64_t Start = 1796616000000; // 2026-12-07 04:00:00 UTC

sim::ControllerConfig ReceiverConfig() {
    sim::ControllerConfig config;
    config.firmware = {2, 136};
    config.deviceType = 2;
    config.beamCount = 16;
    config.scenes.teachObject = sim::BeamZone{5, 3};
    config.faults.cycleFaultBits = 1u << 2; // fault code 3
    config.timing.receiverCyclePeriod = 100;
    return config;
}

} // namespace

// The dialogue talks to the port through the tap, as in the program; the virtual clock moves
// the line and the timers one millisecond at a time.
RecordedSession RecordReceiverSession() {
    const sim::ControllerConfig config = ReceiverConfig();
    sim::VirtualClock clock;
    const auto device = sim::MakeController(config);
    sim::SimulatedPort port(clock, *device, PortKind::SerialPort, config.seed);
    RecordingTap tap(port, clock);
    e2e::VirtualTimers timers(clock, port);
    e2e::RecordingView view;
    e2e::RecordingDialogs dialogs;
    const Texts texts(nullptr, &dialogs);
    const e2e::FixedPcClock pcClock;
    ConnectionController link(tap, clock, timers, view, texts, pcClock, PcVersion);
    port.SetListener(&tap);
    tap.SetListener(&link);
    const auto run = [&](std::uint32_t ms) {
        for (std::uint32_t i = 0; i < ms; ++i) {
            port.Advance(1);
            timers.FireDue([&] { link.Timer1Tick(); }, [&] { link.Timer2Fire(); });
        }
    };
    const auto runUntil = [&](auto condition) {
        for (int i = 0; i < 5000 && !condition(); ++i) {
            run(1);
        }
    };

    std::ostringstream out;
    tap.Start(out, {SessionFormatVersion, "v4.30.0001", Start});
    tap.Open();
    timers.StartCyclicTimer();
    runUntil([&] { return link.ReceiverCycles().Valid(); });
    run(250);
    const ReceiverCustomerRecord active = *link.ReceiverCustomers().ActiveRecord();
    link.WriteSettings(SettingsWrite::ReceiverCustomer(active));
    run(50);
    runUntil([&] { return link.State() == LinkState::Diagnosis; });
    run(150);
    const ConnectedUnit unit = ConnectedUnitOf(link);
    tap.Close();
    tap.Stop();
    const std::string bytes = out.str();
    return {{bytes.begin(), bytes.end()}, unit};
}

} // namespace lcdiag::test
