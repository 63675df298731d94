#include "PcBench.h"

#include "sim/RecordBuilders.h"

namespace lcdiag::sim::test {

PcBench::PcBench(const ControllerConfig& config, std::uint32_t start, PortKind kind)
    : layout(config.layout), clock(start), controller(MakeController(config)),
      port(clock, *controller, kind, config.seed) {
    port.SetListener(this);
    port.Open();
}

void PcBench::ComPortRxChar(int count) {
    ++receiveEvents;
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(count));
    bytes.resize(static_cast<std::size_t>(port.Read(bytes)));
    buffer.insert(buffer.end(), bytes.begin(), bytes.end());
    all.insert(all.end(), bytes.begin(), bytes.end());
}

std::optional<Frame> PcBench::Await(std::initializer_list<int> ids, std::uint32_t timeout) {
    ExpectedKeywordList expected;
    for (int id : ids) {
        expected.Add(id);
    }
    for (std::uint32_t waited = 0;; ++waited) {
        const auto found = SelectFrame(table, expected, buffer, layout);
        // Keyword 9 followed by "_" is the start of keyword 8, whose data are still coming.
        const bool firmwareComing = found && found->id == kw::FirmwareType1 &&
                                    buffer[static_cast<std::size_t>(found->position) +
                                           table.Text(kw::FirmwareType1).size()] == '_';
        if (found && !firmwareComing) {
            const auto start = buffer.begin() + found->position;
            const auto dataStart =
                start + static_cast<std::ptrdiff_t>(table.Text(found->id).size());
            const auto end = start + found->length;
            Frame frame{found->id, std::vector<std::uint8_t>(dataStart, end), clock.Now()};
            buffer.erase(buffer.begin(), end);
            return frame;
        }
        if (waited == timeout) {
            return std::nullopt;
        }
        port.Advance(1);
    }
}

void PcBench::Send(int id, std::span<const std::uint8_t> data) {
    port.WriteStr(table.Text(id));
    port.Write(data);
}

void PcBench::Drain() {
    while (port.OutputPending() > 0) {
        port.Advance(1);
    }
}

std::vector<Frame> PcBench::Identify() {
    const auto identification = Await({kw::ReceiverIdentShort, kw::ReceiverIdentLong,
                                       kw::EmitterIdentShort, kw::EmitterIdentLong});
    if (!identification) {
        return {};
    }
    const bool receiver = identification->id <= kw::ReceiverIdentLong;
    Send(receiver ? kw::PcAnswerReceiver : kw::PcAnswerEmitter);
    return AwaitReport(receiver);
}

std::vector<Frame> PcBench::AwaitReport(bool receiver) {
    std::vector<Frame> report;
    const int last = receiver ? kw::ReceiverCustomerData : kw::EmitterCustomerData;
    while (report.empty() || report.back().id != last) {
        auto frame =
            receiver
                ? Await({kw::ReceiverCustomerData, kw::ReceiverFactoryData, kw::FirmwareWithType,
                         kw::FirmwareType1, kw::OperatingHours})
                : Await({kw::EmitterFirmware, kw::EmitterFactoryData, kw::EmitterCustomerData});
        if (!frame) {
            break;
        }
        report.push_back(*frame);
    }
    return report;
}

std::vector<Frame> PcBench::Diagnose() {
    auto report = Identify();
    if (controller->Config().unit == Unit::Receiver) {
        Send(kw::StartReceiverDiagnosis);
        Drain();
        port.SetBaudRate(SimController::FastBaud);
    } else {
        Send(kw::StartEmitterDiagnosis);
    }
    buffer.clear();
    return report;
}

bool PcBench::RunUntilSeen(int id, std::uint32_t timeout) {
    for (std::uint32_t waited = 0; waited < timeout; ++waited) {
        if (table.Find(buffer, id) >= 0) {
            return true;
        }
        Run(1);
    }
    return false;
}

std::optional<std::uint8_t> PcBench::OpenReceiverForSettings() {
    buffer.clear();
    if (controller->Config().firmware.version < 110) {
        port.SetBaudRate(SimController::LineBaud);
        port.SetBreak(true);
        if (!RunUntilSeen(kw::BreakSeen, 500)) {
            return std::nullopt;
        }
        port.SetBreak(false);
    } else {
        port.SetBreak(true);
        Run(50);
        port.SetBreak(false);
        port.SetBaudRate(SimController::LineBaud);
    }
    const auto ready = Await({kw::BreakSeenWaiting}, 500);
    return ready ? std::optional(ready->data[0]) : std::nullopt;
}

bool PcBench::OpenEmitterForSettings(std::uint32_t timeout) {
    port.SetBreak(true);
    const auto waiting = Await({kw::EmitterWaitingForData}, timeout);
    const bool heldMeanwhile = port.BreakOn();
    port.SetBreak(false);
    Run(100);
    return waiting && heldMeanwhile;
}

std::optional<std::vector<std::vector<std::uint8_t>>> PcBench::AwaitCycle() {
    std::vector<std::vector<std::uint8_t>> parts;
    while (parts.size() < 3) {
        const auto frame = Await({kw::ReceiverCyclePart}, 200);
        if (!frame) {
            return std::nullopt;
        }
        if (frame->data[1] != '1' + parts.size()) {
            parts.clear(); // joined in the middle of a triple
            if (frame->data[1] != '1') {
                continue;
            }
        }
        std::vector<std::uint8_t> part(41);
        codec.Decode(frame->data, part, layout, BlockKind::CyclePart);
        parts.push_back(part);
    }
    return parts;
}

std::vector<std::uint8_t> StorePayload(const PcBench& bench, std::uint8_t handshake,
                                       std::span<const std::uint8_t> longRecord, BlockKind kind) {
    std::vector<std::uint8_t> payload{ReverseBits(handshake)};
    std::vector<std::uint8_t> record(static_cast<std::size_t>(BlockLength(kind, bench.layout)));
    bench.codec.Encode(longRecord, record, bench.layout, kind);
    payload.insert(payload.end(), record.begin(), record.end());
    return payload;
}

void ShiftKeepingSum(std::span<std::uint8_t> bytes, std::size_t at) {
    const int step = bytes[at] < 255 && bytes[at + 1] > 0 ? 1 : -1;
    bytes[at] = static_cast<std::uint8_t>(bytes[at] + step);
    bytes[at + 1] = static_cast<std::uint8_t>(bytes[at + 1] - step);
}

} // namespace lcdiag::sim::test
