#include "RecordedSession.h"

#include "World.h"
#include "core/session/RecordingTap.h"

#include <sstream>

namespace lcdiag::test {

namespace {

constexpr PcSoftwareVersion PcVersion{4, 30};
constexpr std::int64_t Start = 1796616000000; // 2026-12-07 04:00:00 UTC

// Few cycles, each with a fault (receiver code 3, emitter code 2), the receiver's with an
// object in three beams.
sim::ControllerConfig Config(sim::Unit unit) {
    sim::ControllerConfig config;
    config.unit = unit;
    config.firmware = {2, 136};
    config.deviceType = 2;
    config.beamCount = 16;
    if (unit == sim::Unit::Receiver) {
        config.scenes.teachObject = sim::BeamZone{5, 3};
        config.faults.cycleFaultBits = 1u << 2;
    } else {
        config.faults.cycleFaultBits = 1u << 1;
    }
    config.timing.receiverCyclePeriod = 100;
    config.timing.emitterCyclePeriod = 50;
    return config;
}

} // namespace

// The dialogue talks to the port through the tap, as in the program; the virtual clock moves
// the line and the timers one millisecond at a time.
RecordedSession RecordSession(sim::Unit unit) {
    const sim::ControllerConfig config = Config(unit);
    sim::VirtualClock clock;
    const auto device = sim::MakeController(config);
    sim::SimulatedPort port(clock, *device, PortKind::SerialPort, config.seed);
    RecordingTap tap(port, clock);
    e2e::VirtualTimers timers(clock, [&port](std::uint32_t ms) { port.Advance(ms); });
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
    tap.Start(out, {SessionFormatVersion, "v4.30.0001", Start, 0});
    tap.Open();
    timers.StartCyclicTimer();
    const bool receiver = unit == sim::Unit::Receiver;
    runUntil(
        [&] { return receiver ? link.ReceiverCycles().Valid() : link.EmitterCycles().Valid(); });
    run(250);
    link.WriteSettings(
        receiver ? SettingsWrite::ReceiverCustomer(*link.ReceiverCustomers().ActiveRecord())
                 : SettingsWrite::EmitterCustomer(link.EmitterCustomer()));
    run(50);
    runUntil([&] { return link.State() == LinkState::Diagnosis; });
    run(150);
    const ConnectedUnit connected = ConnectedUnitOf(link);
    tap.Close();
    tap.Stop();
    const std::string bytes = out.str();
    return {{bytes.begin(), bytes.end()}, connected};
}

} // namespace lcdiag::test
