#include "core/editors/EmitterSettings.h"

#include "core/app/Texts.h"
#include "core/device/CustomerRecordBuilder.h"

namespace lcdiag {
namespace {

constexpr TextId UnknownController = 117;
constexpr TextId NoConfiguration = 119;
constexpr TextId CodeTheReceiverToo = 132;

} // namespace

bool EmitterSettings::Load(bool factoryValid, const EmitterCustomerRecord* customer,
                           bool defaults) {
    if (!factoryValid) {
        texts_.ShowMessageId(msg::Fault | UnknownController);
        return false;
    }
    if (!defaults && customer == nullptr) {
        texts_.ShowMessageId(msg::Warning | NoConfiguration);
        return false;
    }
    beamCodingA_ =
        !defaults && customer->Byte(EmitterCustomerField::BeamCoding) == EmitterBeamCodingOn;
    return true;
}

void EmitterSettings::Click() {
    beamCodingA_ = !beamCodingA_;
    texts_.ShowMessageId(msg::Warning | CodeTheReceiverToo);
}

EmitterCustomerRecord EmitterSettings::Save(const PcClock& clock) const {
    return BuildEmitterCustomerRecord(beamCodingA_, clock);
}

} // namespace lcdiag
