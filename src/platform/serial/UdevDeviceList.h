#pragma once

#include "platform/serial/DeviceList.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct udev;

namespace lcdiag {

// The serial ports that udev knows: ttys with a parent device that the kernel has found
// (the unused placeholders of the legacy serial driver are left out), and for USB serial
// adapters the ids, serial number and product string of the parent USB device, read from
// sysfs, so that no udev database is needed.
class TUdevDeviceList final : public TDeviceList {
public:
    explicit TUdevDeviceList(udev* context); // takes over the context
    ~TUdevDeviceList() override;
    TUdevDeviceList(const TUdevDeviceList&) = delete;
    TUdevDeviceList& operator=(const TUdevDeviceList&) = delete;

    std::vector<TSerialDevice> SerialDevices() override;
    bool InUse(const TSerialDevice& device) override;

private:
    udev* udev_;
};

// Adapter support: the program's device list, or null when udev cannot be reached (the
// program then works with serial ports named by hand only).
std::unique_ptr<TDeviceList> LoadD2XX();

// A process that holds a device node open: its id and its name from <proc>/<pid>/comm.
struct TNodeHolder {
    int Pid = 0;
    std::string Name;

    friend bool operator==(const TNodeHolder&, const TNodeHolder&) = default;
};

// The processes that this user may look into and that hold the node open, from the links in
// <proc>/<pid>/fd, by process id. Other users' processes are not visible; the exclusive open
// of the port still keeps them out.
std::vector<TNodeHolder> NodeHolders(const std::string& node,
                                     const std::filesystem::path& proc = "/proc");
bool NodeHeldOpen(const std::string& node, const std::filesystem::path& proc = "/proc");
// "lcdiag (pid 1234), minicom (pid 99)".
std::string HoldersText(const std::vector<TNodeHolder>& holders);

// "1-2.3" (bus 1, ports 2 and 3) as 0x123; the location of a USB device.
std::uint32_t LocationFromUsbPath(std::string_view path);

} // namespace lcdiag
