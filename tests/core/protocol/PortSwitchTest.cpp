#include "core/protocol/PortSwitch.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace lcdiag {
namespace {

// A port that only remembers whether it is open and what was written to it.
class NotedPort final : public Port {
public:
    bool Connected() const override { return open; }
    PortKind Kind() const override { return PortKind::SerialPort; }
    void Open() override { open = true; }
    void Close() override { open = false; }
    void Write(std::span<const std::uint8_t> bytes) override { written += bytes.size(); }
    void WriteStr(std::string_view text) override { written += text.size(); }
    int Read(std::span<std::uint8_t>) override { return 0; }
    int InputCount() const override { return 0; }
    void SetBreak(bool) override {}
    void SetBaudRate(int) override {}

    bool open = false;
    std::size_t written = 0;
};

class FixedClock final : public Clock {
public:
    explicit FixedClock(std::uint32_t now) : now_(now) {}
    std::uint32_t Now() const override { return now_; }

private:
    std::uint32_t now_;
};

class NotedEvents final : public PortEvents {
public:
    void ComPortAfterOpen() override { log.push_back("open"); }
    void ComPortBeforeClose() override { log.push_back("close"); }
    void ComPortRxChar(int count) override { log.push_back("rx " + std::to_string(count)); }
    void ComPortTxEmpty() override { log.push_back("txempty"); }
    void ComPortEvent2() override { log.push_back("event2"); }
    void ComPortDisconnect() override { log.push_back("disconnect"); }

    std::vector<std::string> log;
};

TEST(PortSwitchTest, CallsClockAndEventsFollowTheSelectedSourceOnly) {
    NotedPort serial;
    NotedPort simulated;
    const FixedClock tick(1000);
    const FixedClock simulatedTick(1200);
    PortSwitch line(serial, tick);
    NotedEvents dialogue;
    line.SetListener(&dialogue);
    PortSwitch::Input fromSerial(line, serial);
    PortSwitch::Input fromSimulated(line, simulated);

    line.Open();
    line.WriteStr("abc");
    EXPECT_TRUE(serial.open);
    EXPECT_EQ(serial.written, 3u);
    EXPECT_EQ(line.LineClock().Now(), 1000u);
    fromSerial.ComPortRxChar(4);
    fromSimulated.ComPortRxChar(5); // not in use: dropped

    line.Close();
    line.Select(simulated, simulatedTick);
    fromSerial.ComPortDisconnect(); // the port just left reports late: dropped
    line.Open();
    fromSimulated.ComPortAfterOpen();
    fromSimulated.ComPortTxEmpty();
    EXPECT_TRUE(simulated.open);
    EXPECT_FALSE(serial.open);
    EXPECT_EQ(&line.Selected(), &simulated);
    EXPECT_EQ(line.LineClock().Now(), 1200u);
    EXPECT_EQ(dialogue.log, (std::vector<std::string>{"rx 4", "open", "txempty"}));
}

} // namespace
} // namespace lcdiag
