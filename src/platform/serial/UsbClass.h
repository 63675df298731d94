#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

struct udev;
struct udev_monitor;

namespace lcdiag {

struct TUsbIds {
    std::uint16_t VendorId = 0;
    std::uint16_t ProductId = 0;
    bool operator==(const TUsbIds&) const = default;
};

// A USB device or a serial port that came or went.
struct TDeviceNotice {
    enum TKind { UsbArrival, UsbRemoval, PortArrival, PortRemoval };
    TKind Kind = UsbArrival;
    TUsbIds Ids;      // USB notices
    std::string Port; // port notices: the kernel name, e.g. "ttyUSB0"
    std::string Path; // USB notices: the device's path under /sys, which tells equal devices apart
};

// The device-change watcher: a udev monitor for USB devices and tty ports. The program
// watches Handle() in its event loop and calls ProcessNotices() when it is readable; any
// other source of notices may call Notify().
class TUsbClass {
public:
    using TUsbEvent = std::function<void(TUsbClass&, std::uint16_t vendorId,
                                         std::uint16_t productId, const std::string& path)>;
    using TPortEvent = std::function<void(TUsbClass&, const std::string& port)>;

    TUsbClass();
    ~TUsbClass();
    TUsbClass(const TUsbClass&) = delete;
    TUsbClass& operator=(const TUsbClass&) = delete;

    // The monitor's file descriptor; -1 when udev cannot be reached (no notices then).
    int Handle() const;
    // Calls the handlers for every notice the monitor holds; returns without waiting.
    void ProcessNotices();
    // Calls the handler of the notice's kind, when assigned.
    void Notify(const TDeviceNotice& notice);

    TUsbEvent OnUsbArrival;
    TUsbEvent OnUsbRemoval;
    TPortEvent OnPortArrival;
    TPortEvent OnPortRemoval;

private:
    udev* udev_ = nullptr;
    udev_monitor* monitor_ = nullptr;
};

// The notice a udev event stands for: a USB device (ids from the kernel's PRODUCT value,
// "403/9e2b/600", and its DEVPATH) or a tty port that was added or removed; nothing for other
// events.
std::optional<TDeviceNotice> NoticeFromUevent(std::string_view action, std::string_view subsystem,
                                              std::string_view devtype, std::string_view product,
                                              std::string_view sysname, std::string_view devpath);

} // namespace lcdiag
