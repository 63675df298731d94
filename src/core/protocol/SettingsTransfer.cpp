// Writing settings into the controller: the break that pulls the controller out of its
// cycle, the records sent on its readiness, and the verdict from the acknowledgement and the
// records it reports back.
#include "core/app/Texts.h"
#include "core/device/CustomerRecordBuilder.h"
#include "core/protocol/ConnectionController.h"
#include "core/protocol/Handshake.h"

#include <vector>

namespace lcdiag {

namespace {

constexpr int FirstFirmwareWithBreakPulse = 110;
constexpr TextId UnknownControllerMessage = 117;

} // namespace

bool ConnectionController::WriteSettings(const SettingsWrite& write) {
    if (write.kind == TransferKind::None) {
        return false;
    }
    if (write.kind == TransferKind::ReceiverCustomer && !receiverFactoryValid_) {
        texts_.ShowMessageId(msg::Warning | UnknownControllerMessage);
        return false;
    }
    write_ = write;
    pendingTransfer_ = write.kind;
    linkState_ = LinkState::TransferRequested;
    info_ = InfoTexts{};
    buffer_.Clear();
    if (IsReceiverKind(write.kind)) {
        ExpectOnly({kw::BreakSeenWaiting, kw::BreakSeen});
        receiverCycle_.Clear();
    } else {
        ExpectOnly({kw::EmitterWaitingForData});
        emitterCycle_.Clear();
    }
    view_.Redraw();
    view_.RefreshInfo();
    RequestBreak(write.kind);
    return true;
}

void ConnectionController::AdoptConfiguration(const ReceiverCustomerRecord& record) {
    receiverCustomers_.Adopt(record);
}

void ConnectionController::AdoptConfiguration(const EmitterCustomerRecord& record) {
    emitterCustomer_ = record;
    emitterCustomerValid_ = true;
}

// Older receivers need the break held until they answer, newer ones take a pulse; the
// emitter always gets it held.
void ConnectionController::RequestBreak(TransferKind kind) {
    if (IsReceiverKind(kind) && firmware_.version >= FirstFirmwareWithBreakPulse) {
        port_.SetBreak(true);
        Later(50, [this] {
            port_.SetBreak(false);
            port_.SetBaudRate(LineBaud);
        });
        return;
    }
    port_.SetBaudRate(LineBaud);
    port_.SetBreak(true);
}

// Keyword 12 is the start of keyword 11: the handshake byte follows, so the buffer stays.
void ConnectionController::OnBreakSeen() {
    port_.SetBreak(false);
    ExpectOnly({kw::BreakSeenWaiting});
}

bool ConnectionController::UsesNewStoreKeywords() const {
    return (firmware_.typeDigit == 1 && firmware_.version >= 122) ||
           (firmware_.typeDigit >= 2 && firmware_.version >= 135);
}

void ConnectionController::OnReceiverReady(std::uint8_t handshake) {
    port_.SetBreak(false);
    const std::uint8_t answer = HandshakeAnswer(handshake);
    buffer_.Clear();
    const Layout layout = CurrentLayout();
    const bool newKeywords = UsesNewStoreKeywords();
    if (pendingTransfer_ == TransferKind::ReceiverFactory ||
        pendingTransfer_ == TransferKind::ReceiverCustomer) {
        const bool factory = pendingTransfer_ == TransferKind::ReceiverFactory;
        const BlockKind block = factory ? BlockKind::Factory : BlockKind::Customer;
        if (factory) {
            ExpectOnly({kw::DeliveryState, kw::PcSoftwareIncompatible});
        } else {
            ExpectOnly({kw::ReceiverFactoryData, kw::ReceiverCustomerData, kw::FirmwareWithType,
                        kw::FirmwareType1, kw::PcSoftwareIncompatible});
        }
        linkState_ = LinkState::TransferSent;
        activeTransfer_ = pendingTransfer_;
        std::vector<std::uint8_t> record(static_cast<std::size_t>(BlockLength(block, layout)));
        if (factory) {
            codec_.Encode(write_.receiverFactory.bytes, record, layout, block);
            SendKeyword(newKeywords ? kw::ReceiverStoreFactory : kw::ReceiverStoreFactoryOld);
        } else {
            codec_.Encode(write_.receiverCustomer.bytes, record, layout, block);
            SendKeyword(newKeywords ? kw::ReceiverStoreCustomer : kw::ReceiverStoreCustomerOld);
        }
        SendBytes(std::span(&answer, 1));
        SendBytes(record);
    } else {
        longLayout_ = false;
        ExpectIdentification();
    }
    // The supervision keeps watching through the active transfer.
    linkState_ = LinkState::Idle;
    pendingTransfer_ = TransferKind::None;
}

// The factory record is stored and the controller is in its delivery state: it needs a
// customer record to start with.
void ConnectionController::OnFactoryRecordStored() {
    buffer_.Clear();
    ExpectOnly({kw::ReceiverFactoryData, kw::ReceiverCustomerData, kw::FirmwareWithType,
                kw::FirmwareType1});
    const CustomerRecordContext context{firmware_, pcVersion_, pcClock_, codec_};
    const ReceiverCustomerRecord defaults =
        BuildDefaultReceiverRecord(write_.receiverFactory, receiverFactory_, context);
    std::vector<std::uint8_t> record(
        static_cast<std::size_t>(BlockLength(BlockKind::Customer, CurrentLayout())));
    codec_.Encode(defaults.bytes, record, CurrentLayout(), BlockKind::Customer);
    SendKeyword(kw::DefaultRecordFollows);
    SendBytes(record);
    linkState_ = LinkState::Idle;
}

void ConnectionController::JudgeReceiverReadBack() {
    if (activeTransfer_ == TransferKind::ReceiverFactory) {
        SetResult(receiverFactory_.bytes == write_.receiverFactory.bytes
                      ? ResultCode::FactoryStored
                      : ResultCode::FactoryReadBackDiffers);
        return;
    }
    const ReceiverCustomerRecord* active = receiverCustomers_.ActiveRecord();
    const bool same = active != nullptr && active->bytes == write_.receiverCustomer.bytes;
    SetResult(same ? ResultCode::CustomerStored : ResultCode::CustomerReadBackDiffers);
}

// The frame is taken at once and nothing is expected during the wait, so a receive event in
// the wait cannot handle it a second time.
void ConnectionController::OnEmitterReady() {
    port_.SetBreak(false);
    buffer_.Clear();
    expected_.Reset();
    Stamp();
    Later(100, [this] {
        buffer_.Clear();
        storedAcknowledged_ = false;
        const TransferKind kind = pendingTransfer_;
        pendingTransfer_ = TransferKind::None;
        if (kind == TransferKind::EmitterFactory || kind == TransferKind::EmitterCustomer) {
            SendEmitterRecords(kind);
            return;
        }
        longLayout_ = false;
        ExpectIdentification();
        linkState_ = LinkState::Idle;
    });
}

void ConnectionController::SendEmitterRecords(TransferKind kind) {
    const bool factory = kind == TransferKind::EmitterFactory;
    ExpectOnly({factory ? kw::EmitterFactoryStored : kw::EmitterCustomerStored});
    linkState_ = LinkState::TransferSent;
    activeTransfer_ = kind;
    if (!factory) {
        Later(1, [this] {
            SendKeyword(kw::EmitterCustomerFollows);
            Later(25, [this] { SendBytes(write_.emitterCustomer.bytes); });
        });
        return;
    }
    Later(1, [this] {
        SendKeyword(kw::EmitterFactoryFollows);
        Later(25, [this] {
            SendBytes(write_.emitterFactory.bytes);
            Later(25, [this] { SendBytes(write_.emitterCustomer.bytes); });
        });
    });
}

// The acknowledgement stays in the buffer; the controller now reports its data again.
void ConnectionController::OnEmitterStored() {
    ExpectOnly({kw::EmitterFirmware, kw::EmitterFactoryData, kw::EmitterCustomerData});
    storedAcknowledged_ = true;
}

// The emitter's report after storing decides, once. A stored record that reads back other than
// it was sent, or a factory record that reads back invalid, is a failed transfer, as for the
// receiver.
ResultCode ConnectionController::EmitterTransferResult() const {
    using enum ResultCode;
    const bool factory = activeTransfer_ == TransferKind::EmitterFactory;
    const bool customer = activeTransfer_ == TransferKind::EmitterCustomer;
    if (factory && storedAcknowledged_) {
        const bool factoryStored = emitterFactory_.bytes == write_.emitterFactory.bytes;
        const bool customerStored =
            !emitterCustomerValid_ || emitterCustomer_.bytes == write_.emitterCustomer.bytes;
        return factoryStored && customerStored ? EmitterFactoryStored : EmitterFactoryFailed;
    }
    if (factory) {
        return emitterCustomerValid_ ? EmitterFactoryNotAcknowledged : SettingsInvalid;
    }
    if (customer && emitterCustomerValid_ && storedAcknowledged_) {
        return emitterCustomer_.bytes == write_.emitterCustomer.bytes ? EmitterCustomerStored
                                                                      : EmitterCustomerFailed;
    }
    if (customer) {
        return emitterCustomerValid_ ? EmitterCustomerNotAcknowledged : EmitterCustomerFailed;
    }
    return emitterCustomerValid_ ? None : SettingsInvalid;
}

} // namespace lcdiag
