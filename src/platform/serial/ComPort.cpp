#include "platform/serial/ComPort.h"

#include "platform/serial/ComThread.h"
#include "platform/serial/DeviceList.h"
#include "platform/serial/EComPort.h"
#include "platform/serial/Interrupted.h"
#include "platform/serial/LineSettings.h"
#include "platform/serial/UdevDeviceList.h"
#include "platform/serial/UsbClass.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <climits>
#include <fcntl.h>
#include <filesystem>
#include <optional>
#include <poll.h>
#include <sys/ioctl.h>
#include <system_error>
#include <termios.h>
#include <unistd.h>

namespace lcdiag {
namespace {

std::string PortPath(const std::string& name) {
    return name.find('/') == std::string::npos ? "/dev/" + name : name;
}

// Errors with which a USB device that has gone answers.
bool DeviceGone(int error) {
    return error == EIO || error == ENODEV || error == ENXIO;
}

// Opens a tty for this program alone; -1 with errno set on failure.
int OpenTty(const std::string& path) {
    const int fd = RetryInterrupted(open, path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    if (RetryInterrupted(ioctl, fd, TIOCEXCL) != 0) {
        const int error = errno;
        close(fd);
        errno = error;
        return -1;
    }
    return fd;
}

// The failure to open a node. A node that another program holds for its exclusive use (EBUSY)
// names that program, so that the technician knows what to close; this process, whose
// children inherit its files, never counts.
EComPort OpenFailure(int error, const std::string& node) {
    std::string heldBy;
    if (error == EBUSY) {
        std::error_code unresolved;
        const std::filesystem::path resolved = std::filesystem::weakly_canonical(node, unresolved);
        std::vector<TNodeHolder> holders = NodeHolders(unresolved ? node : resolved.string());
        std::erase_if(holders, [](const TNodeHolder& holder) { return holder.Pid == getpid(); });
        heldBy = HoldersText(holders);
    }
    return EComPort(EComPort::OpenFailed, error, node, heldBy);
}

// The end of a bounded wait, or none.
class TDeadline {
public:
    using TClock = std::chrono::steady_clock;

    static TDeadline Never() { return {}; }
    static TDeadline In(std::uint64_t milliseconds) {
        TDeadline deadline;
        constexpr std::uint64_t longest = 1ULL << 40; // decades; keeps the clock from overflowing
        deadline.at_ = TClock::now() + std::chrono::milliseconds(std::min(milliseconds, longest));
        return deadline;
    }
    // The total time-out of a transfer of count bytes: none when both values are 0.
    static TDeadline ForTotal(std::uint32_t multiplier, std::uint32_t constant,
                              std::uint32_t count) {
        if (multiplier == 0 && constant == 0) {
            return Never();
        }
        return In(std::uint64_t{multiplier} * count + constant);
    }

    TDeadline Earlier(const TDeadline& other) const {
        if (!at_ || (other.at_ && *other.at_ < *at_)) {
            return other;
        }
        return *this;
    }
    // Milliseconds left for poll(): -1 without a deadline, 0 once it has passed.
    int PollTimeout() const {
        if (!at_) {
            return -1;
        }
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(*at_ - TClock::now());
        return static_cast<int>(std::clamp<std::int64_t>(left.count(), 0, INT_MAX));
    }

private:
    std::optional<TClock::time_point> at_;
};

// How long a read waits for its bytes; the rules are told with TComPort::Read.
class TReadWait {
public:
    TReadWait(const TComTimeouts& timeouts, std::uint32_t count) {
        constexpr std::uint32_t all = TComTimeouts::Infinite;
        const std::uint32_t interval = timeouts.ReadInterval;
        const std::uint32_t multiplier = timeouts.ReadTotalMultiplier;
        const std::uint32_t constant = timeouts.ReadTotalConstant;
        atOnce_ = interval == all && multiplier == 0 && constant == 0;
        firstByte_ = interval == all && multiplier == all && constant != 0 && constant != all;
        if (interval != 0 && interval != all) {
            interval_ = interval;
        }
        total_ =
            firstByte_ ? TDeadline::In(constant) : TDeadline::ForTotal(multiplier, constant, count);
    }

    // The end of the next wait, or nothing when the read ends with what it has.
    std::optional<TDeadline> Next(std::uint32_t got) const {
        if (atOnce_ || (firstByte_ && got > 0)) {
            return std::nullopt;
        }
        if (got > 0 && interval_) {
            return total_.Earlier(TDeadline::In(*interval_));
        }
        return total_;
    }

private:
    bool atOnce_ = false;
    bool firstByte_ = false;
    std::optional<std::uint32_t> interval_;
    TDeadline total_;
};

// Waits until the port is ready for the events; false at the deadline or when it hung up.
bool WaitReady(int fd, short events, const TDeadline& deadline) {
    pollfd ready{fd, events, 0};
    int result = 0;
    do {
        result = poll(&ready, 1, deadline.PollTimeout());
    } while (result < 0 && errno == EINTR);
    return result > 0 && (ready.revents & events) != 0;
}

} // namespace

TComPort::TComPort(TEventDispatcher& dispatcher, TDeviceList* devices)
    : dispatcher_(dispatcher), devices_(devices), watcher_(std::make_unique<TUsbClass>()) {
    watcher_->OnUsbRemoval = [this](TUsbClass&, std::uint16_t, std::uint16_t,
                                    const std::string& path) { UsbRemoved(path); };
    watcher_->OnPortRemoval = [this](TUsbClass&, const std::string& name) { PortRemoved(name); };
}

TComPort::~TComPort() {
    try {
        Close();
    } catch (...) {
        // A handler's failure while the port goes away has no one left to tell.
    }
}

void TComPort::Open(bool useD2XX) {
    if (connected_) {
        return;
    }
    portMode_ = useD2XX ? pmD2XX : pmCOM;
    Fire(OnBeforeOpen);
    fd_ = useD2XX ? OpenAdapter() : OpenTty(PortPath(port_));
    if (fd_ < 0) {
        throw OpenFailure(errno, PortPath(port_));
    }
    connected_ = true;
    ++connection_;
    try {
        if (const int error = SetLine(fd_, *this); error != 0) {
            throw EComPort(EComPort::LineSettingsFailed, error);
        }
        if (!events_.Empty()) {
            StartEventThread();
        }
        // A handler that fails leaves no half-open port behind: the caller sees the failure
        // and a closed port.
        Fire(OnAfterOpen);
    } catch (...) {
        Abandon();
        throw;
    }
    FireModemLines(ModemLines());
}

// The adapter chosen by OpenBy among the USB serial devices; raises error 1 without an OS
// error when there is none, with the OS error and its node when it cannot be opened.
int TComPort::OpenAdapter() {
    auto chosen = [this](const TSerialDevice& device) {
        switch (openBy_) {
        case obSerialNumber:
            return !serialNumber_.empty() && device.SerialNumber == serialNumber_;
        case obDeviceDescription:
            return !deviceDescription_.empty() && device.Description == deviceDescription_;
        case obDeviceLocation:
            return deviceLocation_ != 0 && device.LocationId == deviceLocation_;
        }
        return false;
    };
    for (const TSerialDevice& device :
         devices_ ? devices_->SerialDevices() : std::vector<TSerialDevice>()) {
        if (device.VendorId != 0 && chosen(device)) {
            if (const int fd = OpenTty(device.Node); fd >= 0) {
                adapterPath_ = device.UsbPath;
                return fd;
            }
            throw OpenFailure(errno, device.Node);
        }
    }
    throw EComPort(EComPort::OpenFailed);
}

void TComPort::Close() {
    if (!connected_) {
        return;
    }
    FireModemLines({});
    Fire(OnBeforeClose);
    StopEventThread();
    CloseHandle();
    connected_ = false;
    Fire(OnAfterClose);
}

std::uint32_t TComPort::Write(const void* buffer, std::uint32_t count) {
    if (!connected_) {
        return 0; // the device has gone: a dialogue resetting itself may still talk to it
    }
    const auto* bytes = static_cast<const std::uint8_t*>(buffer);
    const TDeadline deadline =
        TDeadline::ForTotal(timeouts_.WriteTotalMultiplier, timeouts_.WriteTotalConstant, count);
    std::uint32_t written = 0;
    while (written < count) {
        const ssize_t result = write(fd_, bytes + written, count - written);
        if (result > 0) {
            written += static_cast<std::uint32_t>(result);
        } else if (result < 0 && errno == EINTR) {
            continue;
        } else if (result < 0 && errno != EAGAIN) {
            Fail(EComPort::WriteFailed, errno);
            break;
        } else if (!WaitReady(fd_, POLLOUT, deadline)) {
            break; // time-out: like the platform, report the bytes that went out
        }
    }
    if (written > 0 && thread_) {
        thread_->NoteWrite();
    }
    return written;
}

std::uint32_t TComPort::WriteStr(std::string_view text) {
    if (text.empty()) {
        return 0;
    }
    return Write(text.data(), static_cast<std::uint32_t>(text.size()));
}

std::uint32_t TComPort::Read(void* buffer, std::uint32_t count) {
    auto* bytes = static_cast<std::uint8_t*>(buffer);
    const TReadWait wait(timeouts_, count);
    std::uint32_t got = 0;
    while (got < count) {
        const ssize_t result = read(fd_, bytes + got, count - got);
        if (result > 0) {
            got += static_cast<std::uint32_t>(result);
            continue;
        }
        if (result < 0 && errno == EINTR) {
            continue;
        }
        if (result == 0) {
            break; // hung up: the event thread reports the lost connection
        }
        if (errno != EAGAIN) {
            Fail(EComPort::ReadFailed, errno);
            break;
        }
        const std::optional<TDeadline> until = wait.Next(got);
        if (!until || !WaitReady(fd_, POLLIN, *until)) {
            break;
        }
    }
    NoteInputTaken();
    return got;
}

void TComPort::SetBreak(bool on) {
    if (!connected_) {
        return;
    }
    if (RetryInterrupted(ioctl, fd_, on ? TIOCSBRK : TIOCCBRK) != 0) {
        Fail(EComPort::EscapeFailed, errno);
        return;
    }
    breakHeld_ = on;
}

std::uint32_t TComPort::InputCount() {
    int count = 0;
    if (RetryInterrupted(ioctl, fd_, FIONREAD, &count) != 0) {
        Fail(EComPort::StatusFailed, errno);
        return 0;
    }
    return static_cast<std::uint32_t>(std::max(count, 0));
}

void TComPort::AbortAllAsync() {
    if (RetryInterrupted(tcflush, fd_, TCIOFLUSH) != 0) {
        Fail(EComPort::PurgeFailed, errno);
    }
}

void TComPort::SetConnected(bool value) {
    if (value) {
        Open(false);
    } else {
        Close();
    }
}

void TComPort::SetBaudRate(TBaudRate value) {
    ChangeLine(ChangeValue(baudRate_, value));
}
void TComPort::SetCustomBaudRate(std::uint32_t value) {
    ChangeLine(ChangeValue(customBaudRate_, value));
}
void TComPort::SetStopBits(TStopBits value) {
    ChangeLine(ChangeValue(stopBits_, value));
}
void TComPort::SetDataBits(TDataBits value) {
    ChangeLine(ChangeValue(dataBits_, value));
}
void TComPort::SetDiscardNull(bool value) {
    ChangeLine(ChangeValue(discardNull_, value));
}
void TComPort::SetEventChar(std::uint8_t value) {
    ChangeLine(ChangeValue(eventChar_, value));
}

std::uint32_t TComPort::BaudRateValue() const {
    return baudRate_ == brCustom ? customBaudRate_
                                 : BaudRateValues.at(static_cast<std::size_t>(baudRate_));
}

void TComPort::SetPort(const std::string& value) {
    if (ChangeValue(port_, value) && connected_) {
        Close();
        Open(false);
    }
}

void TComPort::SetSyncMethod(TSyncMethod value) {
    if (value == syncMethod_) {
        return;
    }
    if (connected_) {
        throw EComPort(EComPort::SetWhileConnected);
    }
    syncMethod_ = value;
}

void TComPort::SetDeviceLocation(std::uint32_t value) {
    ReopenAdapterIf(ChangeValue(deviceLocation_, value), obDeviceLocation);
}
void TComPort::SetSerialNumber(const std::string& value) {
    ReopenAdapterIf(ChangeValue(serialNumber_, value), obSerialNumber);
}
void TComPort::SetDeviceDescription(const std::string& value) {
    ReopenAdapterIf(ChangeValue(deviceDescription_, value), obDeviceDescription);
}

void TComPort::ReopenAdapterIf(bool changed, TOpenBy key) {
    if (changed && connected_ && portMode_ == pmD2XX && openBy_ == key) {
        Close();
        Open(true);
    }
}

void TComPort::ApplyLineSettings() {
    if (!connected_) {
        return;
    }
    if (const int error = SetLine(fd_, *this); error != 0) {
        Fail(EComPort::LineSettingsFailed, error);
        return;
    }
    // Drivers write the new line format with the break bit clear (a UART's line control
    // register, an FTDI chip's data format): a break the controller is to see stays set.
    if (breakHeld_ && RetryInterrupted(ioctl, fd_, TIOCSBRK) != 0) {
        Fail(EComPort::EscapeFailed, errno);
    }
}

void TComPort::ChangeLine(bool changed) {
    if (changed) {
        ApplyLineSettings();
    }
}

void TComPort::StartEventThread() {
    TComThread::TConfig config;
    config.fd = fd_;
    config.events = events_;
    config.syncMethod = syncMethod_;
    config.dispatcher = &dispatcher_;
    config.deliver = [this](TComEvents events, TComErrors errors) { Deliver(events, errors); };
    config.lost = [this] { LineLost(); };
    try {
        thread_ = std::make_unique<TComThread>(std::move(config));
    } catch (const std::system_error& error) {
        throw EComPort(EComPort::OpenFailed, error.code().value());
    }
}

// Discards both queues, which also ends a drain wait of the event thread, and ends the
// thread. A vanished device cannot be purged; it is closed all the same.
void TComPort::StopEventThread() {
    if (fd_ >= 0) {
        RetryInterrupted(tcflush, fd_, TCIOFLUSH);
    }
    thread_.reset();
}

void TComPort::CloseHandle() {
    if (fd_ >= 0) {
        close(fd_);
        fd_ = -1;
    }
    breakHeld_ = false;
}

// The delivery step on the user-interface thread, one check per event in this order. It
// stops when a handler closed the port or opened a new connection.
void TComPort::Deliver(TComEvents events, TComErrors errors) {
    const std::uint64_t connection = connection_;
    auto due = [&](TComEvent event) {
        return events.Contains(event) && connected_ && connection_ == connection;
    };
    if (!parity_.Check()) {
        errors.Exclude(ceRxParity);
    }
    if (due(evError) && !errors.Empty() && OnError) {
        OnError(*this, errors);
    }
    if (due(evRxChar) && OnRxChar) {
        const std::uint32_t count = InputCount();
        if (count > 0 && due(evRxChar)) {
            OnRxChar(*this, count);
        }
    }
    if (due(evTxEmpty)) {
        Fire(OnTxEmpty);
    }
    if (due(evBreak)) {
        Fire(OnBreak);
    }
    if (due(evRing)) {
        Fire(OnRing);
    }
    auto line = [&](TComEvent event, const TComSignalEvent& handler, bool TModemLines::*state) {
        if (due(event) && handler) {
            const TModemLines lines = ModemLines();
            if (due(event)) {
                handler(*this, lines.*state);
            }
        }
    };
    line(evCTS, OnCTSChange, &TModemLines::cts);
    line(evDSR, OnDSRChange, &TModemLines::dsr);
    line(evRLSD, OnRLSDChange, &TModemLines::rlsd);
}

void TComPort::LineLost() {
    if (connected_) {
        DisconnectStep();
    }
}

void TComPort::UsbRemoved(const std::string& path) {
    if (!path.empty() && connected_ && portMode_ == pmD2XX && path == adapterPath_) {
        DisconnectStep();
    }
}

void TComPort::PortRemoved(const std::string& name) {
    if (!name.empty() && connected_ && portMode_ == pmCOM && PortPath(port_) == PortPath(name)) {
        DisconnectStep();
    }
}

// Closes without OnBeforeClose and OnAfterClose. The event thread ends first, so that
// nothing waits on the closed port.
void TComPort::Abandon() {
    StopEventThread();
    CloseHandle();
    connected_ = false;
}

// The port closes itself.
void TComPort::DisconnectStep() {
    Abandon();
    if (!OnDisconnect) {
        throw EComPort(EComPort::Disconnected);
    }
    OnDisconnect(*this);
}

// A call that fails because the device has gone (a USB serial adapter, also one opened by
// name) runs the disconnect step, the one notice of it; every other failure raises the code
// with the OS error.
void TComPort::Fail(int code, int error) {
    if (connected_ && DeviceGone(error)) {
        DisconnectStep();
        return;
    }
    throw EComPort(code, error);
}

TComPort::TModemLines TComPort::ModemLines() {
    int status = 0;
    if (RetryInterrupted(ioctl, fd_, TIOCMGET, &status) != 0) {
        if (errno != ENOTTY && errno != EINVAL) {
            Fail(EComPort::ModemStatusFailed, errno);
        }
        return {}; // no modem lines (a pseudo-terminal): all off
    }
    return {(status & TIOCM_CTS) != 0, (status & TIOCM_DSR) != 0, (status & TIOCM_CD) != 0};
}

void TComPort::FireModemLines(const TModemLines& lines) {
    if (OnCTSChange) {
        OnCTSChange(*this, lines.cts);
    }
    if (OnDSRChange) {
        OnDSRChange(*this, lines.dsr);
    }
    if (OnRLSDChange) {
        OnRLSDChange(*this, lines.rlsd);
    }
}

void TComPort::NoteInputTaken() {
    if (thread_) {
        thread_->NoteInputTaken();
    }
}

void TComPort::Fire(const TNotifyEvent& handler) {
    if (handler) {
        handler(*this);
    }
}

} // namespace lcdiag
