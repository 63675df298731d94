#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace lcdiag {

// How the link reaches the controller: a serial port, or the device's own USB adapter
// (which has no transmit-empty event worth waiting for).
enum class PortKind { SerialPort, UsbAdapter };

// The serial link as the connection dialogue uses it. The program's implementation wraps the
// serial port component; tests and the demo use a simulated port wired to a simulated
// controller. Failures to open are thrown as exceptions derived from std::exception.
class Port {
public:
    virtual ~Port() = default;

    virtual bool Connected() const = 0;
    virtual PortKind Kind() const = 0;
    virtual void Open() = 0;
    virtual void Close() = 0;

    virtual void Write(std::span<const std::uint8_t> bytes) = 0;
    // Writes the characters as single bytes, without terminator.
    virtual void WriteStr(std::string_view text) = 0;
    // Reads up to into.size() bytes that have already arrived; returns how many.
    virtual int Read(std::span<std::uint8_t> into) = 0;
    virtual int InputCount() const = 0;

    virtual void SetBreak(bool on) = 0;
    virtual void SetBaudRate(int bitsPerSecond) = 0;
};

// What the link reports, always on the user-interface thread.
class PortEvents {
public:
    virtual ~PortEvents() = default;

    virtual void ComPortAfterOpen() = 0;
    virtual void ComPortBeforeClose() = 0;
    virtual void ComPortRxChar(int count) = 0;
    virtual void ComPortTxEmpty() = 0;
    // The component closed the port by itself.
    virtual void ComPortEvent2() = 0;
    // The port or the adapter disappeared.
    virtual void ComPortDisconnect() = 0;
};

} // namespace lcdiag
