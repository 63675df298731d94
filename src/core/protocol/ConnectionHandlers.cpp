// The controller's side of the normal course: identification, firmware, operating hours,
// factory and customer records, and the switch into cyclic diagnosis.
#include "core/device/DateStamp.h"
#include "core/protocol/ConfigTrailer.h"
#include "core/protocol/ConnectionController.h"

#include <algorithm>

namespace lcdiag {

namespace {

std::uint32_t BigEndian(std::span<const std::uint8_t> bytes) {
    std::uint32_t value = 0;
    for (std::uint8_t byte : bytes) {
        value = value << 8 | byte;
    }
    return value;
}

bool IsDigit(std::uint8_t c) {
    return c >= '0' && c <= '9';
}

// "1.33" from the three characters "133"; the value is 0 unless all three are digits, so a
// garbled version counts as the oldest firmware.
std::pair<std::string, int> FirmwareFromCharacters(std::span<const std::uint8_t> chars) {
    std::string text{static_cast<char>(chars[0]), '.', static_cast<char>(chars[1]),
                     static_cast<char>(chars[2])};
    const bool digits = std::all_of(chars.begin(), chars.end(), IsDigit);
    const int value =
        digits ? (chars[0] - '0') * 100 + (chars[1] - '0') * 10 + (chars[2] - '0') : 0;
    return {text, value};
}

} // namespace

void ConnectionController::OnReceiverIdentification(int id) {
    longLayout_ = id == kw::ReceiverIdentLong;
    buffer_.Clear();
    receiverFactoryValid_ = false;
    SendKeyword(kw::PcAnswerReceiver);
    SwitchControllerType(ControllerType::Receiver);
    ExpectOnly({kw::ReceiverFactoryData, kw::ReceiverCustomerData, kw::FirmwareWithType,
                kw::FirmwareType1, kw::OperatingHours});
    linkState_ = LinkState::Identified;
}

void ConnectionController::OnEmitterIdentification(int id) {
    longLayout_ = id == kw::EmitterIdentLong;
    buffer_.Clear();
    receiverFactoryValid_ = false;
    SwitchControllerType(ControllerType::Emitter);
    ExpectOnly({kw::EmitterFirmware, kw::EmitterFactoryData, kw::EmitterCustomerData});
    linkState_ = LinkState::Identified;
    Later(1, [this] { SendKeyword(kw::PcAnswerEmitter); });
}

// Keyword 9 is a prefix of keyword 8: a "_" after it, or a type digit outside 1-9 after 8,
// leaves the bytes for the other keyword or for more bytes to come.
void ConnectionController::OnFirmware(const SelectedFrame& frame) {
    const auto data = DataOf(frame);
    int typeDigit = 1;
    std::span<const std::uint8_t> version = data.first(3);
    if (frame.id == kw::FirmwareWithType) {
        typeDigit = data[0] - '0';
        if (typeDigit < 1 || typeDigit > 9) {
            return;
        }
        version = data.subspan(1, 3);
    } else if (data[0] == '_') {
        return;
    }
    operatingHours_ = 0;
    const auto [text, value] = FirmwareFromCharacters(version);
    firmware_ = ControllerFirmware{value, typeDigit};
    info_.firmware = text;
    Consume(frame);
    Stamp();
    view_.RefreshInfo();
}

// Two copies of the counter; the smaller one counts, in case one copy is being rewritten.
void ConnectionController::OnOperatingHours(const SelectedFrame& frame) {
    const auto data = DataOf(frame);
    operatingHours_ = std::min(BigEndian(data.first(3)), BigEndian(data.subspan(3, 3)));
    Consume(frame);
    Stamp();
}

void ConnectionController::OnEmitterFirmware(const SelectedFrame& frame) {
    const auto data = DataOf(frame);
    info_.firmware = {static_cast<char>(data[0]), '.', static_cast<char>(data[1]),
                      static_cast<char>(data[2])};
    Consume(frame);
    Stamp();
    view_.RefreshInfo();
}

void ConnectionController::OnReceiverFactoryRecord(const SelectedFrame& frame) {
    const auto data = DataOf(frame);
    const auto recordLength =
        static_cast<std::size_t>(BlockLength(BlockKind::Factory, CurrentLayout()));
    receiverFactoryValid_ = codec_.Decode(data.first(recordLength), receiverFactory_.bytes,
                                          CurrentLayout(), BlockKind::Factory);
    TakeConfigTrailer(data.last(ConfigTrailer::Size));
    if (!receiverFactoryValid_) {
        SetResult(ResultCode::FactoryDataInvalid);
    }
    Consume(frame);
    Stamp();
    view_.RefreshInfo();
}

// The trailer points into the controller's ring of eight customer records: the active one.
void ConnectionController::TakeConfigTrailer(std::span<const std::uint8_t> trailer) {
    const auto parsed = ConfigTrailer::Parse(table_, trailer);
    if (parsed) {
        configurationNumber_ = parsed->number;
    }
    const std::optional<int> slot = parsed ? parsed->ActiveSlot(CurrentLayout()) : std::nullopt;
    if (!slot) {
        configurationPointer_ = 65535;
        receiverCustomers_.SetActiveRecordIndex(ReceiverCustomerSet::UnknownIndex);
        info_.serialNumber.clear();
        info_.type.clear();
        return;
    }
    configurationPointer_ = parsed->RingOffset();
    receiverCustomers_.SetActiveRecordIndex(*slot);
    info_.serialNumber = receiverFactory_.Text(ReceiverFactoryField::SerialNumber);
    info_.type = receiverFactory_.Text(ReceiverFactoryField::TypeDesignation);
}

void ConnectionController::OnEmitterFactoryRecord(const SelectedFrame& frame) {
    emitterFactory_ = EmitterFactoryRecord::From(DataOf(frame));
    emitterFactoryValid_ = RecordCodec::TestRecordChecksum(emitterFactory_.bytes);
    if (emitterFactoryValid_) {
        info_.serialNumber = emitterFactory_.Text(EmitterFactoryField::SerialNumber);
        info_.type = emitterFactory_.Text(EmitterFactoryField::CustomerDesignation);
    } else if (activeTransfer_ != TransferKind::EmitterFactory) {
        // After storing a factory record the customer record that follows gives the one
        // verdict on the transfer, an invalid factory record among its reasons.
        SetResult(ResultCode::FactoryDataInvalid);
    }
    Consume(frame);
    Stamp();
    view_.RefreshInfo();
}

void ConnectionController::OnReceiverCustomerRecords(const SelectedFrame& frame) {
    const bool valid = receiverCustomers_.Receive(DataOf(frame), CurrentLayout(), codec_);
    info_.operatingHours = receiverCustomers_.OperatingHoursText();
    Consume(frame);
    Stamp();
    view_.RefreshInfo();
    if (activeTransfer_ == TransferKind::ReceiverFactory ||
        activeTransfer_ == TransferKind::ReceiverCustomer) {
        JudgeReceiverReadBack();
    } else {
        if (!valid) {
            SetResult(ResultCode::SettingsInvalid);
        }
        StartReceiverDiagnosis();
    }
    info_.configurationDate = receiverCustomers_.ConfigurationDateText();
    info_.configurationTime = receiverCustomers_.ConfigurationTimeText();
    activeTransfer_ = TransferKind::None;
}

void ConnectionController::StartReceiverDiagnosis() {
    timers_.StopCyclicTimer();
    SendKeyword(kw::StartReceiverDiagnosis);
    cycleSwitchPending_ = true;
    // The adapter has no transmit-empty event worth waiting for; give the bytes time.
    diagnosisStartSent_ = port_.Kind() == PortKind::UsbAdapter;
    if (diagnosisStartSent_) {
        timers_.ArmResultReporter(100);
    }
}

void ConnectionController::OnEmitterCustomerRecord(const SelectedFrame& frame) {
    emitterCustomer_ = EmitterCustomerRecord::From(DataOf(frame));
    emitterCustomerValid_ = RecordCodec::TestRecordChecksum(emitterCustomer_.bytes);
    Consume(frame);
    const auto stamp = emitterCustomer_.Bytes(EmitterCustomerField::Stamp);
    info_.configurationDate =
        emitterCustomerValid_ ? DateStampDateText(stamp) : InfoTexts{}.configurationDate;
    info_.configurationTime =
        emitterCustomerValid_ ? DateStampTimeText(stamp) : InfoTexts{}.configurationTime;
    if (const ResultCode code = EmitterTransferResult(); code != ResultCode::None) {
        SetResult(code);
    }
    storedAcknowledged_ = false;
    activeTransfer_ = TransferKind::None;
    view_.RefreshInfo();
    buffer_.Clear();
    ExpectOnly({kw::EmitterDiagnosticData});
    linkState_ = LinkState::Diagnosis;
    receiverFactoryValid_ = false;
    SendKeyword(kw::StartEmitterDiagnosis);
}

void ConnectionController::OnIncompatible(const SelectedFrame& frame) {
    const auto data = DataOf(frame);
    minPcVersion_ = {data[0], data[1]};
    buffer_.Clear();
    Stamp();
    SetResult(ResultCode::PcSoftwareRefused);
}

} // namespace lcdiag
