#pragma once

#include "core/protocol/ExpectedKeywordList.h"
#include "core/protocol/FrameSelection.h"
#include "core/protocol/KeywordTable.h"
#include "core/protocol/RecordCodec.h"
#include "sim/SimController.h"
#include "sim/SimulatedPort.h"
#include "sim/VirtualClock.h"

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <span>
#include <vector>

namespace lcdiag::sim::test {

// A frame the bench picked out of the received bytes, and when it was complete.
struct Frame {
    int id = -1;
    std::vector<std::uint8_t> data;
    std::uint32_t at = 0;
};

// A small stand-in for the PC: a virtual clock, a simulated controller and the port between
// them. It keeps what arrives and picks frames out of it with the program's frame selection.
class PcBench : public PortEvents {
public:
    explicit PcBench(const ControllerConfig& config, std::uint32_t start = 0,
                     PortKind kind = PortKind::SerialPort);

    // Runs until a frame of one of the ids is complete and takes it with every byte before
    // it; nothing when none arrives in time.
    std::optional<Frame> Await(std::initializer_list<int> ids, std::uint32_t timeout = 3000);
    void Send(int id, std::span<const std::uint8_t> data = {});
    void Run(std::uint32_t ms) { port.Advance(ms); }
    // Runs until the PC's bytes have left.
    void Drain();

    // The normal course up to cycles: answer, collect the report, start diagnosis and follow
    // the controller to its diagnosis speed. Returns the report's frames.
    std::vector<Frame> Identify();
    std::vector<Frame> Diagnose();
    // The report's frames up to the customer data, or as many as arrive in time.
    std::vector<Frame> AwaitReport(bool receiver);

    // Runs until the keyword's text has arrived, without taking it.
    bool RunUntilSeen(int id, std::uint32_t timeout);
    // The break as the PC gives a receiver: held until it answers for firmware before 1.10,
    // a 50 ms pulse from 1.10 on. Returns the controller's handshake byte.
    std::optional<std::uint8_t> OpenReceiverForSettings();
    // Holds the break until an emitter says it waits for data, then releases it.
    bool OpenEmitterForSettings(std::uint32_t timeout = 500);

    // A cycle triple decoded into the long layout; nothing when none arrives in time.
    std::optional<std::vector<std::vector<std::uint8_t>>> AwaitCycle();

    Layout WireLayout() const { return layout; }

    void ComPortAfterOpen() override { ++opened; }
    void ComPortBeforeClose() override { ++closing; }
    void ComPortRxChar(int count) override;
    void ComPortTxEmpty() override { ++transmitEmpty; }
    void ComPortEvent2() override { ++closedBySelf; }
    void ComPortDisconnect() override { ++disconnected; }

    KeywordTable table;
    RecordCodec codec{table.KeywordSum()};
    Layout layout;
    VirtualClock clock;
    std::unique_ptr<SimController> controller;
    SimulatedPort port;
    std::vector<std::uint8_t> buffer; // received and not yet taken
    std::vector<std::uint8_t> all;    // everything received
    int receiveEvents = 0;
    int opened = 0;
    int closing = 0;
    int transmitEmpty = 0;
    int closedBySelf = 0;
    int disconnected = 0;
};

// The customer or factory record with the given content, as the PC sends it after keyword
// 4/19 or 2/18: handshake answer, then the record encoded for the layout.
std::vector<std::uint8_t> StorePayload(const PcBench& bench, std::uint8_t handshake,
                                       std::span<const std::uint8_t> longRecord, BlockKind kind);

// Moves the two bytes at `at` one step apart: their value changes, the sum of all bytes does
// not, so a broken checksum complement still adds up.
void ShiftKeepingSum(std::span<std::uint8_t> bytes, std::size_t at);

} // namespace lcdiag::sim::test
