#pragma once

#include "sim/RecordBuilders.h"
#include "sim/SimController.h"

#include <span>
#include <vector>

namespace lcdiag::sim {

// The emitter's controller: identifies itself with keyword 24 or 25, reports firmware,
// factory record and customer record, sends diagnostic records at 19200 bit/s, and after a
// held break (answered with 27) stores a factory or customer record, acknowledges it with 31
// or 32 and reports again.
class EmitterController final : public SimController {
public:
    explicit EmitterController(const ControllerConfig& config);

    std::vector<std::uint8_t> FactoryRecord() const override {
        return {factory_.begin(), factory_.end()};
    }
    std::vector<std::uint8_t> ActiveCustomerRecord() const override {
        return {customer_.begin(), customer_.end()};
    }

private:
    int IdentificationKeyword() const override;
    int AnswerKeyword() const override { return kw::PcAnswerEmitter; }
    int StartKeyword() const override { return kw::StartEmitterDiagnosis; }
    int DiagnosisBaud() const override { return LineBaud; }
    std::uint32_t CyclePeriod() const override { return Config().timing.emitterCyclePeriod; }
    void Report(bool afterTransfer) override;
    void SendCycle() override;
    void AnswerBreak() override;
    void AnswerBreakReleased() override;
    void TakeSettings() override;

    void Store(std::span<const std::uint8_t> factory, std::span<const std::uint8_t> customer,
               int acknowledgement);
    void Tamper();

    EmitterFactoryRecord factory_;
    EmitterCustomerRecord customer_;
    std::uint8_t cycleCounter_ = 0;
};

} // namespace lcdiag::sim
