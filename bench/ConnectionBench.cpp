// CPU time per received receiver cycle (recognition, decode, evaluation) in live diagnosis,
// against the cycle's time on the line: three frames of 48 bytes at 115200 bit/s take
// 3 x 48 x 10 / 115200 s = 12.5 ms.
#include "ConnectionDoubles.h"
#include "core/app/Texts.h"

#include <benchmark/benchmark.h>
#include <vector>

namespace {

using namespace lcdiag;
using namespace lcdiag::e2e;

// One cycle as the receiver sends it: three frames of keyword 0 with their part digits.
std::vector<std::uint8_t> CycleTriple(const KeywordTable& table, const RecordCodec& codec) {
    std::vector<std::uint8_t> bytes;
    for (char digit : {'1', '2', '3'}) {
        std::vector<std::uint8_t> part(41, 0xF0);
        part[1] = static_cast<std::uint8_t>(digit);
        part[2] = 96;
        part[3] = 1;
        codec.WriteChecksum(part, BlockKind::CyclePart, Layout::Long);
        const auto keyword = table.Text(kw::ReceiverCyclePart);
        bytes.insert(bytes.end(), keyword.begin(), keyword.end());
        bytes.insert(bytes.end(), part.begin(), part.end());
    }
    return bytes;
}

void BM_ReceiverCycle(benchmark::State& state) {
    ScriptedPort port;
    ImmediateTimers timers;
    RecordingView view;
    ManualClock clock;
    FixedPcClock pcClock;
    const Texts texts;
    ConnectionController controller(port, clock, timers, view, texts, pcClock, {1, 40});
    // Into diagnosis the short way: identification, customer records, keyword 10 sent.
    controller.ComPortAfterOpen();
    const auto ident = controller.Keywords().Text(kw::ReceiverIdentLong);
    port.incoming.assign(ident.begin(), ident.end());
    controller.ComPortRxChar(0);
    const auto records = controller.Keywords().Text(kw::ReceiverCustomerData);
    port.incoming.assign(records.begin(), records.end());
    port.incoming.resize(port.incoming.size() + 1216);
    controller.ComPortRxChar(0); // at most 1024 bytes per event
    controller.ComPortRxChar(0);
    controller.ComPortTxEmpty();
    controller.Timer2Fire();

    // The last three frames wait for more bytes, so one triple stays ahead in the buffer and
    // each event below completes exactly one cycle.
    const auto triple = CycleTriple(controller.Keywords(), controller.Codec());
    port.incoming.assign(triple.begin(), triple.end());
    controller.ComPortRxChar(0);
    for (auto _ : state) {
        port.incoming.insert(port.incoming.end(), triple.begin(), triple.end());
        controller.ComPortRxChar(0);
    }
    if (controller.State() != LinkState::Diagnosis || !controller.ReceiverCycles().Valid()) {
        state.SkipWithError("the cycles were not applied");
    }
    // How many times faster a cycle is handled than the line delivers it.
    const double lineSeconds = 3.0 * 48 * 10 / 115200;
    state.counters["faster_than_line"] = benchmark::Counter(
        static_cast<double>(state.iterations()) * lineSeconds, benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ReceiverCycle);

} // namespace
