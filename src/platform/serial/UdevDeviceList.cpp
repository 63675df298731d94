#include "platform/serial/UdevDeviceList.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <fstream>
#include <libudev.h>
#include <optional>
#include <system_error>

namespace lcdiag {
namespace {

std::string Attribute(udev_device* device, const char* name) {
    const char* value = udev_device_get_sysattr_value(device, name);
    return value ? value : "";
}

std::uint16_t HexAttribute(udev_device* device, const char* name) {
    const std::string text = Attribute(device, name);
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    return error == std::errc() && value <= 0xFFFF ? static_cast<std::uint16_t>(value) : 0;
}

// The legacy serial driver registers ports that have no hardware; their type is 0.
bool RealPort(udev_device* tty) {
    if (!udev_device_get_parent(tty)) {
        return false; // virtual consoles, ptmx, console
    }
    const char* type = udev_device_get_sysattr_value(tty, "type");
    return !type || std::string_view(type) != "0";
}

std::optional<TSerialDevice> DeviceOf(udev_device* tty) {
    const char* name = udev_device_get_sysname(tty);
    const char* node = udev_device_get_devnode(tty);
    if (!name || !RealPort(tty)) {
        return std::nullopt;
    }
    TSerialDevice device;
    device.Name = name;
    device.Node = node ? node : "/dev/" + device.Name;
    if (udev_device* usb =
            udev_device_get_parent_with_subsystem_devtype(tty, "usb", "usb_device")) {
        device.VendorId = HexAttribute(usb, "idVendor");
        device.ProductId = HexAttribute(usb, "idProduct");
        device.SerialNumber = Attribute(usb, "serial");
        device.Description = Attribute(usb, "product");
        const char* path = udev_device_get_sysname(usb);
        device.LocationId = LocationFromUsbPath(path ? path : "");
        const char* devPath = udev_device_get_devpath(usb);
        device.UsbPath = devPath ? devPath : "";
    }
    return device;
}

bool IsNumber(const std::string& text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return std::isdigit(static_cast<unsigned char>(c));
    });
}

bool HoldsNode(const std::filesystem::path& process, const std::string& node) {
    namespace fs = std::filesystem;
    std::error_code unreadable; // other users' processes
    for (fs::directory_iterator fd(process / "fd", unreadable), end; !unreadable && fd != end;
         fd.increment(unreadable)) {
        std::error_code gone;
        if (fs::read_symlink(fd->path(), gone) == node) {
            return true;
        }
    }
    return false;
}

std::string ProcessName(const std::filesystem::path& process) {
    std::ifstream comm(process / "comm");
    std::string name;
    std::getline(comm, name);
    return name.empty() ? "pid " + process.filename().string() : name;
}

} // namespace

TUdevDeviceList::TUdevDeviceList(udev* context) : udev_(context) {}

TUdevDeviceList::~TUdevDeviceList() {
    udev_unref(udev_);
}

std::vector<TSerialDevice> TUdevDeviceList::SerialDevices() {
    std::vector<TSerialDevice> devices;
    udev_enumerate* enumerate = udev_enumerate_new(udev_);
    if (!enumerate) {
        return devices;
    }
    if (udev_enumerate_add_match_subsystem(enumerate, "tty") >= 0 &&
        udev_enumerate_scan_devices(enumerate) >= 0) {
        udev_list_entry* entry = nullptr;
        udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumerate)) {
            udev_device* tty = udev_device_new_from_syspath(udev_, udev_list_entry_get_name(entry));
            if (!tty) {
                continue;
            }
            if (auto device = DeviceOf(tty)) {
                devices.push_back(std::move(*device));
            }
            udev_device_unref(tty);
        }
    }
    udev_enumerate_unref(enumerate);
    return devices;
}

bool TUdevDeviceList::InUse(const TSerialDevice& device) {
    return NodeHeldOpen(device.Node);
}

std::unique_ptr<TDeviceList> LoadD2XX() {
    udev* context = udev_new();
    if (!context) {
        return nullptr;
    }
    return std::make_unique<TUdevDeviceList>(context);
}

std::vector<TNodeHolder> NodeHolders(const std::string& node, const std::filesystem::path& proc) {
    namespace fs = std::filesystem;
    std::vector<TNodeHolder> holders;
    // Processes and their files come and go meanwhile: every step tolerates that.
    std::error_code error;
    for (fs::directory_iterator process(proc, error), end; !error && process != end;
         process.increment(error)) {
        const std::string pid = process->path().filename().string();
        if (IsNumber(pid) && HoldsNode(process->path(), node)) {
            holders.push_back({std::stoi(pid), ProcessName(process->path())});
        }
    }
    std::sort(holders.begin(), holders.end(),
              [](const TNodeHolder& a, const TNodeHolder& b) { return a.Pid < b.Pid; });
    return holders;
}

bool NodeHeldOpen(const std::string& node, const std::filesystem::path& proc) {
    return !NodeHolders(node, proc).empty();
}

std::string HoldersText(const std::vector<TNodeHolder>& holders) {
    std::string text;
    for (const TNodeHolder& holder : holders) {
        text +=
            (text.empty() ? "" : ", ") + holder.Name + " (pid " + std::to_string(holder.Pid) + ")";
    }
    return text;
}

std::uint32_t LocationFromUsbPath(std::string_view path) {
    std::uint32_t location = 0;
    unsigned number = 0;
    for (const char c : path) {
        if (std::isdigit(static_cast<unsigned char>(c))) {
            number = (number * 10 + static_cast<unsigned>(c - '0')) & 0xFF;
        } else {
            location = (location << 4) | (number & 0xF);
            number = 0;
        }
    }
    return path.empty() ? 0 : (location << 4) | (number & 0xF);
}

} // namespace lcdiag
