#pragma once

#include <stdexcept>
#include <string>

namespace lcdiag {

// A failure of the serial port component. The code (1 to 24) selects the text; the platform
// error is the operating system's error number, or -1 when the failure has none; the path is
// the device node that failed, when known; heldBy names the programs that hold a busy port
// ("lcdiag (pid 1234)"), when known.
class EComPort : public std::runtime_error {
public:
    // Error codes that the component raises.
    enum Code {
        OpenFailed = 1,
        WriteFailed = 2,
        ReadFailed = 3,
        PurgeFailed = 5,
        LineSettingsFailed = 7,
        StatusFailed = 10,
        ModemStatusFailed = 11,
        EscapeFailed = 12,
        SetWhileConnected = 14,
        Disconnected = 24
    };

    explicit EComPort(int code, int platformError = -1, std::string path = {},
                      std::string heldBy = {});

    int ErrorCode() const { return code_; }
    int PlatformError() const { return platformError_; }
    const std::string& Path() const { return path_; }
    const std::string& HeldBy() const { return heldBy_; }

    // The text of a code without the platform error; empty for codes outside 1 to 24.
    static std::string Text(int code);

private:
    int code_;
    int platformError_;
    std::string path_;
    std::string heldBy_;
};

} // namespace lcdiag
