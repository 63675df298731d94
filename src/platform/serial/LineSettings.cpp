#include "platform/serial/LineSettings.h"

#include "platform/serial/ComPort.h"
#include "platform/serial/CustomBaudRate.h"
#include "platform/serial/Interrupted.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <optional>
#include <sys/ioctl.h>
#include <utility>

namespace lcdiag {
namespace {

// What does not map onto a tty and is therefore left out: DSR output flow, DSR sensitivity,
// DTR handshake, RTS toggle, transmit-continue-on-XOFF, the XON and XOFF limits, discarding
// NUL bytes and the event character. CTS output flow and RTS handshake are one setting
// (CRTSCTS). A byte with a parity error arrives as NUL, whatever the replacement character.
// 1.5 stop bits become 2.

std::optional<speed_t> StandardSpeed(std::uint32_t rate) {
    static constexpr std::array<std::pair<std::uint32_t, speed_t>, 13> speeds = {{
        {110, B110},
        {300, B300},
        {600, B600},
        {1200, B1200},
        {2400, B2400},
        {4800, B4800},
        {9600, B9600},
        {19200, B19200},
        {38400, B38400},
        {57600, B57600},
        {115200, B115200},
        {230400, B230400},
        {460800, B460800},
    }};
    for (const auto& [bits, speed] : speeds) {
        if (bits == rate) {
            return speed;
        }
    }
    return std::nullopt;
}

tcflag_t DataBitsFlag(TDataBits bits) {
    static constexpr std::array<tcflag_t, 4> flags = {CS5, CS6, CS7, CS8};
    return flags[static_cast<std::size_t>(bits)];
}

tcflag_t ParityFlags(TParityBits bits) {
    switch (bits) {
    case prNone:
        break;
    case prOdd:
        return PARENB | PARODD;
    case prEven:
        return PARENB;
    case prMark:
        return PARENB | CMSPAR | PARODD;
    case prSpace:
        return PARENB | CMSPAR;
    }
    return 0;
}

TKernelLine KernelLine(const termios& line, std::uint32_t rate) {
    TKernelLine kernel{line.c_iflag, line.c_oflag, line.c_cflag, line.c_lflag,
                       line.c_line,  {},           rate};
    std::copy_n(line.c_cc, kernel.controlChars.size(), kernel.controlChars.begin());
    return kernel;
}

// Raises or lowers DTR and RTS where the settings say so. Lines that a device lacks
// (pseudo-terminals) are left alone.
void SetModemLines(int fd, const TComFlowControl& flow) {
    auto set = [fd](int line, bool on) {
        RetryInterrupted(ioctl, fd, on ? TIOCMBIS : TIOCMBIC, &line);
    };
    if (flow.ControlDTR() != dtrHandshake) {
        set(TIOCM_DTR, flow.ControlDTR() == dtrEnable);
    }
    if (flow.ControlRTS() == rtsEnable || flow.ControlRTS() == rtsDisable) {
        set(TIOCM_RTS, flow.ControlRTS() == rtsEnable);
    }
}

} // namespace

void MakeLine(termios& line, const TComPort& port) {
    cfmakeraw(&line);
    line.c_iflag |= IGNBRK; // a break is an event, not a NUL byte in the data
    line.c_cflag &= ~static_cast<tcflag_t>(CSIZE | CSTOPB | PARENB | PARODD | CMSPAR | CRTSCTS);
    line.c_cflag |=
        CLOCAL | CREAD | DataBitsFlag(port.DataBits()) | ParityFlags(port.Parity().Bits());
    if (port.StopBits() != sbOneStopBit) {
        line.c_cflag |= CSTOPB;
    }
    if (port.Parity().Check()) {
        line.c_iflag |= INPCK;
    }
    const TComFlowControl& flow = port.FlowControl();
    if (flow.OutCTSFlow() || flow.ControlRTS() == rtsHandshake) {
        line.c_cflag |= CRTSCTS;
    }
    line.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    line.c_iflag |= (flow.XonXoffOut() ? IXON : 0) | (flow.XonXoffIn() ? IXOFF : 0);
    line.c_cc[VSTART] = static_cast<cc_t>(flow.XonChar());
    line.c_cc[VSTOP] = static_cast<cc_t>(flow.XoffChar());
    line.c_cc[VMIN] = 1; // with O_NONBLOCK: EAGAIN while empty, 0 only once hung up
    line.c_cc[VTIME] = 0;
}

int SetLine(int fd, const TComPort& port) {
    termios line{};
    if (RetryInterrupted(tcgetattr, fd, &line) != 0) {
        return errno;
    }
    const std::uint32_t rate = port.BaudRateValue();
    if (rate == 0) {
        return EINVAL; // speed 0 would hang the line up
    }
    MakeLine(line, port);
    if (const std::optional<speed_t> speed = StandardSpeed(rate)) {
        cfsetispeed(&line, *speed);
        cfsetospeed(&line, *speed);
        if (RetryInterrupted(tcsetattr, fd, TCSANOW, &line) != 0) {
            return errno;
        }
    } else if (const int error = SetKernelLine(fd, KernelLine(line, rate)); error != 0) {
        return error;
    }
    SetModemLines(fd, port.FlowControl());
    return 0;
}

} // namespace lcdiag
