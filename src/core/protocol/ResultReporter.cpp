// The cyclic supervision (Timer1) and the result reporter (Timer2): silence resets the
// dialogue, every outcome is shown as a message, and a failed or finished transfer starts
// the dialogue afresh.
#include "core/app/Texts.h"
#include "core/protocol/ConnectionController.h"

namespace lcdiag {

namespace {

// The message of each result code: text id with its kind.
MessageCode ResultMessage(ResultCode code) {
    using enum ResultCode;
    switch (code) {
    case FactoryStored:
    case EmitterFactoryStored:
        return msg::Information | 111;
    case FactoryReadBackDiffers:
    case EmitterFactoryFailed:
        return msg::Fault | 112;
    case FactoryTimeOut:
    case EmitterFactoryNotAcknowledged:
        return msg::Fault | 113;
    case CustomerStored:
    case EmitterCustomerStored:
        return msg::Confirmation | 114;
    case CustomerReadBackDiffers:
    case EmitterCustomerFailed:
        return msg::Fault | 115;
    case CustomerTimeOut:
    case EmitterCustomerNotAcknowledged:
        return msg::Fault | 116;
    case ConfirmationExpired:
        return msg::Warning | 123;
    case FactoryDataInvalid:
        return msg::Warning | 124;
    case SettingsInvalid:
        return msg::Warning | 125;
    case Unknown:
        return msg::Fault | 110;
    default:
        return 0;
    }
}

} // namespace

void ConnectionController::Report(ResultCode code) {
    SetResult(code);
}

void ConnectionController::SetResult(ResultCode code) {
    resultCode_ = code;
    timers_.ArmResultReporter(10);
}

void ConnectionController::Timer1Tick() {
    Supervise();
    view_.Redraw();
}

void ConnectionController::Supervise() {
    const bool transfer =
        pendingTransfer_ != TransferKind::None || activeTransfer_ != TransferKind::None;
    const bool waiting = linkState_ == LinkState::Idle || linkState_ == LinkState::Reporting;
    if ((waiting && !transfer) || Elapsed(lastFrameTick_, clock_.Now()) <= SilenceLimit) {
        return;
    }
    if (transfer || linkState_ == LinkState::TransferRequested ||
        linkState_ == LinkState::TransferSent) {
        const TransferKind kind =
            activeTransfer_ != TransferKind::None ? activeTransfer_ : pendingTransfer_;
        SetResult(kind == TransferKind::None ? ResultCode::Unknown
                  : IsFactoryKind(kind)      ? ResultCode::FactoryTimeOut
                                             : ResultCode::CustomerTimeOut);
    } else {
        linkState_ = LinkState::Idle;
    }
    ResetAfterSilence();
}

void ConnectionController::ResetAfterSilence() {
    Interrupt();
    ResetDisplayedData();
    port_.SetBaudRate(LineBaud);
    longLayout_ = false;
    ExpectIdentification();
    if (listener_ != nullptr) {
        listener_->LinkLost();
    }
    view_.LeaveUnitSettings();
}

void ConnectionController::ResetDisplayedData() {
    info_ = InfoTexts{};
    receiverFactoryValid_ = false;
    emitterFactoryValid_ = false;
    emitterCustomerValid_ = false;
    receiverCustomers_.Clear();
    receiverCycle_.Clear();
    emitterCycle_.Clear();
    view_.RefreshInfo(); // the information panel shows the placeholders again
    view_.Redraw();
}

void ConnectionController::Timer2Fire() {
    timers_.DisarmResultReporter();
    const ResultCode code = resultCode_;
    resultCode_ = ResultCode::None;
    if (code == ResultCode::ProtectedStart) {
        view_.StartupPasswordStep();
        return;
    }
    if (ResetsTheDialogue(code)) {
        ResetDialogueWithMessage(code);
    } else if (code != ResultCode::None) {
        const MessageResult answer = ShowResultMessage(code);
        if (listener_ != nullptr) {
            listener_->Reported(code, answer);
        }
        view_.LeaveUnitSettings();
    }
    // A message that closes at once (answered, or refused while another one is open) must
    // not switch the baud rate under keyword 10 before it has left the PC.
    if (cycleSwitchPending_ && diagnosisStartSent_) {
        BaudSwitch();
    }
}

MessageResult ConnectionController::ShowResultMessage(ResultCode code) {
    if (code == ResultCode::PcSoftwareRefused) {
        const std::string minor = std::to_string(minPcVersion_[1]);
        view_.ShowIncompatibilityNotice(std::to_string(minPcVersion_[0]) + "." +
                                        (minor.size() < 2 ? "0" : "") + minor);
        return MessageResult::None;
    }
    const MessageCode message = ResultMessage(code);
    if (message == 0) {
        return MessageResult::None;
    }
    if (code == ResultCode::Unknown) {
        return texts_.ShowMessageIdInt(message, static_cast<std::int32_t>(code));
    }
    return texts_.ShowMessageId(message);
}

// While the message is open the dialogue is parked in Reporting with recognition off, so
// neither the supervision nor received bytes act on it.
void ConnectionController::ResetDialogueWithMessage(ResultCode code) {
    Interrupt();
    pendingTransfer_ = TransferKind::None;
    activeTransfer_ = TransferKind::None;
    receiverFactoryValid_ = false;
    emitterFactoryValid_ = false;
    linkState_ = LinkState::Reporting;
    recognitionEnabled_ = false;
    const MessageResult answer = ShowResultMessage(code);
    if (listener_ != nullptr) {
        listener_->Reported(code, answer);
    }
    port_.SetBreak(false);
    linkState_ = LinkState::Idle;
    faults_.Clear();
    faults_.HidePanel();
    ResetDisplayedData();
    view_.RefreshInfo();
    buffer_.Clear();
    longLayout_ = false;
    ExpectIdentification();
    recognitionEnabled_ = true;
    view_.LeaveUnitSettings();
}

void ConnectionController::BaudSwitch() {
    timers_.StopCyclicTimer();
    timers_.DisarmResultReporter();
    cycleSwitchPending_ = false;
    diagnosisStartSent_ = false;
    ExpectOnly({kw::ReceiverCyclePart});
    buffer_.Clear();
    port_.SetBaudRate(DiagnosisBaud);
    linkState_ = LinkState::Diagnosis;
    Stamp();
    timers_.StartCyclicTimer();
}

} // namespace lcdiag
