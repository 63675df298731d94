#include "platform/serial/ComPort.h"

#include "IoctlTrace.h"
#include "Pty.h"
#include "QueueDispatcher.h"
#include "platform/serial/EComPort.h"
#include "platform/serial/LineSettings.h"
#include "platform/serial/UsbClass.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <numeric>
#include <stdexcept>
#include <string>
#include <sys/ioctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace lcdiag {
namespace {

using test::TPty;
using test::TQueueDispatcher;

class ComPortTest : public ::testing::Test {
protected:
    void SetUp() override {
        port.SetPort(pty.SlaveName());
        port.SetBaudRate(br19200);
    }

    void RecordOpenAndClose() {
        auto note = [this](const char* what) {
            return [this, what](TComPort&) { log.push_back(what); };
        };
        auto line = [this](const char* what) {
            return [this, what](TComPort&, bool on) {
                log.push_back(std::string(what) + (on ? "+" : "-"));
            };
        };
        port.OnBeforeOpen = note("BeforeOpen");
        port.OnAfterOpen = note("AfterOpen");
        port.OnBeforeClose = note("BeforeClose");
        port.OnAfterClose = note("AfterClose");
        port.OnDisconnect = note("Disconnect");
        port.OnCTSChange = line("CTS");
        port.OnDSRChange = line("DSR");
        port.OnRLSDChange = line("RLSD");
    }

    // Reads on every receive event what it reports, at most limit bytes, as the connection
    // controller does.
    void ReadOnReceive(std::uint32_t limit = 1024) {
        port.OnRxChar = [this, limit](TComPort& sender, std::uint32_t count) {
            counts.push_back(count);
            std::string chunk(std::min(count, limit), '\0');
            chunk.resize(sender.Read(chunk.data(), static_cast<std::uint32_t>(chunk.size())));
            received += chunk;
        };
    }

    bool ReceiveAll(std::size_t size) {
        return dispatcher.RunUntil([&] { return received.size() >= size; });
    }

    TPty pty;
    TQueueDispatcher dispatcher;
    std::vector<std::string> log;
    std::vector<std::uint32_t> counts;
    std::string received;
    TComPort port{dispatcher}; // last: its handlers use the members above until it is gone
};

TEST_F(ComPortTest, OpenCloseAndANewNameFireTheirEventsInOrderAndOnlyOnce) {
    RecordOpenAndClose();
    port.Open();
    port.Open();
    EXPECT_TRUE(port.Connected());
    EXPECT_EQ(port.PortMode(), pmCOM);
    port.Close();
    port.Close();
    EXPECT_FALSE(port.Connected());
    // A pseudo-terminal has no modem lines: they read as off.
    EXPECT_EQ(log,
              (std::vector<std::string>{"BeforeOpen", "AfterOpen", "CTS-", "DSR-", "RLSD-", "CTS-",
                                        "DSR-", "RLSD-", "BeforeClose", "AfterClose"}));

    // A new name reopens an open port.
    port.Open();
    TPty other;
    log.clear();
    port.SetPort(other.SlaveName());
    EXPECT_TRUE(port.Connected());
    EXPECT_EQ(log, (std::vector<std::string>{"CTS-", "DSR-", "RLSD-", "BeforeClose", "AfterClose",
                                             "BeforeOpen", "AfterOpen", "CTS-", "DSR-", "RLSD-"}));
    port.WriteStr("on the new port");
    EXPECT_EQ(other.Receive(15), "on the new port");
}

TEST_F(ComPortTest, BytesTravelBothWaysEachReceiveCountsWhatWaitsAndABurstArrivesWhole) {
    ReadOnReceive();
    int empty = 0;
    port.OnTxEmpty = [&](TComPort&) { ++empty; };
    port.Open();
    pty.Send("Identification");
    ASSERT_TRUE(ReceiveAll(14));
    EXPECT_EQ(received, "Identification");
    EXPECT_EQ(std::accumulate(counts.begin(), counts.end(), 0u), 14u);

    EXPECT_EQ(port.WriteStr("Answer"), 6u);
    EXPECT_EQ(pty.Receive(6), "Answer");
    const std::uint8_t block[] = {0x00, 0xFF, 0x80, 0x0A, 0x0D};
    EXPECT_EQ(port.Write(block, sizeof block), 5u);
    EXPECT_EQ(pty.Receive(5), std::string("\x00\xFF\x80\x0A\x0D", 5)); // raw: nothing translated
    EXPECT_TRUE(dispatcher.RunUntil([&] { return empty > 0; }));

    received.clear();
    std::string burst(3000, '\0'); // longer than one read
    for (std::size_t i = 0; i < burst.size(); ++i) {
        burst[i] = static_cast<char>(i * 7);
    }
    pty.Send(burst);
    ASSERT_TRUE(ReceiveAll(burst.size())) << received.size() << " of " << burst.size();
    EXPECT_EQ(received, burst);

    ReadOnReceive(1); // bytes left unread are reported again after the next read
    received.clear();
    counts.clear();
    pty.Send("abcde");
    ASSERT_TRUE(ReceiveAll(5));
    EXPECT_EQ(received, "abcde");
    EXPECT_EQ(counts.back(), 1u);
    EXPECT_TRUE(std::is_sorted(counts.rbegin(), counts.rend())); // 5, 4, 3, 2, 1 as they waited
}

// A line that brings a byte every millisecond is delivered in gathered pieces, not a
// thousand receive events a second, and nothing is lost.
TEST_F(ComPortTest, BytesTricklingInAreGatheredIntoFewerReceiveEvents) {
    ReadOnReceive();
    port.Open();
    std::string sent;
    for (int i = 0; i < 100; ++i) {
        sent += static_cast<char>('0' + i % 10);
    }
    std::thread sender([&] {
        for (const char byte : sent) {
            pty.Send(std::string(1, byte));
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    });
    const bool all = ReceiveAll(sent.size());
    sender.join();
    ASSERT_TRUE(all) << received.size() << " of " << sent.size();
    EXPECT_EQ(received, sent);
    EXPECT_LT(counts.size(), 50u);
}

TEST_F(ComPortTest, LineSettingsApplyAtOnceWhileOpenAndOnlyStoreWhileClosed) {
    termios made{};
    MakeLine(made, port); // eight data bits, no parity, one stop bit, no flow control
    EXPECT_EQ(made.c_cflag & (CSIZE | PARENB | CSTOPB | CRTSCTS), static_cast<tcflag_t>(CS8));
    EXPECT_EQ(made.c_iflag & (IXON | IXOFF | INPCK), 0u);
    port.SetBaudRate(br115200); // closed: stored
    port.Open();
    EXPECT_EQ(pty.Speed(), 115200u);
    port.SetBaudRate(br19200);
    EXPECT_EQ(pty.Speed(), 19200u);
    port.SetBaudRate(br14400); // no termios constant for it
    EXPECT_EQ(pty.Speed(), 14400u);

    // A pseudo-terminal keeps 8 data bits without parity; the rest of the line reaches it.
    port.SetStopBits(sbTwoStopBits);
    port.FlowControl().SetFlowControl(fcHardware);
    termios line = pty.Line();
    EXPECT_NE(line.c_cflag & CSTOPB, 0u);
    EXPECT_NE(line.c_cflag & CRTSCTS, 0u);
    port.FlowControl().SetFlowControl(fcSoftware);
    line = pty.Line();
    EXPECT_EQ(line.c_cflag & CRTSCTS, 0u);
    EXPECT_EQ(line.c_iflag & (IXON | IXOFF), static_cast<tcflag_t>(IXON | IXOFF));
}

// Drivers clear a held break when they write a new line format; a rate without a termios
// constant is set with the rest of the line in one call, never passing through another rate.
TEST_F(ComPortTest, HeldBreakOutlastsNewLineSettingsAndACustomRateIsSetInOneCall) {
    port.SetEvents({});
    const std::vector<std::string> calls = test::LineCalls([this] {
        port.Open();
        port.SetBreak(true);
        port.SetBaudRate(br115200);
        port.SetBreak(false);
        port.SetBaudRate(br14400);
        port.SetBaudRate(br19200);
    });
    EXPECT_EQ(calls, (std::vector<std::string>{"TCSETS", "TIOCSBRK", "TCSETS", "TIOCSBRK",
                                               "TIOCCBRK", "TCSETS2", "TCSETS"}));
}

TEST_F(ComPortTest, ReadsAndWritesWaitNoLongerThanTheirTimeouts) {
    port.Open();
    char bytes[16] = {};
    EXPECT_EQ(port.Read(bytes, sizeof bytes), 0u); // the default: what has arrived, at once

    port.Timeouts().ReadTotalConstant = 20000;
    port.Timeouts().ReadInterval = 50;
    pty.Send("abc");
    EXPECT_EQ(port.Read(bytes, sizeof bytes), 3u); // ends at the pause after the bytes
    EXPECT_EQ(std::string(bytes, 3), "abc");
    port.Timeouts().ReadTotalConstant = 50;
    EXPECT_EQ(port.Read(bytes, sizeof bytes), 0u);
    port.Timeouts().ReadInterval = TComTimeouts::Infinite; // the first byte ends the wait
    port.Timeouts().ReadTotalMultiplier = TComTimeouts::Infinite;
    port.Timeouts().ReadTotalConstant = 60000;
    pty.Send("d");
    EXPECT_EQ(port.Read(bytes, sizeof bytes), 1u);

    // Nobody reads the other side: the write ends at its time-out with what went out.
    port.Timeouts().WriteTotalMultiplier = 0;
    port.Timeouts().WriteTotalConstant = 50;
    const std::string flood(1 << 20, 'x');
    EXPECT_LT(port.WriteStr(flood), flood.size());
}

TEST_F(ComPortTest, OtherSideClosingDisconnectsOnceAndLeavesNoThreadBehind) {
    RecordOpenAndClose();
    const int threads = test::ThreadCount();
    port.Open();
    log.clear();
    pty.CloseMaster();
    ASSERT_TRUE(dispatcher.RunUntil([&] { return !log.empty(); }));
    EXPECT_EQ(log, std::vector<std::string>{"Disconnect"}); // no close events
    EXPECT_FALSE(port.Connected());
    EXPECT_EQ(test::ThreadCount(), threads);
    dispatcher.RunPending();
    port.Close();
    EXPECT_EQ(log.size(), 1u);

    TPty next;
    port.SetPort(next.SlaveName());
    ReadOnReceive();
    port.Open();
    next.Send("again");
    ASSERT_TRUE(ReceiveAll(5));
    EXPECT_EQ(received, "again");
}

TEST_F(ComPortTest, FailingAfterOpenHandlerLeavesThePortClosedWithoutItsThread) {
    const int files = test::OpenFileCount();
    const int threads = test::ThreadCount();
    port.OnAfterOpen = [](TComPort&) { throw std::runtime_error("handler failed"); };
    EXPECT_THROW(port.Open(), std::runtime_error);
    EXPECT_FALSE(port.Connected());
    EXPECT_EQ(test::OpenFileCount(), files);
    EXPECT_EQ(test::ThreadCount(), threads);
}

// A USB serial adapter opened by its name answers with EIO once unplugged; the event thread
// sees the hang-up as well. The technician must get one notice, not an error and a notice.
TEST_F(ComPortTest, FailingCallOnAVanishedPortDisconnectsOnceInsteadOfRaising) {
    int disconnects = 0;
    port.OnDisconnect = [&](TComPort&) { ++disconnects; };
    port.Open();
    pty.CloseMaster();
    EXPECT_NO_THROW(port.WriteStr("lost"));
    EXPECT_FALSE(port.Connected());
    dispatcher.RunPending();
    EXPECT_EQ(disconnects, 1);
}

TEST_F(ComPortTest, LostConnectionWithoutHandlerReportsErrorToTheDispatcher) {
    port.Open();
    pty.CloseMaster();
    try {
        dispatcher.RunUntil([&] { return !port.Connected(); });
        FAIL() << "no error 24";
    } catch (const EComPort& error) {
        EXPECT_EQ(error.ErrorCode(), 24);
        EXPECT_STREQ(error.what(), "Device has been disconnected");
    }
    EXPECT_FALSE(port.Connected());
}

TEST_F(ComPortTest, MissingPortOrAdapterRaisesCodeOneWithTheOsErrorIfAny) {
    RecordOpenAndClose();
    port.SetPort("/dev/lcdiag-no-such-port");
    try {
        port.Open();
        FAIL() << "opened a missing port";
    } catch (const EComPort& error) {
        EXPECT_EQ(error.ErrorCode(), 1);
        EXPECT_EQ(error.PlatformError(), ENOENT);
        EXPECT_EQ(error.Path(), "/dev/lcdiag-no-such-port");
        EXPECT_STREQ(error.what(), "Unable to open com port /dev/lcdiag-no-such-port: No such "
                                   "file or directory (error 2)");
    }
    EXPECT_FALSE(port.Connected());
    EXPECT_EQ(log, std::vector<std::string>{"BeforeOpen"});
    try {
        port.Open(true); // an adapter, but no serial number to find it by
        FAIL() << "opened without a key";
    } catch (const EComPort& error) {
        EXPECT_EQ(error.PlatformError(), -1);
        EXPECT_STREQ(error.what(), "Unable to open com port");
    }
    EXPECT_EQ(port.PortMode(), pmD2XX);
}

TEST_F(ComPortTest, OperationsInTheWrongStateRaiseTheirCodesButLineOperationsWhileClosedDoNothing) {
    auto code = [](auto operation) {
        try {
            operation();
        } catch (const EComPort& error) {
            return error.ErrorCode();
        }
        return 0;
    };
    char byte = 0;
    EXPECT_EQ(code([&] { port.Read(&byte, 1); }), 3);
    EXPECT_EQ(code([&] { port.AbortAllAsync(); }), 5);
    EXPECT_EQ(code([&] { port.InputCount(); }), 10);
    // What the dialogue does to the line after the device has gone does nothing.
    EXPECT_EQ(code([&] { EXPECT_EQ(port.Write(&byte, 1), 0U); }), 0);
    EXPECT_EQ(code([&] { port.SetBreak(false); }), 0);
    EXPECT_EQ(code([&] { port.SetBaudRate(br115200); }), 0);
    EXPECT_EQ(EComPort::Text(25), ""); // beyond the table
    port.Open();
    EXPECT_EQ(code([&] { port.SetSyncMethod(smNone); }), 14); // only while closed
    EXPECT_EQ(EComPort::Text(14), "Cannot set property while connected");
}

// The administrator's right to ignore exclusive use (tests may run as root) is dropped.
void DropAdministratorRight() {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct sets[2] = {};
    syscall(SYS_capget, &header, sets);
    sets[CAP_SYS_ADMIN / 32].effective &= ~(1U << (CAP_SYS_ADMIN % 32));
    syscall(SYS_capset, &header, sets);
}

std::string OwnName() {
    std::ifstream comm("/proc/self/comm");
    std::string name;
    std::getline(comm, name);
    return name;
}

// A second program that opens the port is refused and told which program holds it.
TEST_F(ComPortTest, SecondOpenerIsRefusedAndToldWhoHoldsThePort) {
    port.SetEvents({}); // no event thread: this process forks
    port.Open();
    int answer[2];
    ASSERT_EQ(pipe(answer), 0);
    const pid_t second = fork();
    if (second == 0) {
        DropAdministratorRight();
        std::string text = "opened";
        try {
            TComPort other(dispatcher);
            other.SetPort(pty.SlaveName());
            other.Open();
        } catch (const EComPort& error) {
            text = error.what();
        }
        [[maybe_unused]] const auto written = write(answer[1], text.data(), text.size());
        _exit(0);
    }
    close(answer[1]);
    std::string text;
    char chunk[256];
    for (ssize_t got; (got = read(answer[0], chunk, sizeof chunk)) > 0;) {
        text.append(chunk, static_cast<std::size_t>(got));
    }
    close(answer[0]);
    waitpid(second, nullptr, 0);
    EXPECT_EQ(text, "Unable to open com port " + pty.SlaveName() + ": held by " + OwnName() +
                        " (pid " + std::to_string(getpid()) + ")");
}

TEST_F(ComPortTest, RemovalNoticeOfTheConnectedPortDisconnectsOnce) {
    RecordOpenAndClose();
    port.Open();
    log.clear();
    const std::string name = pty.SlaveName(); // "/dev/pts/N"
    std::string otherCase = name;
    otherCase[5] = 'P';
    port.DeviceWatcher().Notify({TDeviceNotice::PortRemoval, {}, otherCase, {}});
    port.DeviceWatcher().Notify(
        {TDeviceNotice::UsbRemoval, {0x0403, 0x9E2B}, {}, "/devices/usb1/1-1"}); // COM mode
    EXPECT_TRUE(port.Connected());
    port.DeviceWatcher().Notify({TDeviceNotice::PortRemoval, {}, name, {}});
    port.DeviceWatcher().Notify({TDeviceNotice::PortRemoval, {}, name, {}});
    EXPECT_FALSE(port.Connected());
    EXPECT_EQ(log, std::vector<std::string>{"Disconnect"});
}

TEST_F(ComPortTest, HundredOpenCloseAndHangUpCyclesLeaveNothingBehind) {
    int disconnects = 0;
    port.OnDisconnect = [&](TComPort&) { ++disconnects; };
    ReadOnReceive();
    const int files = test::OpenFileCount();
    const int threads = test::ThreadCount();
    for (int cycle = 0; cycle < 100; ++cycle) {
        TPty device;
        port.SetPort(device.SlaveName());
        port.Open();
        device.Send("x");
        ASSERT_TRUE(ReceiveAll(static_cast<std::size_t>(cycle) * 2 + 1));
        port.Close();
        port.Open();
        device.Send("y");
        ASSERT_TRUE(ReceiveAll(static_cast<std::size_t>(cycle) * 2 + 2));
        device.CloseMaster();
        ASSERT_TRUE(dispatcher.RunUntil([&] { return disconnects == cycle + 1; }));
    }
    dispatcher.RunPending();
    EXPECT_EQ(disconnects, 100);
    EXPECT_EQ(test::OpenFileCount(), files);
    EXPECT_EQ(test::ThreadCount(), threads);
}

} // namespace
} // namespace lcdiag
