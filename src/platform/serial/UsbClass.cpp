#include "platform/serial/UsbClass.h"

#include <charconv>
#include <libudev.h>

namespace lcdiag {
namespace {

std::optional<std::uint16_t> ParseHex(std::string_view text) {
    unsigned value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value, 16);
    if (text.empty() || error != std::errc() || stop != end || value > 0xFFFF) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(value);
}

// "403/9e2b/600": vendor, product and release of a USB device, in hexadecimal.
std::optional<TUsbIds> ParseProduct(std::string_view product) {
    const auto slash = product.find('/');
    if (slash == std::string_view::npos) {
        return std::nullopt;
    }
    const std::string_view rest = product.substr(slash + 1);
    const auto vendor = ParseHex(product.substr(0, slash));
    const auto model = ParseHex(rest.substr(0, rest.find('/')));
    if (!vendor || !model) {
        return std::nullopt;
    }
    return TUsbIds{*vendor, *model};
}

std::string_view Text(const char* text) {
    return text ? std::string_view(text) : std::string_view();
}

} // namespace

std::optional<TDeviceNotice> NoticeFromUevent(std::string_view action, std::string_view subsystem,
                                              std::string_view devtype, std::string_view product,
                                              std::string_view sysname, std::string_view devpath) {
    const bool added = action == "add";
    if (!added && action != "remove") {
        return std::nullopt;
    }
    if (subsystem == "usb" && devtype == "usb_device") {
        const auto ids = ParseProduct(product);
        if (!ids) {
            return std::nullopt;
        }
        return TDeviceNotice{added ? TDeviceNotice::UsbArrival : TDeviceNotice::UsbRemoval,
                             *ids,
                             {},
                             std::string(devpath)};
    }
    if (subsystem == "tty" && !sysname.empty()) {
        return TDeviceNotice{added ? TDeviceNotice::PortArrival : TDeviceNotice::PortRemoval,
                             {},
                             std::string(sysname),
                             {}};
    }
    return std::nullopt;
}

TUsbClass::TUsbClass() : udev_(udev_new()) {
    if (!udev_) {
        return;
    }
    monitor_ = udev_monitor_new_from_netlink(udev_, "udev");
    if (!monitor_) {
        return;
    }
    udev_monitor_filter_add_match_subsystem_devtype(monitor_, "usb", "usb_device");
    udev_monitor_filter_add_match_subsystem_devtype(monitor_, "tty", nullptr);
    if (udev_monitor_enable_receiving(monitor_) < 0) {
        monitor_ = udev_monitor_unref(monitor_);
    }
}

TUsbClass::~TUsbClass() {
    udev_monitor_unref(monitor_);
    udev_unref(udev_);
}

int TUsbClass::Handle() const {
    return monitor_ ? udev_monitor_get_fd(monitor_) : -1;
}

void TUsbClass::ProcessNotices() {
    if (!monitor_) {
        return;
    }
    while (udev_device* device = udev_monitor_receive_device(monitor_)) {
        const auto notice = NoticeFromUevent(
            Text(udev_device_get_action(device)), Text(udev_device_get_subsystem(device)),
            Text(udev_device_get_devtype(device)),
            Text(udev_device_get_property_value(device, "PRODUCT")),
            Text(udev_device_get_sysname(device)), Text(udev_device_get_devpath(device)));
        udev_device_unref(device);
        if (notice) {
            Notify(*notice);
        }
    }
}

void TUsbClass::Notify(const TDeviceNotice& notice) {
    switch (notice.Kind) {
    case TDeviceNotice::UsbArrival:
    case TDeviceNotice::UsbRemoval: {
        const TUsbEvent& handler =
            notice.Kind == TDeviceNotice::UsbArrival ? OnUsbArrival : OnUsbRemoval;
        if (handler) {
            handler(*this, notice.Ids.VendorId, notice.Ids.ProductId, notice.Path);
        }
        break;
    }
    case TDeviceNotice::PortArrival:
    case TDeviceNotice::PortRemoval: {
        const TPortEvent& handler =
            notice.Kind == TDeviceNotice::PortArrival ? OnPortArrival : OnPortRemoval;
        if (handler) {
            handler(*this, notice.Port);
        }
        break;
    }
    }
}

} // namespace lcdiag
