#include "platform/serial/EComPort.h"

#include <array>
#include <system_error>
#include <utility>

namespace lcdiag {
namespace {

// Kept word for word: callers and users know the component by these texts.
constexpr std::array<const char*, 24> Texts = {
    "Unable to open com port",
    "WriteFile function failed",
    "ReadFile function failed",
    "Invalid Async parameter",
    "PurgeComm function failed",
    "Unable to get async status",
    "SetCommState function failed",
    "SetCommTimeouts failed",
    "SetupComm function failed",
    "ClearCommError function failed",
    "GetCommModemStatus function failed",
    "EscapeCommFunction function failed",
    "TransmitCommChar function failed",
    "Cannot set property while connected",
    "EnumPorts function failed",
    "Failed to store settings",
    "Failed to load settings",
    "Link (un)registration failed",
    "Cannot change led state if ComPort is selected",
    "Cannot wait for event if event thread is created",
    "WaitForEvent method failed",
    "A component is linked to OnRxBuf event",
    "Registry error",
    "Device has been disconnected",
};

// "Unable to open com port /dev/ttyUSB0: Permission denied (error 13)", "Unable to open com
// port /dev/ttyUSB0: held by lcdiag (pid 1234)".
std::string Message(int code, int platformError, const std::string& path,
                    const std::string& heldBy) {
    std::string text = EComPort::Text(code);
    if (!path.empty()) {
        text += " " + path;
    }
    if (!heldBy.empty()) {
        text += ": held by " + heldBy;
    } else if (platformError != -1) {
        text += ": " + std::generic_category().message(platformError) + " (error " +
                std::to_string(platformError) + ")";
    }
    return text;
}

} // namespace

EComPort::EComPort(int code, int platformError, std::string path, std::string heldBy)
    : std::runtime_error(Message(code, platformError, path, heldBy)), code_(code),
      platformError_(platformError), path_(std::move(path)), heldBy_(std::move(heldBy)) {}

std::string EComPort::Text(int code) {
    if (code < 1 || code > static_cast<int>(Texts.size())) {
        return {};
    }
    return Texts[static_cast<std::size_t>(code - 1)];
}

} // namespace lcdiag
