#pragma once

#include "platform/serial/UsbAdapter.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lcdiag {

class TComPort;
class TDeviceList;

// Port names in natural order: digit runs compare by their value, so COM2 < COM10 and
// ttyUSB2 < ttyUSB10; everything else by character code.
bool PortNameLess(std::string_view a, std::string_view b);

// The names of the PC's serial ports in natural order.
std::vector<std::string> EnumComPorts(TDeviceList& devices);

// One entry of the port menu ("Choose port" > "Port"); all entries form one radio group.
struct TPortMenuItem {
    std::string Caption;
    int Tag = 0;          // UsbItemTag, 0 for the separator, 11, 12, ... for the ports
    std::string PortName; // ports only
    bool Checked = false;
    bool operator==(const TPortMenuItem&) const = default;
};

inline constexpr int UsbItemTag = 10;
inline constexpr int FirstPortTag = 11;

// The port menu: with adapter support "USB" and a separator, then the ports in natural order.
// At most one entry is checked, the one the program uses: "USB" when the preference "ComPort"
// is "USB", else the port that the preference names (letter case and blanks aside). A named
// port that is not present (unplugged, or a pseudo-terminal udev does not list) is listed
// all the same, so that the menu shows what the program tries to open.
std::vector<TPortMenuItem> InitPorts(std::string_view preference, std::vector<std::string> ports,
                                     bool adapterSupport);

// Switches the port to the clicked entry: "USB" closes the port, looks the adapter up and
// opens it when found; a port entry makes it the port and opens it. Returns the value to store
// as the preference "ComPort" (also when no adapter was found), after which the caller checks
// the entry; nothing for other entries. A failed open raises EComPort and returns nothing.
std::optional<std::string> MNU_PSetClick(TComPort& port, const TPortMenuItem& item,
                                         const TShowMessage& showMessage);

} // namespace lcdiag
