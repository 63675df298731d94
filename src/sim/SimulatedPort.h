#pragma once

#include "core/protocol/Port.h"
#include "sim/SimController.h"
#include "sim/Transmitter.h"
#include "sim/VirtualClock.h"
#include "sim/Wire.h"

#include <cstdint>
#include <deque>

namespace lcdiag::sim {

// The serial port wired to a simulated controller. Nothing happens behind the caller's back:
// the line moves only when Pump() or Advance() is called, one millisecond at a time, and the
// events are delivered synchronously from there (so the caller's thread is the
// user-interface thread). Bytes pass at the pace of the sender's baud rate and arrive
// garbled while the PC's and the controller's baud rates differ; the break condition reaches
// the controller, and while it is set the PC's pending bytes wait, as a UART holds them.
// Pump and Advance may be called again from inside an event handler (a wait between sends).
class SimulatedPort final : public Port {
public:
    SimulatedPort(VirtualClock& clock, SimController& controller,
                  PortKind kind = PortKind::SerialPort, std::uint32_t seed = 1);

    void SetListener(PortEvents* events) { events_ = events; }

    bool Connected() const override { return connected_; }
    PortKind Kind() const override { return kind_; }
    // Throws std::runtime_error while FailOpens(true) is in force.
    void Open() override;
    void Close() override;
    void Write(std::span<const std::uint8_t> bytes) override;
    void WriteStr(std::string_view text) override;
    int Read(std::span<std::uint8_t> into) override;
    int InputCount() const override { return static_cast<int>(input_.size()); }
    void SetBreak(bool on) override;
    void SetBaudRate(int bitsPerSecond) override { baud_ = bitsPerSecond; }

    // Runs the line up to the clock's present, one millisecond at a time.
    void Pump();
    // Advances the clock millisecond by millisecond, pumping after each.
    void Advance(std::uint32_t ms);

    // What tests arrange or look at.
    void FailOpens(bool fail) { failOpens_ = fail; }
    void Unplug();      // the adapter vanishes: the port closes and reports the disconnect
    void CloseBySelf(); // the component closes the port by itself
    // The line fault of a lost break: while set, the PC's break does not reach the controller.
    void LoseBreaks(bool lose);
    int BaudRate() const { return baud_; }
    bool BreakOn() const { return breakOn_; }
    std::size_t OutputPending() const { return output_.Pending(); }

private:
    void Step(std::uint32_t now);
    void CarryToController();
    void CarryToPc();
    void DeliverEvents();
    void Disconnect();

    VirtualClock& clock_;
    SimController& controller_;
    PortEvents* events_ = nullptr;
    PortKind kind_;
    Wire toController_;
    Wire toPc_;
    Transmitter output_;
    std::deque<std::uint8_t> input_;
    std::uint32_t pumped_;
    int baud_ = SimController::LineBaud;
    bool connected_ = false;
    bool breakOn_ = false;
    bool breaksLost_ = false;
    bool failOpens_ = false;
    bool receivedDue_ = false;
    bool sentDue_ = false;
};

} // namespace lcdiag::sim
