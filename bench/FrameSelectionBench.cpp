// Frame selection runs on every receive event on the user-interface thread: a full receive
// buffer (4096 bytes) searched for the largest expected list (ten ids).
#include "core/protocol/FrameSelection.h"

#include <benchmark/benchmark.h>
#include <vector>

namespace {

using namespace lcdiag;

// Noise with a keyword-like prefix every few bytes, so that the scan does real work, and one
// complete frame of the last expected keyword at the very end.
std::vector<std::uint8_t> FullBuffer(const KeywordTable& table, int lastId) {
    std::vector<std::uint8_t> buffer;
    const std::string_view decoy = "ZENO4_Empfaenger_x";
    while (buffer.size() < 4096) {
        buffer.insert(buffer.end(), decoy.begin(), decoy.end());
        buffer.push_back(static_cast<std::uint8_t>(buffer.size() * 31));
    }
    const std::string_view keyword = table.Text(lastId);
    const auto frameLength = static_cast<std::size_t>(table.FrameLength(lastId, Layout::Long));
    buffer.resize(4096 - frameLength);
    buffer.insert(buffer.end(), keyword.begin(), keyword.end());
    buffer.resize(4096, 0);
    return buffer;
}

void BM_SelectFrameFullBufferTenIds(benchmark::State& state) {
    const KeywordTable table;
    ExpectedKeywordList expected;
    for (int id : {1, 3, 8, 9, 16, 11, 12, 13, 17, 0}) {
        expected.Add(id);
    }
    const auto buffer = FullBuffer(table, 0);
    for (auto _ : state) {
        auto frame = SelectFrame(table, expected, buffer, Layout::Long);
        benchmark::DoNotOptimize(frame);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * 4096);
}
BENCHMARK(BM_SelectFrameFullBufferTenIds);

} // namespace
