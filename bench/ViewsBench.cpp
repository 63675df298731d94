// One redraw of each live picture at the largest screen profile, as the cyclic timer does it
// after every diagnostic cycle.
#include "SampleCycles.h"
#include "core/app/ScreenProfile.h"
#include "core/app/Texts.h"
#include "gui/views/ViewPictures.h"

#include <QApplication>
#include <benchmark/benchmark.h>

namespace lcdiag {
namespace {

using namespace testing;

// An object moving through a 150-beam light curtain: each cycle interrupts other beams.
std::vector<LiveViewData> MovingObject() {
    std::vector<LiveViewData> cycles;
    for (int position = 0; position < 16; ++position) {
        ReceiverSample sample;
        sample.beams = 150;
        sample.free = AllBut(150, {position, position + 1, position + 2, position + 40});
        sample.weak = Only({position + 60});
        sample.active = AllBut(150, {100, 101});
        sample.ledStatus = position % 2 == 0 ? 0x20 : 0;
        sample.function1 = static_cast<std::uint8_t>(position);
        LiveViewData data = ReceiverData(sample);
        cycles.push_back(data);
    }
    return cycles;
}

ViewPictures& Largest() {
    const ScreenProfile& profile = GetScreenProfile(4);
    static const Texts english;
    static ViewPictures pictures(4, QSize(profile.width - 16, profile.height - 62), ViewBuild{},
                                 ViewColours::FromPalette(QApplication::palette()), QImage(), 25,
                                 english);
    return pictures;
}

void BarRedraw(benchmark::State& state) {
    const std::vector<LiveViewData> cycles = MovingObject();
    ViewPictures& pictures = Largest();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(pictures.DrawBar(cycles[i++ % cycles.size()], 1).constBits());
    }
}
BENCHMARK(BarRedraw)->Unit(benchmark::kMicrosecond);

void StatusRedraw(benchmark::State& state) {
    const std::vector<LiveViewData> cycles = MovingObject();
    ViewPictures& pictures = Largest();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(pictures.DrawStatus(cycles[i++ % cycles.size()]).constBits());
    }
}
BENCHMARK(StatusRedraw)->Unit(benchmark::kMicrosecond);

void LinesRedraw(benchmark::State& state) {
    const std::vector<LiveViewData> cycles = MovingObject();
    ViewPictures& pictures = Largest();
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            pictures.DrawLines(cycles[i++ % cycles.size()], LinesPage::Lines).constBits());
    }
}
BENCHMARK(LinesRedraw)->Unit(benchmark::kMicrosecond);

// The grid, labels and modules drawn again, as after a change of the dimensioning.
void LinesGridRedraw(benchmark::State& state) {
    std::vector<LiveViewData> cycles = MovingObject();
    ViewPictures& pictures = Largest();
    std::size_t i = 0;
    for (auto _ : state) {
        LiveViewData& data = cycles[i++ % cycles.size()];
        data.dimensioning = i % 2 == 0 ? DimensioningMode::BeamNumber : DimensioningMode::Position;
        benchmark::DoNotOptimize(pictures.DrawLines(data, LinesPage::Lines).constBits());
    }
}
BENCHMARK(LinesGridRedraw)->Unit(benchmark::kMicrosecond);

} // namespace
} // namespace lcdiag

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
