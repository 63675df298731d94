#include "sim/EmitterController.h"

#include "sim/BeamMask.h"
#include "sim/LiveScenes.h"
#include "sim/RecordChecks.h"

#include <algorithm>
#include <vector>

namespace lcdiag::sim {

namespace {

// The complement of the checksum is summed but the sum is not changed: the record no longer
// adds up to its sum.
std::vector<std::uint8_t> CorruptedIf(bool corrupt, std::span<const std::uint8_t> record) {
    std::vector<std::uint8_t> bytes(record.begin(), record.end());
    if (corrupt) {
        bytes[bytes.size() - 3] ^= 0x01;
    }
    return bytes;
}

} // namespace

EmitterController::EmitterController(const ControllerConfig& config)
    : SimController(config), factory_(BuildEmitterFactory(config)),
      customer_(BuildEmitterCustomer(config)) {}

int EmitterController::IdentificationKeyword() const {
    return WireLayout() == Layout::Long ? kw::EmitterIdentLong : kw::EmitterIdentShort;
}

void EmitterController::Report(bool) {
    const std::string digits = Config().firmware.Digits();
    SendFrame(kw::EmitterFirmware, std::vector<std::uint8_t>(digits.begin(), digits.end()));
    SendFrame(kw::EmitterFactoryData, CorruptedIf(Config().faults.invalidFactoryRecord, factory_));
    SendFrame(kw::EmitterCustomerData,
              CorruptedIf(Config().faults.invalidCustomerRecord, customer_));
}

// Weak beams show as beam current not reached; the beam count and faults come from the
// stored factory record and the injected faults.
void EmitterController::SendCycle() {
    namespace d = emitter_diagnostic;
    const int beams = factory_[emitter_factory::BeamCount];
    const FieldState field =
        LiveScenes(Config().scenes, Unit::Emitter, beams, Config().seed).At(Uptime());
    std::array<std::uint8_t, d::Size> record{};
    record[d::BeamCount] = static_cast<std::uint8_t>(beams);
    record[d::Faults] =
        static_cast<std::uint8_t>((Config().faults.cycleFaultBits | field.faults) & 0x7E);
    record[d::Counter] = cycleCounter_++;
    std::array<std::uint8_t, MaskBytes> present{};
    SetBeams(present, 1, beams);
    for (int i = 0; i < MaskBytes; ++i) {
        const auto index = static_cast<std::size_t>(i);
        record[static_cast<std::size_t>(d::CurrentLow + i)] =
            static_cast<std::uint8_t>(present[index] & field.weak[index]);
    }
    Codec().WriteChecksum(record, BlockKind::Diagnostic, Layout::Long);
    std::vector<std::uint8_t> wire(
        static_cast<std::size_t>(BlockLength(BlockKind::Diagnostic, WireLayout())));
    Codec().Encode(record, wire, WireLayout(), BlockKind::Diagnostic);
    SendFrame(kw::EmitterDiagnosticData, wire, true);
}

void EmitterController::AnswerBreak() {
    SendFrame(kw::EmitterWaitingForData);
}

void EmitterController::AnswerBreakReleased() {
    Enter(Phase::AwaitingData);
}

void EmitterController::TakeSettings() {
    constexpr int FactoryAndCustomer = emitter_factory::Size + emitter_customer::Size;
    if (const auto data = TakeFrame(kw::EmitterFactoryFollows, FactoryAndCustomer)) {
        const auto bytes = std::span<const std::uint8_t>(*data);
        Store(bytes.first(emitter_factory::Size), bytes.subspan(emitter_factory::Size),
              kw::EmitterFactoryStored);
    } else if (const auto data = TakeFrame(kw::EmitterCustomerFollows, emitter_customer::Size)) {
        Store({}, *data, kw::EmitterCustomerStored);
    }
}

// Records with a wrong checksum or a value that disagrees with its complement are dropped and
// the controller starts again.
void EmitterController::Store(std::span<const std::uint8_t> factory,
                              std::span<const std::uint8_t> customer, int acknowledgement) {
    if ((!factory.empty() && !EmitterFactorySound(factory)) || !EmitterCustomerSound(customer)) {
        Restart();
        return;
    }
    if (Config().faults.transferSilence == TransferSilence::NoAnswerToData) {
        FallSilent();
        return;
    }
    if (!factory.empty()) {
        std::copy(factory.begin(), factory.end(), factory_.begin());
    }
    std::copy(customer.begin(), customer.end(), customer_.begin());
    Tamper();
    if (!Config().faults.missingAcknowledgement) {
        SendFrame(acknowledgement);
    }
    ReportAgain();
}

// The read-back-mismatch fault: the stored records differ from those received in one byte
// of their time stamp, with their checksums rewritten.
void EmitterController::Tamper() {
    if (!Config().faults.readBackMismatch) {
        return;
    }
    factory_[emitter_factory::Stamp] ^= 0x01;
    customer_[emitter_customer::Stamp] ^= 0x01;
    WriteEmitterChecksum(factory_);
    WriteEmitterChecksum(customer_);
}

} // namespace lcdiag::sim
