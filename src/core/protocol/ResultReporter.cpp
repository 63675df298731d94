// The cyclic supervision (Timer1) and the result reporter (Timer2): silence resets the
// dialogue, every outcome is shown as a message, and a failed or finished transfer starts
// the dialogue afresh.
#include "core/app/Texts.h"
#include "core/protocol/ConnectionController.h"

namespace lcdiag {

namespace {

constexpr int BarView = 1;
constexpr int CustomerSettingsView = 4;
constexpr int BeamSelectionView = 6;

// The message of each result code: text id with its kind.
MessageCode ResultMessage(std::uint32_t code) {
    switch (code) {
    case 1:
    case 13:
        return msg::Information | 111;
    case 2:
    case 14:
        return msg::Fault | 112;
    case 3:
    case 15:
        return msg::Fault | 113;
    case 4:
    case 16:
        return msg::Confirmation | 114;
    case 5:
    case 17:
        return msg::Fault | 115;
    case 6:
    case 18:
        return msg::Fault | 116;
    case 10:
        return msg::Warning | 123;
    case 11:
        return msg::Warning | 124;
    case 12:
        return msg::Warning | 125;
    case 255:
        return msg::Fault | 110;
    default:
        return 0;
    }
}

bool ResetsTheDialogue(std::uint32_t code) {
    return (code >= 1 && code <= 8) || code == 255;
}

} // namespace

void ConnectionController::Report(std::uint32_t code) {
    SetResult(code);
}

void ConnectionController::SetResult(std::uint32_t code) {
    resultCode_ = code;
    timers_.ArmResultReporter(10);
}

void ConnectionController::Timer1Tick() {
    Supervise();
    if (buttons_.factorySaveReenable && linkState_ == LinkState::Diagnosis) {
        buttons_.factorySaveReenable = false;
        const bool receiver = controllerType_ == ControllerType::Receiver;
        buttons_.Btn_RFS_1 = receiver;
        buttons_.Btn_EFS_1 = !receiver;
    }
    RunConfirmationCountdown();
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
        const bool factory =
            kind == TransferKind::ReceiverFactory || kind == TransferKind::EmitterFactory;
        SetResult(kind == TransferKind::None ? 255 : factory ? 3 : 6);
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
    buttons_.Btn_RFS_1 = buttons_.Btn_RFS_2 = false;
    buttons_.Btn_EFS_1 = buttons_.Btn_EFS_2 = false;
    confirmStart_.reset();
    buttons_.factoryConfirmSeconds = 10;
    buttons_.customerConfirmSeconds = 10;
    buttons_.factorySaveReenable = true;
    LeaveEditorViews();
}

void ConnectionController::ResetDisplayedData() {
    info_ = InfoTexts{};
    receiverFactoryValid_ = false;
    emitterFactoryValid_ = false;
    emitterCustomerValid_ = false;
    receiverCustomers_.Clear();
    receiverCycle_.Clear();
    emitterCycle_.Clear();
    buttons_.Btn_RFS_5 = false;
    buttons_.Btn_EFS_3 = false;
    view_.RefreshInfo(); // the information panel shows the placeholders again
    view_.Redraw();
}

void ConnectionController::LeaveEditorViews() {
    const int mode = view_.ViewMode();
    if (mode == CustomerSettingsView || mode == BeamSelectionView) {
        view_.ChangeViewMode(BarView);
    }
}

void ConnectionController::Timer2Fire() {
    timers_.DisarmResultReporter();
    const std::uint32_t code = resultCode_;
    resultCode_ = 0;
    if (code == 19) {
        view_.StartupPasswordStep();
        return;
    }
    if (code >= 10 && code <= 18) {
        ShowResultMessage(code);
        if (code >= 12) {
            ResetEditorButtons();
        }
        LeaveEditorViews();
    } else if (ResetsTheDialogue(code)) {
        ResetDialogueWithMessage(code);
    }
    // A message that closes at once (answered, or refused while another one is open) must
    // not switch the baud rate under keyword 10 before it has left the PC.
    if (cycleSwitchPending_ && diagnosisStartSent_) {
        BaudSwitch();
    }
}

void ConnectionController::ShowResultMessage(std::uint32_t code) {
    if (code == 7) {
        const std::string minor = std::to_string(minPcVersion_[1]);
        view_.ShowIncompatibilityNotice(std::to_string(minPcVersion_[0]) + "." +
                                        (minor.size() < 2 ? "0" : "") + minor);
        return;
    }
    const MessageCode message = ResultMessage(code);
    if (message == 0) {
        return;
    }
    if (code == 255) {
        ShowMessageIdInt(message, static_cast<std::int32_t>(code));
    } else if (ShowMessageId(message) == MessageResult::Yes) {
        view_.SaveSettingsReport(code == 4 ? ControllerType::Receiver : ControllerType::Emitter);
    }
}

// While the message is open the dialogue is parked in Reporting with recognition off, so
// neither the supervision nor received bytes act on it.
void ConnectionController::ResetDialogueWithMessage(std::uint32_t code) {
    Interrupt();
    pendingTransfer_ = TransferKind::None;
    activeTransfer_ = TransferKind::None;
    receiverFactoryValid_ = false;
    emitterFactoryValid_ = false;
    buttons_.Btn_RFS_5 = false;
    buttons_.Btn_EFS_3 = false;
    linkState_ = LinkState::Reporting;
    recognitionEnabled_ = false;
    ShowResultMessage(code);
    ResetEditorButtons();
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
    LeaveEditorViews();
}

void ConnectionController::ResetEditorButtons() {
    buttons_.Btn_RFS_1 = false;
    buttons_.Btn_EFS_1 = false;
    buttons_.Btn_RUS_1 = true;
    buttons_.Btn_EUS_1 = true;
    buttons_.Btn_RFS_2 = buttons_.Btn_EFS_2 = false;
    buttons_.Btn_RUS_2 = buttons_.Btn_EUS_2 = false;
    buttons_.factoryConfirmSeconds = 10;
    buttons_.customerConfirmSeconds = 10;
    buttons_.factorySaveReenable = true;
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
