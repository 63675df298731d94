#include "platform/serial/ComPortLink.h"

#include "Pty.h"
#include "QueueDispatcher.h"
#include "platform/serial/ComPort.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace lcdiag {
namespace {

using test::TPty;
using test::TQueueDispatcher;

// Records the events and, like the connection dialogue, reads what each receive reports.
class RecordingEvents : public PortEvents {
public:
    explicit RecordingEvents(Port& port) : port_(port) {}

    void ComPortAfterOpen() override { log.push_back("AfterOpen"); }
    void ComPortBeforeClose() override { log.push_back("BeforeClose"); }
    void ComPortTxEmpty() override { log.push_back("TxEmpty"); }
    void ComPortEvent2() override { log.push_back("Event2"); }
    void ComPortDisconnect() override { log.push_back("Disconnect"); }
    void ComPortRxChar(int count) override {
        std::vector<std::uint8_t> bytes(static_cast<std::size_t>(count));
        bytes.resize(static_cast<std::size_t>(port_.Read(bytes)));
        received.append(bytes.begin(), bytes.end());
    }

    std::vector<std::string> log;
    std::string received;

private:
    Port& port_;
};

class ComPortLinkTest : public ::testing::Test {
protected:
    void SetUp() override {
        port.SetPort(pty.SlaveName());
        port.SetBaudRate(br19200);
        link.SetListener(&events);
    }

    bool Logged(const std::string& entry) {
        return dispatcher.RunUntil([&] {
            return std::find(events.log.begin(), events.log.end(), entry) != events.log.end();
        });
    }

    TPty pty;
    TQueueDispatcher dispatcher;
    TComPort port{dispatcher};
    ComPortLink link{port};
    RecordingEvents events{link};
};

TEST_F(ComPortLinkTest, OpenTalkChangeSpeedAndHangUpReachTheListener) {
    EXPECT_EQ(link.Kind(), PortKind::SerialPort);
    link.Open();
    pty.Send("ZENO");
    ASSERT_TRUE(dispatcher.RunUntil([&] { return events.received.size() >= 4; }));
    EXPECT_EQ(events.received, "ZENO");
    EXPECT_EQ(link.InputCount(), 0);

    link.WriteStr("Answer");
    const std::uint8_t block[] = {0x00, 0xFF, 0x0D};
    link.Write(block);
    EXPECT_EQ(pty.Receive(9), std::string("Answer\x00\xFF\x0D", 9));
    EXPECT_TRUE(Logged("TxEmpty"));

    for (const auto& [baud, setting] : {std::pair{115200u, br115200}, std::pair{19200u, br19200}}) {
        link.SetBaudRate(static_cast<int>(baud));
        EXPECT_EQ(port.BaudRate(), setting);
        EXPECT_EQ(pty.Speed(), baud);
    }
    link.SetBaudRate(250000);
    EXPECT_EQ(port.BaudRateValue(), 250000u);

    pty.CloseMaster();
    ASSERT_TRUE(Logged("Disconnect"));
    EXPECT_FALSE(link.Connected());
    EXPECT_EQ(events.log.front(), "AfterOpen");
    EXPECT_EQ(std::count(events.log.begin(), events.log.end(), "BeforeClose"), 0);
}

TEST_F(ComPortLinkTest, CloseReachesTheListenerAndAdapterKindFailsWithoutAnAdapter) {
    link.Open();
    link.Close();
    EXPECT_FALSE(link.Connected());
    EXPECT_EQ(events.log.back(), "BeforeClose");
    link.SetKind(PortKind::UsbAdapter);
    EXPECT_ANY_THROW(link.Open()); // no device list: no adapter to open
    EXPECT_FALSE(link.Connected());
    EXPECT_EQ(port.PortMode(), pmD2XX);
}

TEST(ComPortLinkLifetime, AGoneLinkLeavesNoHandlerBehind) {
    TQueueDispatcher dispatcher;
    TComPort port{dispatcher};
    { ComPortLink link{port}; }
    EXPECT_FALSE(port.OnAfterOpen);
    EXPECT_FALSE(port.OnRxChar);
    EXPECT_FALSE(port.OnDisconnect);
}

} // namespace
} // namespace lcdiag
