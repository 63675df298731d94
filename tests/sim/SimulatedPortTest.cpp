#include "PcBench.h"

#include <gtest/gtest.h>
#include <stdexcept>

namespace lcdiag::sim::test {
namespace {

constexpr std::uint8_t Misreads[] = {0x00, 0x80, 0xC0, 0xE0, 0xF0, 0xF8, 0xFC, 0xFE, 0xFF};

TEST(SimulatedPort, BytesTravelAtTheSendersBaudRate) {
    PcBench bench(ControllerConfig{});
    // 58 characters of identification at 19200 bit/s, ten bits each: 30.2 ms.
    const auto identification = bench.Await({kw::ReceiverIdentLong});
    ASSERT_TRUE(identification);
    EXPECT_EQ(identification->at, 31u);

    ASSERT_EQ(bench.Identify().size(), 4u);
    bench.Send(kw::StartReceiverDiagnosis); // 25 characters: 13 ms
    const std::uint32_t sent = bench.clock.Now();
    while (bench.controller->BaudRate() != SimController::FastBaud &&
           bench.clock.Now() - sent < 100) {
        bench.Run(1);
    }
    EXPECT_EQ(bench.clock.Now() - sent, 14u);
    EXPECT_EQ(bench.transmitEmpty, 2); // after keyword 7 and after keyword 10
}

TEST(SimulatedPort, DifferentBaudRatesGarbleBothWays) {
    PcBench bench(ControllerConfig{});
    bench.port.SetBaudRate(SimController::FastBaud);
    EXPECT_FALSE(bench.Await({kw::ReceiverIdentLong}, 1100));
    ASSERT_FALSE(bench.all.empty());
    for (std::uint8_t byte : bench.all) {
        EXPECT_NE(std::find(std::begin(Misreads), std::end(Misreads), byte), std::end(Misreads));
    }
    // A fast receiver samples each slow byte six times.
    EXPECT_EQ(bench.all.size(), 3u * 58u * 6u);

    bench.Send(kw::PcAnswerReceiver); // misread by the controller: no report
    bench.Drain();
    bench.port.SetBaudRate(SimController::LineBaud);
    bench.buffer.clear();
    const auto next = bench.Await({kw::ReceiverIdentLong, kw::FirmwareWithType}, 600);
    ASSERT_TRUE(next);
    EXPECT_EQ(next->id, kw::ReceiverIdentLong);
}

TEST(SimulatedPort, BreakHoldsThePcsBytesAndReachesTheController) {
    PcBench bench(ControllerConfig{});
    ASSERT_TRUE(bench.Await({kw::ReceiverIdentLong}));
    bench.port.SetBreak(true);
    bench.Send(kw::PcAnswerReceiver);
    bench.Run(30);
    EXPECT_EQ(bench.controller->CurrentPhase(), Phase::BreakSeen);
    EXPECT_EQ(bench.port.OutputPending(), bench.table.Text(kw::PcAnswerReceiver).size());
    bench.port.SetBreak(false);
    ASSERT_TRUE(bench.Await({kw::BreakSeenWaiting}, 100));
    bench.Drain();
    EXPECT_EQ(bench.controller->CurrentPhase(), Phase::AwaitingData);
}

TEST(SimulatedPort, ReportsOpeningClosingAndLossOfThePort) {
    PcBench bench(ControllerConfig{});
    EXPECT_EQ(bench.opened, 1);
    bench.port.Open();
    EXPECT_EQ(bench.opened, 1); // already open: nothing happens
    bench.port.Close();
    EXPECT_EQ(bench.closing, 1);
    EXPECT_FALSE(bench.port.Connected());
    bench.Send(kw::PcAnswerReceiver);
    bench.Run(600);
    EXPECT_EQ(bench.port.InputCount(), 0); // nobody listens to the controller
    EXPECT_EQ(bench.controller->CurrentPhase(), Phase::Announcing);

    bench.port.FailOpens(true);
    EXPECT_THROW(bench.port.Open(), std::runtime_error);
    bench.port.FailOpens(false);
    bench.port.Open();
    bench.port.Unplug();
    EXPECT_EQ(bench.disconnected, 1);
    EXPECT_EQ(bench.closing, 1); // a lost port is not closed by the program
    bench.port.Open();
    bench.port.CloseBySelf();
    EXPECT_EQ(bench.closedBySelf, 1);
    EXPECT_FALSE(bench.port.Connected());
}

TEST(SimulatedPort, UsbAdapterHasNoTransmitEmptyEvent) {
    PcBench bench(ControllerConfig{}, 0, PortKind::UsbAdapter);
    ASSERT_EQ(bench.Identify().size(), 4u);
    EXPECT_EQ(bench.transmitEmpty, 0);
}

// A handler that waits (pumps again) sees the line go on, and no event is delivered twice.
TEST(SimulatedPort, AHandlerMayWaitInsideAnEvent) {
    struct WaitingBench : PcBench {
        using PcBench::PcBench;
        void ComPortRxChar(int count) override {
            PcBench::ComPortRxChar(count);
            if (receiveEvents == 1) {
                port.Advance(20);
            }
        }
    };
    WaitingBench bench(ControllerConfig{});
    bench.Run(40);
    EXPECT_EQ(bench.clock.Now(), 60u);
    EXPECT_EQ(bench.all.size(), 58u); // the whole identification, each byte once
    EXPECT_GT(bench.receiveEvents, 20);
}

} // namespace
} // namespace lcdiag::sim::test
