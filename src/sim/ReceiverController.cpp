#include "sim/ReceiverController.h"

#include "core/protocol/Clock.h"
#include "sim/DeviceTypes.h"
#include "sim/LiveScenes.h"
#include "sim/ReceiverCycle.h"
#include "sim/RecordChecks.h"

#include <algorithm>

namespace lcdiag::sim {

namespace {

// An invalid record is reported with the low byte of its checksum's complement changed: the
// complement is summed, so the record no longer adds up to its sum. (The sum is summed too;
// changing it would leave the record valid.) Counted from the record's end:
constexpr std::size_t FactoryComplementFromEnd = 3;
constexpr int CustomerComplementFromEnd = 7;

// How long the restart interlock waits for its button after the field was interrupted.
constexpr std::uint32_t RestartButtonAfter = 1000;

std::vector<std::uint8_t> Encoded(const RecordCodec& codec, std::span<const std::uint8_t> record,
                                  Layout layout, BlockKind kind) {
    std::vector<std::uint8_t> encoded(static_cast<std::size_t>(BlockLength(kind, layout)));
    codec.Encode(record, encoded, layout, kind);
    return encoded;
}

std::uint8_t Byte(std::uint32_t value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

} // namespace

ReceiverController::ReceiverController(const ControllerConfig& config)
    : SimController(config), activeSlot_(std::clamp(config.activeSlot, 0, RingSlots - 1)),
      configurationNumber_(config.configurationNumber & 0xFF) {
    ControllerConfig normalised = config;
    normalised.activeSlot = activeSlot_;
    const ReceiverFactoryRecord factory = BuildReceiverFactory(normalised, Codec());
    factory_ = Encoded(Codec(), factory, WireLayout(), BlockKind::Factory);
    const auto history = BuildReceiverHistory(normalised, factory, Codec());
    for (std::size_t slot = 0; slot < ring_.size(); ++slot) {
        // An unused slot holds erased memory, which no checksum matches.
        ring_[slot] = history[slot]
                          ? Encoded(Codec(), *history[slot], WireLayout(), BlockKind::Customer)
                          : std::vector<std::uint8_t>(static_cast<std::size_t>(RecordSize()), 0xFF);
    }
}

std::span<const std::uint8_t> ReceiverController::CustomerRecord(int slot) const {
    return ring_[static_cast<std::size_t>(std::clamp(slot, 0, RingSlots - 1))];
}

int ReceiverController::IdentificationKeyword() const {
    return WireLayout() == Layout::Long ? kw::ReceiverIdentLong : kw::ReceiverIdentShort;
}

int ReceiverController::RecordSize() const {
    return BlockLength(BlockKind::Customer, WireLayout());
}

ReceiverFactoryRecord ReceiverController::LongFactory() const {
    ReceiverFactoryRecord record{};
    Codec().Decode(factory_, record, WireLayout(), BlockKind::Factory);
    return record;
}

ReceiverCustomerRecord ReceiverController::LongActiveRecord() const {
    ReceiverCustomerRecord record{};
    Codec().Decode(CustomerRecord(activeSlot_), record, WireLayout(), BlockKind::Customer);
    return record;
}

std::vector<std::uint8_t> ReceiverController::FactoryRecord() const {
    const ReceiverFactoryRecord record = LongFactory();
    return {record.begin(), record.end()};
}

std::vector<std::uint8_t> ReceiverController::ActiveCustomerRecord() const {
    const ReceiverCustomerRecord record = LongActiveRecord();
    return {record.begin(), record.end()};
}

// A configuration becomes active at the start after it was stored: only then does the
// controller stamp it with its operating hours. The read-back right after storing therefore
// shows the record exactly as the PC sent it.
void ReceiverController::OnRestart() {
    StampActiveConfiguration();
}

// The hours go into the last six bytes of the slot, three bytes and their complements, in
// either layout; a record that already carries them keeps its own.
void ReceiverController::StampActiveConfiguration() {
    auto& active = ring_[static_cast<std::size_t>(activeSlot_)];
    if (!HasActivationHours(active)) {
        WriteActivationHours(active, OperatingHours());
    }
}

void ReceiverController::Report(bool afterTransfer) {
    SendFirmware();
    if (!afterTransfer) {
        SendOperatingHours();
    }
    SendFactoryRecord();
    SendCustomerRecords();
}

void ReceiverController::SendFirmware() {
    const Firmware& firmware = Config().firmware;
    std::string data = firmware.Digits();
    int id = kw::FirmwareType1;
    if (!firmware.ReportsVersionOnly()) {
        data.insert(data.begin(), static_cast<char>('0' + std::clamp(firmware.typeDigit, 0, 9)));
        id = kw::FirmwareWithType;
    }
    SendFrame(id, std::vector<std::uint8_t>(data.begin(), data.end()));
}

// The counter is kept twice; both copies agree while it is not being written.
void ReceiverController::SendOperatingHours() {
    const std::uint32_t hours = OperatingHours();
    const std::uint8_t copy[] = {Byte(hours >> 16), Byte(hours >> 8), Byte(hours)};
    std::vector<std::uint8_t> data(std::begin(copy), std::end(copy));
    data.insert(data.end(), std::begin(copy), std::end(copy));
    SendFrame(kw::OperatingHours, data);
}

void ReceiverController::SendFactoryRecord() {
    std::vector<std::uint8_t> data = factory_;
    if (Config().faults.invalidFactoryRecord) {
        data[data.size() - FactoryComplementFromEnd] ^= 0x01;
    }
    const auto trailer =
        BuildConfigTrailer(Table(), configurationNumber_, RingStart + activeSlot_ * RecordSize());
    data.insert(data.end(), trailer.begin(), trailer.end());
    SendFrame(kw::ReceiverFactoryData, data);
}

void ReceiverController::SendCustomerRecords() {
    std::vector<std::uint8_t> data;
    for (const auto& record : ring_) {
        data.insert(data.end(), record.begin(), record.end());
    }
    if (Config().faults.invalidCustomerRecord) {
        const int complement = (activeSlot_ + 1) * RecordSize() - CustomerComplementFromEnd;
        data[static_cast<std::size_t>(complement)] ^= 0x01;
    }
    SendFrame(kw::ReceiverCustomerData, data);
}

void ReceiverController::SendCycle() {
    const ReceiverFactoryRecord factory = LongFactory();
    const ReceiverCustomerRecord active = LongActiveRecord();
    const FieldState field = LiveScenes(Config().scenes, Unit::Receiver,
                                        factory[receiver_factory::BeamCount], Config().seed)
                                 .At(Uptime());
    ReceiverCycleInput input{.factory = factory,
                             .active = active,
                             .field = field,
                             .faultBits = Config().faults.cycleFaultBits | field.faults,
                             .counter = cycleCounter_++};
    if (FieldInterrupted(input)) {
        lastInterruption_ = Now();
    }
    const bool interlock =
        (active[receiver_customer::Functions] & receiver_customer::StartInterlock) != 0;
    input.interlockWaiting =
        interlock && lastInterruption_ && Elapsed(*lastInterruption_, Now()) < RestartButtonAfter;
    for (const CyclePart& part : BuildReceiverCycle(input, Codec())) {
        SendFrame(kw::ReceiverCyclePart, Encoded(Codec(), part, WireLayout(), BlockKind::CyclePart),
                  true);
    }
}

// Firmware that needs the break held says "start recognised" while it is held and adds
// "waiting for configuration data" with its handshake byte once it is released, so that the
// two form keyword 11. Newer firmware sends keyword 11 whole after the pulse.
void ReceiverController::AnswerBreak() {
    if (Config().firmware.NeedsHeldBreak()) {
        SendFrame(kw::BreakSeen);
    }
}

void ReceiverController::AnswerBreakReleased() {
    do {
        handshake_ = static_cast<std::uint8_t>(Draw(256));
    } while (ReverseBits(handshake_) == handshake_); // a PC that forgets to reverse must fail
    if (Config().firmware.NeedsHeldBreak()) {
        const std::string_view rest =
            Table().Text(kw::BreakSeenWaiting).substr(Table().Text(kw::BreakSeen).size());
        std::vector<std::uint8_t> bytes(rest.begin(), rest.end());
        bytes.push_back(handshake_);
        SendContinuation(bytes);
    } else {
        SendFrame(kw::BreakSeenWaiting, std::span(&handshake_, 1));
    }
    Enter(Phase::AwaitingData);
}

void ReceiverController::TakeSettings() {
    if (CurrentPhase() == Phase::AwaitingDefaultRecord) {
        if (const auto record = TakeFrame(kw::DefaultRecordFollows, RecordSize())) {
            AcceptDefaultRecord(*record);
        }
        return;
    }
    const bool newer = Config().firmware.TakesNewStoreKeywords();
    const int factoryId = newer ? kw::ReceiverStoreFactory : kw::ReceiverStoreFactoryOld;
    const int customerId = newer ? kw::ReceiverStoreCustomer : kw::ReceiverStoreCustomerOld;
    if (const auto data = TakeFrame(factoryId, Table().DataLength(factoryId, WireLayout()))) {
        AcceptFactory(*data);
    } else if (const auto data =
                   TakeFrame(customerId, Table().DataLength(customerId, WireLayout()))) {
        AcceptCustomer(*data);
    }
}

void ReceiverController::AcceptFactory(std::span<const std::uint8_t> data) {
    const auto record = data.subspan(1);
    if (!Acceptable(data[0], record, BlockKind::Factory)) {
        return;
    }
    factory_.assign(record.begin(), record.end());
    Tamper(factory_, BlockKind::Factory);
    SendFrame(kw::DeliveryState);
    Enter(Phase::AwaitingDefaultRecord);
}

void ReceiverController::AcceptCustomer(std::span<const std::uint8_t> data) {
    const auto record = data.subspan(1);
    if (!Acceptable(data[0], record, BlockKind::Customer)) {
        return;
    }
    StoreConfiguration(record);
    Tamper(ring_[static_cast<std::size_t>(activeSlot_)], BlockKind::Customer);
    ReportAgain();
}

// The default settings that follow a factory record become the next configuration.
void ReceiverController::AcceptDefaultRecord(std::span<const std::uint8_t> record) {
    if (!ReceiverRecordSound(record, BlockKind::Customer, WireLayout(), Codec())) {
        Restart();
        return;
    }
    StoreConfiguration(record);
    ReportAgain();
}

// Settings with a wrong handshake answer, a wrong checksum or a value that disagrees with its
// complement are dropped and the controller starts again; settings from a PC program older
// than the controller accepts are refused.
bool ReceiverController::Acceptable(std::uint8_t handshake, std::span<const std::uint8_t> record,
                                    BlockKind kind) {
    if (handshake != ReverseBits(handshake_) ||
        !ReceiverRecordSound(record, kind, WireLayout(), Codec())) {
        Restart();
        return false;
    }
    if (Config().faults.transferSilence == TransferSilence::NoAnswerToData) {
        FallSilent();
        return false;
    }
    if (WrittenByTooOldPc(record, kind)) {
        const PcVersion minimum = *Config().faults.minPcVersion;
        const std::uint8_t data[] = {Byte(static_cast<std::uint32_t>(minimum.major)),
                                     Byte(static_cast<std::uint32_t>(minimum.minor))};
        SendFrame(kw::PcSoftwareIncompatible, data);
        Restart();
        return false;
    }
    return true;
}

bool ReceiverController::WrittenByTooOldPc(std::span<const std::uint8_t> record,
                                           BlockKind kind) const {
    const auto& minimum = Config().faults.minPcVersion;
    if (!minimum) {
        return false;
    }
    std::array<std::uint8_t, receiver_factory::Size> internal{};
    Codec().Decode(record, internal, WireLayout(), kind);
    const int at =
        kind == BlockKind::Factory ? receiver_factory::PcVersion : receiver_customer::PcVersion;
    const int major = internal[static_cast<std::size_t>(at)];
    const int minor = internal[static_cast<std::size_t>(at) + 1];
    return major < minimum->major || (major == minimum->major && minor < minimum->minor);
}

// The ring moves on by one slot and the configuration number by one. A configuration that
// is replaced before the controller started again was in force all the same: it gets its
// hours now, so the ring never keeps a record without them.
void ReceiverController::StoreConfiguration(std::span<const std::uint8_t> record) {
    StampActiveConfiguration();
    activeSlot_ = (activeSlot_ + 1) % RingSlots;
    configurationNumber_ = (configurationNumber_ + 1) & 0xFF;
    ring_[static_cast<std::size_t>(activeSlot_)].assign(record.begin(), record.end());
}

// The read-back-mismatch fault: a setting byte changes on the way into memory, and the record
// stays consistent (complement and checksum rewritten), as a firmware fault would leave it.
void ReceiverController::Tamper(std::vector<std::uint8_t>& record, BlockKind kind) const {
    if (!Config().faults.readBackMismatch) {
        return;
    }
    if (kind == BlockKind::Factory) {
        record[receiver_factory::ReserveMax] ^= 0x01;
    } else {
        record[receiver_customer::RelayDelay] ^= 0x01;
        record[receiver_customer::RelayDelay + 1] ^= 0x01;
    }
    Codec().WriteChecksum(record, kind, WireLayout());
}

} // namespace lcdiag::sim
