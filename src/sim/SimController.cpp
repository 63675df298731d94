#include "sim/SimController.h"

#include "core/protocol/Clock.h"
#include "sim/EmitterController.h"
#include "sim/ReceiverController.h"

namespace lcdiag::sim {

namespace {

constexpr std::size_t InputLimit = 4096; // the controller's receive buffer
constexpr std::uint32_t MaxGarbage = 12;
constexpr std::uint32_t MillisecondsPerHour = 3'600'000;

} // namespace

SimController::SimController(const ControllerConfig& config)
    : config_(config), codec_(table_.KeywordSum()), rng_(config.seed) {}

std::unique_ptr<SimController> MakeController(const ControllerConfig& config) {
    if (config.unit == Unit::Emitter) {
        return std::make_unique<EmitterController>(config);
    }
    return std::make_unique<ReceiverController>(config);
}

std::uint32_t SimController::Uptime() const {
    return Elapsed(poweredAt_, now_);
}

std::uint32_t SimController::OperatingHours() const {
    return config_.operatingHours + Uptime() / MillisecondsPerHour;
}

void SimController::Tick(std::uint32_t now) {
    now_ = now;
    if (!powered_) {
        powered_ = true;
        poweredAt_ = now;
        Restart();
    }
    SampleBreak();
    const Timing& timing = config_.timing;
    switch (phase_) {
    case Phase::Announcing:
        if (Elapsed(lastIdentification_, now) >= timing.identificationPeriod) {
            Announce();
        }
        break;
    case Phase::AwaitingStart:
        if (!output_.Empty()) {
            phaseSince_ = now; // the wait begins once the report has left
        } else if (Elapsed(phaseSince_, now) >= timing.startWait) {
            Restart();
        }
        break;
    case Phase::Diagnosis:
        if (Elapsed(lastCycle_, now) >= CyclePeriod()) {
            NextCycle();
        }
        break;
    case Phase::AwaitingData:
    case Phase::AwaitingDefaultRecord:
        if (Elapsed(lastInput_, now) >= timing.dataWait) {
            Restart();
        }
        break;
    case Phase::Silent:
        if (config_.faults.silenceMs != 0 &&
            Elapsed(phaseSince_, now) >= config_.faults.silenceMs) {
            Restart();
        }
        break;
    case Phase::BreakSeen:
        break;
    }
}

// A break shorter than the firmware's threshold goes unnoticed; a noticed one is answered
// at once and again when the PC releases the line. A controller silent for a set time hears
// no break.
void SimController::SampleBreak() {
    const bool deaf = phase_ == Phase::Silent && config_.faults.silenceMs != 0;
    if (breakLine_ && !deaf) {
        if (!breakSince_) {
            breakSince_ = now_;
        }
        const std::uint32_t threshold = config_.firmware.NeedsHeldBreak()
                                            ? config_.timing.heldBreak
                                            : config_.timing.pulseBreak;
        if (!breakNoticed_ && Elapsed(*breakSince_, now_) >= threshold) {
            breakNoticed_ = true;
            NoticeBreak();
        }
        return;
    }
    if (breakSince_) {
        const bool noticed = breakNoticed_;
        breakSince_.reset();
        breakNoticed_ = false;
        if (noticed && phase_ == Phase::BreakSeen) {
            AnswerBreakReleased();
        }
    }
}

// A break stops whatever the controller was saying and returns it to the normal line speed.
// The transfer-silence fault strikes when a break asks a cycling controller for settings.
void SimController::NoticeBreak() {
    const bool transfer = phase_ == Phase::Diagnosis;
    output_.Clear();
    input_.clear();
    baud_ = LineBaud;
    if (transfer && config_.faults.transferSilence == TransferSilence::NoReadiness) {
        FallSilent();
        return;
    }
    Enter(Phase::BreakSeen);
    AnswerBreak();
}

void SimController::Receive(std::uint8_t byte) {
    if (breakLine_ || phase_ == Phase::Silent || phase_ == Phase::Diagnosis ||
        phase_ == Phase::BreakSeen) {
        return;
    }
    if (input_.size() >= InputLimit) {
        input_.erase(input_.begin());
    }
    input_.push_back(byte);
    lastInput_ = now_;
    Listen();
}

void SimController::Listen() {
    if (phase_ == Phase::AwaitingData || phase_ == Phase::AwaitingDefaultRecord) {
        TakeSettings();
        return;
    }
    if (TakeFrame(AnswerKeyword(), 0)) {
        input_.clear();
        Report(false);
        Enter(Phase::AwaitingStart);
    } else if (phase_ == Phase::AwaitingStart && TakeFrame(StartKeyword(), 0)) {
        StartDiagnosis();
    }
}

void SimController::Enter(Phase phase) {
    phase_ = phase;
    phaseSince_ = now_;
    lastInput_ = now_;
}

void SimController::Restart() {
    baud_ = LineBaud;
    input_.clear();
    OnRestart();
    Enter(Phase::Announcing);
    Announce();
}

void SimController::Announce() {
    lastIdentification_ = now_;
    SendFrame(IdentificationKeyword());
}

void SimController::ReportAgain() {
    input_.clear();
    Report(true);
    Enter(Phase::AwaitingStart);
}

void SimController::FallSilent() {
    output_.Clear();
    input_.clear();
    Enter(Phase::Silent);
}

void SimController::StartDiagnosis() {
    baud_ = DiagnosisBaud();
    cycles_ = 0;
    lastCycle_ = now_;
    Enter(Phase::Diagnosis);
}

void SimController::NextCycle() {
    lastCycle_ = now_;
    const int silentAfter = config_.faults.silentAfterCycles;
    if (silentAfter >= 0 && cycles_ >= silentAfter) {
        FallSilent();
        return;
    }
    SendCycle();
    ++cycles_;
}

void SimController::SendFrame(int id, std::span<const std::uint8_t> data, bool cycle) {
    const std::string_view text = table_.Text(id);
    std::vector<std::uint8_t> frame(text.begin(), text.end());
    frame.insert(frame.end(), data.begin(), data.end());
    if (cycle && !data.empty() && Chance(config_.faults.wrongChecksums)) {
        frame.back() ^= 0xA5;
    }
    if (Chance(config_.faults.garbage)) {
        for (std::uint32_t n = 1 + Draw(MaxGarbage); n > 0; --n) {
            const auto byte = static_cast<std::uint8_t>(Draw(256));
            output_.Send(std::span(&byte, 1));
        }
    }
    if (frame.size() > 1 && Chance(config_.faults.splitFrames)) {
        const std::size_t cut = 1 + Draw(static_cast<std::uint32_t>(frame.size() - 1));
        output_.Send(std::span(frame).first(cut));
        output_.Pause(1 + Draw(config_.timing.splitPauseMax));
        output_.Send(std::span(frame).subspan(cut));
        return;
    }
    output_.Send(frame);
}

void SimController::SendContinuation(std::span<const std::uint8_t> bytes) {
    output_.Send(bytes);
}

std::optional<std::vector<std::uint8_t>> SimController::TakeFrame(int id, int dataLength) {
    const int at = table_.Find(input_, id);
    if (at < 0) {
        return std::nullopt;
    }
    const auto start = static_cast<std::size_t>(at) + table_.Text(id).size();
    const std::size_t end = start + static_cast<std::size_t>(dataLength);
    if (end > input_.size()) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> data(input_.begin() + static_cast<std::ptrdiff_t>(start),
                                   input_.begin() + static_cast<std::ptrdiff_t>(end));
    input_.erase(input_.begin(), input_.begin() + static_cast<std::ptrdiff_t>(end));
    return data;
}

// Drawn only when the fault is switched on, so a run without faults uses no random numbers.
bool SimController::Chance(double share) {
    if (share <= 0) {
        return false;
    }
    return share >= 1 || rng_() < share * 4294967296.0;
}

std::uint32_t SimController::Draw(std::uint32_t below) {
    return below == 0 ? 0 : rng_() % below;
}

} // namespace lcdiag::sim
