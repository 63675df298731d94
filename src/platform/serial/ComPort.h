#pragma once

#include "platform/serial/ComPortTypes.h"
#include "platform/serial/ComSettings.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace lcdiag {

class TComThread;
class TDeviceList;
class TEventDispatcher;
class TUsbClass;

// The serial line to the device: a tty opened in raw mode for exclusive use, its line
// settings, one event thread that waits for line events and hands them to the
// user-interface thread, blocking reads and writes, the break signal and the notice of a
// lost connection. In USB mode (pmD2XX) it opens the tty node of the device's own USB adapter,
// chosen by serial number (or description, or location) from the device list.
//
// Everything but the event thread's waiting runs on the user-interface thread: the setters,
// the operations and, with smThreadSync (the default), every handler.
class TComPort {
public:
    using TNotifyEvent = std::function<void(TComPort&)>;
    using TRxCharEvent = std::function<void(TComPort&, std::uint32_t count)>;
    using TComErrorEvent = std::function<void(TComPort&, TComErrors errors)>;
    using TComSignalEvent = std::function<void(TComPort&, bool on)>;

    // The dispatcher carries event deliveries to the user-interface thread (smThreadSync,
    // smWindowSync); the device list is where USB mode finds the adapter (null: no adapter
    // support). Both must outlive the port.
    explicit TComPort(TEventDispatcher& dispatcher, TDeviceList* devices = nullptr);
    ~TComPort();
    TComPort(const TComPort&) = delete;
    TComPort& operator=(const TComPort&) = delete;

    // Opens the port named by Port (COM mode) or the USB adapter (pmD2XX), applies the
    // settings and starts the event thread; fires OnBeforeOpen, OnAfterOpen and the three
    // modem-line handlers. Does nothing when connected. A failure of OnAfterOpen closes the
    // port again (without close events) and reaches the caller. Raises EComPort 1 when the port
    // cannot be opened (with the OS error in COM mode) and 7 when its line cannot be set.
    void Open(bool useD2XX = false);
    // Fires the modem-line handlers with false and OnBeforeClose, stops the event thread,
    // closes the port and fires OnAfterClose. Does nothing when closed.
    void Close();

    // Blocking write, bounded by WriteTotalMultiplier * count + WriteTotalConstant ms (no
    // bound when both are 0); returns the bytes written. EComPort 2 on failure. Like the line
    // settings and the break, it does nothing while closed.
    std::uint32_t Write(const void* buffer, std::uint32_t count);
    // Writes the text's bytes as they are; an empty text writes nothing and returns 0.
    std::uint32_t WriteStr(std::string_view text);
    // Reads at most count bytes and waits as the time-outs say:
    // - ReadInterval all ones, both totals 0 (the default): not at all, it takes what is there;
    // - ReadInterval and ReadTotalMultiplier all ones, ReadTotalConstant in between: until the
    //   first byte, at most ReadTotalConstant ms;
    // - otherwise until count bytes came, ReadTotalMultiplier * count + ReadTotalConstant ms
    //   passed (no limit when both are 0) or, after a byte, ReadInterval ms passed without one
    //   (unless it is 0 or all ones).
    // EComPort 3 on failure.
    std::uint32_t Read(void* buffer, std::uint32_t count);
    // Line break on or off; nothing while closed. A break that is on stays on when line settings
    // change. EComPort 12 on failure.
    void SetBreak(bool on);
    // Bytes waiting in the receive queue. EComPort 10 on failure.
    std::uint32_t InputCount();
    // Discards both queues. Reads and writes are synchronous on the caller's thread, so this
    // is what ends work under way on the line (a drain wait of the event thread). EComPort 5.
    void AbortAllAsync();

    bool Connected() const { return connected_; }
    void SetConnected(bool value);

    TBaudRate BaudRate() const { return baudRate_; }
    void SetBaudRate(TBaudRate value);
    std::uint32_t CustomBaudRate() const { return customBaudRate_; }
    void SetCustomBaudRate(std::uint32_t value);
    // Bits per second of the current setting.
    std::uint32_t BaudRateValue() const;
    // A kernel name ("ttyUSB0") or a path ("/dev/ttyUSB0"). A new name reopens an open port
    // in COM mode.
    const std::string& Port() const { return port_; }
    void SetPort(const std::string& value);
    TStopBits StopBits() const { return stopBits_; }
    void SetStopBits(TStopBits value);
    TDataBits DataBits() const { return dataBits_; }
    void SetDataBits(TDataBits value);
    // Kept for the caller; a tty cannot drop NUL bytes or signal an event character.
    bool DiscardNull() const { return discardNull_; }
    void SetDiscardNull(bool value);
    std::uint8_t EventChar() const { return eventChar_; }
    void SetEventChar(std::uint8_t value);
    // The events the next event thread waits for; takes effect at the next open.
    TComEvents Events() const { return events_; }
    void SetEvents(TComEvents value) { events_ = value; }

    TComBuffer& Buffer() { return buffer_; }
    TComTimeouts& Timeouts() { return timeouts_; }
    TComParity& Parity() { return parity_; }
    TComFlowControl& FlowControl() { return flowControl_; }
    const TComParity& Parity() const { return parity_; }
    const TComFlowControl& FlowControl() const { return flowControl_; }

    TSyncMethod SyncMethod() const { return syncMethod_; }
    // Raises EComPort 14 when it would change while connected.
    void SetSyncMethod(TSyncMethod value);

    // The mode of the last open.
    TPortMode PortMode() const { return portMode_; }
    // How USB mode chooses the adapter; a new key reopens a port open in USB mode.
    TOpenBy OpenBy() const { return openBy_; }
    void SetOpenBy(TOpenBy value) { openBy_ = value; }
    std::uint32_t DeviceLocation() const { return deviceLocation_; }
    void SetDeviceLocation(std::uint32_t value);
    const std::string& SerialNumber() const { return serialNumber_; }
    void SetSerialNumber(const std::string& value);
    const std::string& DeviceDescription() const { return deviceDescription_; }
    void SetDeviceDescription(const std::string& value);

    TDeviceList* Devices() const { return devices_; }
    // The watcher of USB devices and ports; its removal notices for the connected adapter (by
    // its path under /sys: a second adapter of the same kind may come and go) or port run the
    // disconnect step.
    TUsbClass& DeviceWatcher() { return *watcher_; }

    // Handlers; each is optional. OnDisconnect reports a lost connection: the port has
    // closed itself (without OnBeforeClose and OnAfterClose).
    TRxCharEvent OnRxChar;
    TNotifyEvent OnTxEmpty;
    TNotifyEvent OnBreak;
    TNotifyEvent OnRing;
    TComSignalEvent OnCTSChange;
    TComSignalEvent OnDSRChange;
    TComSignalEvent OnRLSDChange;
    TComErrorEvent OnError;
    TNotifyEvent OnAfterOpen;
    TNotifyEvent OnAfterClose;
    TNotifyEvent OnBeforeOpen;
    TNotifyEvent OnBeforeClose;
    TNotifyEvent OnDisconnect;

private:
    friend class TComParity;
    friend class TComFlowControl;

    struct TModemLines {
        bool cts = false;
        bool dsr = false;
        bool rlsd = false;
    };

    int OpenAdapter();
    void ApplyLineSettings();
    void ChangeLine(bool changed);
    void ReopenAdapterIf(bool changed, TOpenBy key);
    void StartEventThread();
    void StopEventThread();
    void CloseHandle();
    void Deliver(TComEvents events, TComErrors errors);
    void LineLost();
    void UsbRemoved(const std::string& path);
    void PortRemoved(const std::string& name);
    void Abandon();
    void DisconnectStep();
    void Fail(int code, int error);
    TModemLines ModemLines();
    void FireModemLines(const TModemLines& lines);
    void NoteInputTaken();
    void Fire(const TNotifyEvent& handler);

    TEventDispatcher& dispatcher_;
    TDeviceList* devices_;
    int fd_ = -1;
    std::unique_ptr<TComThread> thread_;
    std::uint64_t connection_ = 0; // counts opens, so that a delivery notices a new connection
    bool connected_ = false;
    bool breakHeld_ = false; // set again after the line settings change
    TBaudRate baudRate_ = br9600;
    std::uint32_t customBaudRate_ = 9600;
    std::string port_ = "COM1";
    TStopBits stopBits_ = sbOneStopBit;
    TDataBits dataBits_ = dbEight;
    bool discardNull_ = false;
    std::uint8_t eventChar_ = 0;
    TComEvents events_ = AllComEvents;
    TComBuffer buffer_;
    TComParity parity_{*this};
    TComTimeouts timeouts_;
    TComFlowControl flowControl_{*this};
    TSyncMethod syncMethod_ = smThreadSync;
    TPortMode portMode_ = pmCOM;
    TOpenBy openBy_ = obSerialNumber;
    std::uint32_t deviceLocation_ = 0;
    std::string serialNumber_;
    std::string deviceDescription_;
    std::string adapterPath_; // the USB device of the adapter opened last
    std::unique_ptr<TUsbClass> watcher_;
};

} // namespace lcdiag
