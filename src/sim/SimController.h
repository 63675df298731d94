#pragma once

#include "core/protocol/KeywordTable.h"
#include "core/protocol/RecordCodec.h"
#include "sim/ControllerConfig.h"
#include "sim/Transmitter.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <random>
#include <span>
#include <vector>

namespace lcdiag::sim {

// Where a simulated controller stands in its conversation with the PC.
enum class Phase {
    Announcing,            // identifies itself periodically until the PC answers
    AwaitingStart,         // has reported its data and waits for the start of diagnosis
    Diagnosis,             // sends its cycles
    BreakSeen,             // noticed a break and waits for the line to be released
    AwaitingData,          // waits for settings to store
    AwaitingDefaultRecord, // receiver: stored a factory record, waits for the default settings
    Silent,                // says nothing (an injected fault)
};

// A light curtain controller as the PC meets it on the diagnostic line: a byte-level state
// machine fed with the bytes its UART reads, the break condition and the millisecond tick;
// what it says waits in Output() for the line to carry it at BaudRate().
class SimController {
public:
    static constexpr int LineBaud = 19200;
    static constexpr int FastBaud = 115200;

    explicit SimController(const ControllerConfig& config);
    virtual ~SimController() = default;
    SimController(const SimController&) = delete;
    SimController& operator=(const SimController&) = delete;

    // The controller's time-driven work, once every millisecond; the first call powers it up.
    void Tick(std::uint32_t now);
    // One byte as the controller's UART read it from the line.
    void Receive(std::uint8_t byte);
    // Whether the PC holds the line in the break condition; sampled at every tick.
    void SetBreak(bool on) { breakLine_ = on; }
    // Stops talking and listening at once (an injected fault): until a break while the
    // configured silence is 0, else for that long, breaks included; then it starts afresh.
    void FallSilent();

    int BaudRate() const { return baud_; }
    Transmitter& Output() { return output_; }
    Phase CurrentPhase() const { return phase_; }
    const ControllerConfig& Config() const { return config_; }
    // Cycles sent since diagnosis last started.
    int CyclesSent() const { return cycles_; }
    // The operating-hours counter: its value at power-up plus the hours run since.
    std::uint32_t OperatingHours() const;

    // The records in the controller's memory, in the long layout whichever layout the line
    // carries: the factory record (receiver 212 bytes, emitter 64) and the customer record in
    // force (the receiver's active configuration, 152 bytes; the emitter's 22). The receiver
    // writes a configuration's operating hours into its last six bytes at the first start
    // after storing it.
    virtual std::vector<std::uint8_t> FactoryRecord() const = 0;
    virtual std::vector<std::uint8_t> ActiveCustomerRecord() const = 0;

protected:
    virtual int IdentificationKeyword() const = 0;
    virtual int AnswerKeyword() const = 0;
    virtual int StartKeyword() const = 0;
    virtual int DiagnosisBaud() const = 0;
    virtual std::uint32_t CyclePeriod() const = 0;
    // Sends the unit's data once the PC has answered, or again after storing settings.
    virtual void Report(bool afterTransfer) = 0;
    virtual void SendCycle() = 0;
    // The break is noticed while the PC still holds it; then it is released.
    virtual void AnswerBreak() = 0;
    virtual void AnswerBreakReleased() = 0;
    // Looks for the settings the controller waits for in the received bytes.
    virtual void TakeSettings() = 0;
    // Work of a (re)start, before the first identification.
    virtual void OnRestart() {}

    // A keyword and its data, subject to the injected line faults (garbage before it, a
    // pause inside it); a cycle frame may also get a broken checksum.
    void SendFrame(int id, std::span<const std::uint8_t> data = {}, bool cycle = false);
    // Bytes that complete what was sent before, without line faults.
    void SendContinuation(std::span<const std::uint8_t> bytes);
    // The data of keyword `id` once its `dataLength` bytes have arrived; the frame and every
    // byte before it are consumed.
    std::optional<std::vector<std::uint8_t>> TakeFrame(int id, int dataLength);

    void Enter(Phase phase);
    void Restart();
    // After storing settings: report again, then wait as after a normal report.
    void ReportAgain();

    bool Chance(double share);
    std::uint32_t Draw(std::uint32_t below);
    std::uint32_t Now() const { return now_; }
    std::uint32_t Uptime() const;
    const KeywordTable& Table() const { return table_; }
    const RecordCodec& Codec() const { return codec_; }
    Layout WireLayout() const { return config_.layout; }

private:
    void SampleBreak();
    void NoticeBreak();
    void Announce();
    void NextCycle();
    void StartDiagnosis();
    void Listen();

    ControllerConfig config_;
    KeywordTable table_;
    RecordCodec codec_;
    std::mt19937 rng_;
    Transmitter output_;
    std::vector<std::uint8_t> input_;
    Phase phase_ = Phase::Announcing;
    int baud_ = LineBaud;
    bool powered_ = false;
    std::uint32_t now_ = 0;
    std::uint32_t poweredAt_ = 0;
    std::uint32_t phaseSince_ = 0;
    std::uint32_t lastInput_ = 0;
    std::uint32_t lastIdentification_ = 0;
    std::uint32_t lastCycle_ = 0;
    int cycles_ = 0;
    bool breakLine_ = false;
    std::optional<std::uint32_t> breakSince_;
    bool breakNoticed_ = false;
};

// The receiver or the emitter controller the configuration asks for.
std::unique_ptr<SimController> MakeController(const ControllerConfig& config);

} // namespace lcdiag::sim
