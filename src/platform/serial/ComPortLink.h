#pragma once

#include "core/protocol/Port.h"

namespace lcdiag {

class TComPort;

// The connection dialogue's port over the serial port component: the calls go to the
// component, and the component's events go to one listener, on the user-interface thread
// like every handler of the component.
class ComPortLink final : public Port {
public:
    // Attaches the component's open, close, receive, transmit-empty and disconnect handlers;
    // the component must outlive the link.
    explicit ComPortLink(TComPort& port);
    // Detaches the handlers.
    ~ComPortLink() override;
    ComPortLink(const ComPortLink&) = delete;
    ComPortLink& operator=(const ComPortLink&) = delete;

    // Who hears the events (null: nobody).
    void SetListener(PortEvents* listener) { listener_ = listener; }
    // Whether Open reaches the device's own USB adapter or the port the component names.
    void SetKind(PortKind kind) { kind_ = kind; }

    bool Connected() const override;
    PortKind Kind() const override { return kind_; }
    void Open() override;
    void Close() override;

    void Write(std::span<const std::uint8_t> bytes) override;
    void WriteStr(std::string_view text) override;
    int Read(std::span<std::uint8_t> into) override;
    int InputCount() const override;

    void SetBreak(bool on) override;
    // A rate the component names becomes that setting, any other one its custom rate.
    void SetBaudRate(int bitsPerSecond) override;

private:
    template <typename Call> void Tell(Call call) {
        if (listener_ != nullptr) {
            (listener_->*call)();
        }
    }

    TComPort& port_;
    PortEvents* listener_ = nullptr;
    PortKind kind_ = PortKind::SerialPort;
};

} // namespace lcdiag
