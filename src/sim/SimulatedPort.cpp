#include "sim/SimulatedPort.h"

#include <stdexcept>
#include <utility>
#include <vector>

namespace lcdiag::sim {

namespace {

constexpr std::size_t InputLimit = 1 << 16; // the driver's receive queue

} // namespace

SimulatedPort::SimulatedPort(VirtualClock& clock, SimController& controller, PortKind kind,
                             std::uint32_t seed)
    : clock_(clock), controller_(controller), kind_(kind), toController_(seed),
      toPc_(seed ^ 0x9E3779B9u), pumped_(clock.Now()) {}

void SimulatedPort::Open() {
    if (connected_) {
        return;
    }
    if (failOpens_) {
        throw std::runtime_error("Unable to open com port");
    }
    connected_ = true;
    if (events_ != nullptr) {
        events_->ComPortAfterOpen();
    }
}

void SimulatedPort::Close() {
    if (!connected_) {
        return;
    }
    if (events_ != nullptr) {
        events_->ComPortBeforeClose();
    }
    Disconnect();
}

void SimulatedPort::Unplug() {
    if (!connected_) {
        return;
    }
    Disconnect();
    if (events_ != nullptr) {
        events_->ComPortDisconnect();
    }
}

void SimulatedPort::CloseBySelf() {
    if (!connected_) {
        return;
    }
    Disconnect();
    if (events_ != nullptr) {
        events_->ComPortEvent2();
    }
}

void SimulatedPort::Disconnect() {
    connected_ = false;
    breakOn_ = false;
    controller_.SetBreak(false);
    output_.Clear();
    input_.clear();
    receivedDue_ = false;
    sentDue_ = false;
}

void SimulatedPort::Write(std::span<const std::uint8_t> bytes) {
    if (connected_) {
        output_.Send(bytes);
    }
}

void SimulatedPort::WriteStr(std::string_view text) {
    if (connected_) {
        output_.Send(text);
    }
}

int SimulatedPort::Read(std::span<std::uint8_t> into) {
    std::size_t count = 0;
    for (; count < into.size() && !input_.empty(); ++count) {
        into[count] = input_.front();
        input_.pop_front();
    }
    return static_cast<int>(count);
}

void SimulatedPort::SetBreak(bool on) {
    if (!connected_) {
        return;
    }
    breakOn_ = on;
    controller_.SetBreak(on && !breaksLost_);
}

void SimulatedPort::LoseBreaks(bool lose) {
    breaksLost_ = lose;
    controller_.SetBreak(breakOn_ && !lose);
}

void SimulatedPort::Pump() {
    while (pumped_ != clock_.Now()) {
        ++pumped_;
        Step(pumped_);
    }
}

void SimulatedPort::Advance(std::uint32_t ms) {
    for (std::uint32_t i = 0; i < ms; ++i) {
        clock_.Advance(1);
        Pump();
    }
}

void SimulatedPort::Step(std::uint32_t now) {
    controller_.Tick(now);
    CarryToController();
    CarryToPc();
    DeliverEvents();
}

void SimulatedPort::CarryToController() {
    if (!connected_ || breakOn_ || output_.Empty()) {
        return;
    }
    std::vector<std::uint8_t> arrived;
    toController_.CarryOneMillisecond(output_, baud_, controller_.BaudRate(), arrived);
    for (std::uint8_t byte : arrived) {
        controller_.Receive(byte);
    }
    sentDue_ = sentDue_ || output_.Empty();
}

// The controller talks whether or not anybody listens.
void SimulatedPort::CarryToPc() {
    std::vector<std::uint8_t> arrived;
    toPc_.CarryOneMillisecond(controller_.Output(), controller_.BaudRate(), baud_, arrived);
    if (!connected_ || arrived.empty()) {
        return;
    }
    for (std::uint8_t byte : arrived) {
        if (input_.size() < InputLimit) {
            input_.push_back(byte);
        }
    }
    receivedDue_ = true;
}

// A handler may pump again (a wait between sends); each event is taken before it is fired.
void SimulatedPort::DeliverEvents() {
    if (std::exchange(receivedDue_, false) && events_ != nullptr && InputCount() > 0) {
        events_->ComPortRxChar(InputCount());
    }
    if (std::exchange(sentDue_, false) && events_ != nullptr && connected_ &&
        kind_ == PortKind::SerialPort) {
        events_->ComPortTxEmpty();
    }
}

} // namespace lcdiag::sim
