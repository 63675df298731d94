#include "gui/app/SimulatedDevice.h"

#include "sim/SimOptions.h"

#include <QTimer>
#include <algorithm>
#include <charconv>

namespace lcdiag {

namespace {

constexpr int PaceMs = 5;
// After a long stall (a debugger, a suspended machine) the line does not replay the gap.
constexpr std::uint32_t MaxCatchUpMs = 2000;

// Takes "--unplug-after MS" out of the options; -1 when absent, nothing when malformed.
std::optional<int> TakeUnplugAfter(std::vector<std::string>& options) {
    const auto at = std::find(options.begin(), options.end(), "--unplug-after");
    if (at == options.end()) {
        return -1;
    }
    if (at + 1 == options.end()) {
        return std::nullopt;
    }
    const std::string& text = *(at + 1);
    int ms = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), ms);
    if (error != std::errc{} || end != text.data() + text.size() || ms < 0) {
        return std::nullopt;
    }
    options.erase(at, at + 2);
    return ms;
}

} // namespace

std::variant<std::unique_ptr<SimulatedDevice>, std::string>
SimulatedDevice::Start(const SimulationRequest& request, const Clock& tick) {
    std::vector<std::string> options = request.options;
    const std::optional<int> unplugAfter = TakeUnplugAfter(options);
    if (!unplugAfter) {
        return std::string("--unplug-after takes a number of milliseconds");
    }
    options.insert(options.begin(),
                   request.unit == ControllerType::Emitter ? "emitter" : "receiver");
    options.insert(options.begin(), "--unit");
    sim::SimOptions parsed = sim::ParseSimOptions(options);
    if (!parsed.error.empty()) {
        return parsed.error;
    }
    if (parsed.help) {
        return std::string(sim::SimUsage());
    }
    return std::unique_ptr<SimulatedDevice>(new SimulatedDevice(parsed.config, tick, *unplugAfter));
}

SimulatedDevice::SimulatedDevice(const sim::ControllerConfig& config, const Clock& tick,
                                 int unplugAfterMs)
    : clock_(tick.Now()), controller_(sim::MakeController(config)),
      port_(clock_, *controller_, PortKind::SerialPort, config.seed), tick_(tick),
      started_(clock_.Now()), pace_(new QTimer(this)), unplugAfterMs_(unplugAfterMs) {
    pace_->setInterval(PaceMs);
    connect(pace_, &QTimer::timeout, this, &SimulatedDevice::CatchUp);
    pace_->start();
}

SimulatedDevice::~SimulatedDevice() {
    port_.SetListener(nullptr);
}

void SimulatedDevice::CatchUp() {
    const std::uint32_t now = tick_.Now();
    const std::uint32_t behind = Elapsed(clock_.Now(), now);
    if (behind > MaxCatchUpMs) {
        clock_.Advance(behind - MaxCatchUpMs);
    }
    if (unplugAfterMs_ >= 0 &&
        Elapsed(started_, now) >= static_cast<std::uint32_t>(unplugAfterMs_) && port_.Connected()) {
        unplugAfterMs_ = -1;
        port_.Unplug();
        return;
    }
    port_.Advance(Elapsed(clock_.Now(), now));
}

} // namespace lcdiag
