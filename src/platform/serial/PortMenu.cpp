#include "platform/serial/PortMenu.h"

#include "core/app/TextLines.h"
#include "platform/serial/ComPort.h"
#include "platform/serial/DeviceList.h"

#include <algorithm>
#include <cctype>

namespace lcdiag {
namespace {

bool IsDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

// The digit run at position, without leading zeros; moves position past it.
std::string_view DigitRun(std::string_view text, std::size_t& position) {
    while (position < text.size() && text[position] == '0') {
        ++position;
    }
    const std::size_t start = position;
    while (position < text.size() && IsDigit(text[position])) {
        ++position;
    }
    return text.substr(start, position - start);
}

std::string UpperTrimmed(std::string_view text) {
    std::string result(TrimBlanks(text));
    std::transform(result.begin(), result.end(), result.begin(), [](char c) {
        return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    });
    return result;
}

} // namespace

bool PortNameLess(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        if (IsDigit(a[i]) && IsDigit(b[j])) {
            const std::string_view left = DigitRun(a, i);
            const std::string_view right = DigitRun(b, j);
            if (left.size() != right.size()) {
                return left.size() < right.size();
            }
            if (left != right) {
                return left < right;
            }
            continue;
        }
        if (a[i] != b[j]) {
            return static_cast<unsigned char>(a[i]) < static_cast<unsigned char>(b[j]);
        }
        ++i;
        ++j;
    }
    return i == a.size() && j < b.size();
}

std::vector<std::string> EnumComPorts(TDeviceList& devices) {
    std::vector<std::string> names;
    for (const TSerialDevice& device : devices.SerialDevices()) {
        names.push_back(device.Name);
    }
    std::stable_sort(names.begin(), names.end(), PortNameLess);
    return names;
}

std::vector<TPortMenuItem> InitPorts(std::string_view preference, std::vector<std::string> ports,
                                     bool adapterSupport) {
    const std::string wanted = UpperTrimmed(preference);
    const bool usbWanted = wanted == "USB";
    std::vector<TPortMenuItem> items;
    if (adapterSupport) {
        items.push_back({"USB", UsbItemTag, {}, usbWanted});
        items.push_back({"-", 0, {}, false});
    }
    const std::string stored(TrimBlanks(preference));
    const bool storedListed = std::any_of(ports.begin(), ports.end(), [&](const std::string& port) {
        return UpperTrimmed(port) == wanted;
    });
    if (!usbWanted && !stored.empty() && !storedListed) {
        ports.push_back(stored);
    }
    std::stable_sort(ports.begin(), ports.end(), PortNameLess);
    const std::size_t firstPort = items.size();
    for (std::size_t i = 0; i < ports.size(); ++i) {
        items.push_back({ports[i], FirstPortTag + static_cast<int>(i), ports[i], false});
    }
    auto named = std::find_if(
        items.begin() + static_cast<std::ptrdiff_t>(firstPort), items.end(),
        [&](const TPortMenuItem& item) { return UpperTrimmed(item.PortName) == wanted; });
    if (named != items.end()) {
        named->Checked = true;
        if (adapterSupport) {
            items.front().Checked = false;
        }
    }
    return items;
}

std::optional<std::string> MNU_PSetClick(TComPort& port, const TPortMenuItem& item,
                                         const TShowMessage& showMessage) {
    if (item.Tag == UsbItemTag) {
        port.Close();
        if (SearchUSBDevice(port, showMessage)) {
            port.Open(true);
        }
        return "USB";
    }
    if (item.Tag > UsbItemTag) {
        if (port.PortMode() == pmD2XX) {
            port.Close(); // the same name as before must not keep the adapter open
        }
        port.SetPort(item.PortName);
        port.Open(false);
        return item.PortName;
    }
    return std::nullopt;
}

} // namespace lcdiag
