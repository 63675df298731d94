#pragma once

#include "core/device/EmitterCustomerRecord.h"
#include "core/device/PcClock.h"

namespace lcdiag {

class Texts;

// The emitter's user settings page: beam coding A alone, which must match the receiver's.
class EmitterSettings {
public:
    explicit EmitterSettings(const Texts& texts) : texts_(texts) {}

    // Fills the page from the emitter's customer record (or, with `defaults`, with beam coding
    // off). False, with its message shown, while the emitter's factory data or its
    // configuration are unknown; the page then stays as it was.
    bool Load(bool factoryValid, const EmitterCustomerRecord* customer, bool defaults);
    // "Default values": beam coding off, without a warning.
    void Defaults() { beamCodingA_ = false; }
    // The user's click on ChckBx_EUS_11: the receiver must be coded alike, which the page
    // says every time.
    void Click();

    bool BeamCodingA() const { return beamCodingA_; }
    // The record the page sends.
    EmitterCustomerRecord Save(const PcClock& clock) const;

private:
    const Texts& texts_;
    bool beamCodingA_ = false;
};

} // namespace lcdiag
