#pragma once

#include "sim/RecordBuilders.h"
#include "sim/SimController.h"

#include <array>
#include <span>
#include <vector>

namespace lcdiag::sim {

// The receiver's controller: identifies itself with keyword 5 or 6, reports firmware,
// operating hours, factory record and its ring of eight customer records, sends diagnostic
// cycles at 115200 bit/s, and stores factory and customer settings after a break.
class ReceiverController final : public SimController {
public:
    static constexpr int RingSlots = 8;
    static constexpr int RingStart = 1024; // the configuration pointer of slot 0

    explicit ReceiverController(const ControllerConfig& config);

    std::vector<std::uint8_t> FactoryRecord() const override;
    std::vector<std::uint8_t> ActiveCustomerRecord() const override;
    // A ring slot as the controller keeps it, in the layout of the line.
    std::span<const std::uint8_t> CustomerRecord(int slot) const;
    int ActiveSlot() const { return activeSlot_; }
    int ConfigurationNumber() const { return configurationNumber_; }

private:
    int IdentificationKeyword() const override;
    int AnswerKeyword() const override { return kw::PcAnswerReceiver; }
    int StartKeyword() const override { return kw::StartReceiverDiagnosis; }
    int DiagnosisBaud() const override { return FastBaud; }
    std::uint32_t CyclePeriod() const override { return Config().timing.receiverCyclePeriod; }
    void Report(bool afterTransfer) override;
    void SendCycle() override;
    void AnswerBreak() override;
    void AnswerBreakReleased() override;
    void TakeSettings() override;
    void OnRestart() override;

    void SendFirmware();
    void SendOperatingHours();
    void SendFactoryRecord();
    void SendCustomerRecords();
    void AcceptFactory(std::span<const std::uint8_t> data);
    void AcceptCustomer(std::span<const std::uint8_t> data);
    void AcceptDefaultRecord(std::span<const std::uint8_t> record);
    bool Acceptable(std::uint8_t handshake, std::span<const std::uint8_t> record, BlockKind kind);
    bool WrittenByTooOldPc(std::span<const std::uint8_t> record, BlockKind kind) const;
    void StoreConfiguration(std::span<const std::uint8_t> record);
    void StampActiveConfiguration();
    void Tamper(std::vector<std::uint8_t>& record, BlockKind kind) const;

    int RecordSize() const;
    ReceiverFactoryRecord LongFactory() const;
    ReceiverCustomerRecord LongActiveRecord() const;

    std::vector<std::uint8_t> factory_; // both in the controller's layout
    std::array<std::vector<std::uint8_t>, RingSlots> ring_;
    int activeSlot_ = 0;
    int configurationNumber_ = 0;
    std::uint8_t handshake_ = 0;
    std::uint8_t cycleCounter_ = 0;
    std::optional<std::uint32_t> lastInterruption_;
};

} // namespace lcdiag::sim
