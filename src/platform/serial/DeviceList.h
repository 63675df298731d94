#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace lcdiag {

// A serial port of the PC and, for a USB serial adapter, the USB device behind it.
struct TSerialDevice {
    std::string Name;             // kernel name, e.g. "ttyUSB0"
    std::string Node;             // device node, e.g. "/dev/ttyUSB0"
    std::uint16_t VendorId = 0;   // 0 for ports that are not on USB
    std::uint16_t ProductId = 0;  // 0 for ports that are not on USB
    std::string SerialNumber;     // the USB device's serial number string
    std::string Description;      // the USB device's product string
    std::uint32_t LocationId = 0; // bus and port path, a hex digit each: bus 1, ports 2.3 = 0x123
    std::string UsbPath;          // the USB device's path under /sys: "/devices/.../usb1/1-2.3"
};

// Seam: the serial ports present (libudev in the program, lists built by tests).
class TDeviceList {
public:
    virtual ~TDeviceList() = default;

    // Real serial ports in any order; empty when they cannot be listed.
    virtual std::vector<TSerialDevice> SerialDevices() = 0;
    // Whether another program holds the port's node open.
    virtual bool InUse(const TSerialDevice& device) = 0;
};

} // namespace lcdiag
