#include "core/editors/SaveConfirmation.h"

#include "core/protocol/ConnectionController.h"

#include <utility>

namespace lcdiag {

namespace {

constexpr int WindowSeconds = 10;

// The outcomes after which every page starts from its initial buttons: the dialogue started
// afresh, or a transfer ended (12 to 18; 12 also when the unit's settings read back invalid).
bool RestoresTheButtons(ResultCode code) {
    const auto value = static_cast<std::uint32_t>(code);
    return ResetsTheDialogue(code) || (value >= 12 && value <= 18);
}

} // namespace

SaveConfirmation::SaveConfirmation(ConnectionController& link, const Clock& clock)
    : link_(link), clock_(clock) {
    link_.SetTransferListener(this);
}

SaveConfirmation::~SaveConfirmation() {
    link_.SetTransferListener(nullptr);
}

void SaveConfirmation::Begin(const SettingsWrite& write, std::string report) {
    if (write.kind == TransferKind::None) {
        return;
    }
    pending_ = write;
    report_ = std::move(report);
    start_ = clock_.Now();
    const PageButtons page = ButtonsOf(write.kind);
    page.save = false;
    page.confirm = true;
}

bool SaveConfirmation::Confirm(TransferKind kind) {
    const PageButtons page = ButtonsOf(kind);
    if (kind == TransferKind::None || pending_.kind != kind || !start_ || !page.confirm) {
        return false; // the window has closed: nothing may be sent
    }
    page.confirm = false;
    start_.reset();
    if (link_.WriteSettings(pending_)) {
        return true;
    }
    page.save = true; // the link refused and said why; the page may save again
    return false;
}

void SaveConfirmation::Tick(ViewMode shown) {
    ReenableFactorySave();
    const bool factoryPage = shown == ViewMode::FactorySettings;
    if (!start_ || (!factoryPage && shown != ViewMode::CustomerSettings)) {
        return;
    }
    const std::uint32_t elapsed = Elapsed(*start_, clock_.Now());
    if (elapsed > Window) {
        Expire(factoryPage);
        return;
    }
    const int seconds = WindowSeconds - static_cast<int>(elapsed / 1000);
    (factoryPage ? buttons_.factoryConfirmSeconds : buttons_.customerConfirmSeconds) = seconds;
}

// Only the connected unit's factory page may save.
void SaveConfirmation::ReenableFactorySave() {
    if (!buttons_.factorySaveReenable || link_.State() != LinkState::Diagnosis) {
        return;
    }
    buttons_.factorySaveReenable = false;
    const bool receiver = link_.Unit() == ControllerType::Receiver;
    buttons_.Btn_RFS_1 = receiver;
    buttons_.Btn_EFS_1 = !receiver;
}

void SaveConfirmation::Expire(bool factoryPage) {
    if (factoryPage) {
        ResetFactoryPages();
    } else {
        ResetCustomerPages();
    }
    start_.reset();
    // A result already waiting for the reporter (a reset among them) must not be replaced.
    if (!link_.ResultPending()) {
        link_.Report(ResultCode::ConfirmationExpired);
    }
}

// The factory save buttons stay off until the link is in diagnosis again, and the window, if
// still open, runs out on its page: nothing saved on one page is confirmed from another.
void SaveConfirmation::PageSwitched() {
    buttons_.Btn_RFS_1 = buttons_.Btn_RFS_2 = false;
    buttons_.Btn_EFS_1 = buttons_.Btn_EFS_2 = false;
    buttons_.Btn_RUS_2 = buttons_.Btn_EUS_2 = false;
    buttons_.factorySaveReenable = true;
}

bool SaveConfirmation::Cancel(TransferKind kind) {
    const PageButtons page = ButtonsOf(kind);
    if (!start_ || pending_.kind != kind || !page.confirm) {
        return false;
    }
    page.confirm = false;
    page.save = true;
    start_.reset();
    (IsFactoryKind(kind) ? buttons_.factoryConfirmSeconds : buttons_.customerConfirmSeconds) =
        WindowSeconds;
    return true;
}

// Whatever page the window was opened on, it closes, and every page may save again once the
// link is back.
void SaveConfirmation::LinkLost() {
    ResetFactoryPages();
    ResetCustomerPages();
    start_.reset();
}

// Yes to the offer after a customer transfer files the report made when its records were
// saved.
void SaveConfirmation::Reported(ResultCode code, MessageResult answer) {
    const bool offered =
        code == ResultCode::CustomerStored || code == ResultCode::EmitterCustomerStored;
    if (offered && answer == MessageResult::Yes && filing_ != nullptr && !report_.empty()) {
        filing_->SaveToTextFile(report_);
    }
    if (RestoresTheButtons(code)) {
        buttons_ = EditorButtons{};
        start_.reset();
    }
}

void SaveConfirmation::ResetFactoryPages() {
    buttons_.Btn_RFS_1 = buttons_.Btn_RFS_2 = false;
    buttons_.Btn_EFS_1 = buttons_.Btn_EFS_2 = false;
    buttons_.factorySaveReenable = true;
    buttons_.factoryConfirmSeconds = WindowSeconds;
}

void SaveConfirmation::ResetCustomerPages() {
    buttons_.Btn_RUS_2 = buttons_.Btn_EUS_2 = false;
    buttons_.Btn_RUS_1 = buttons_.Btn_EUS_1 = true;
    buttons_.customerConfirmSeconds = WindowSeconds;
}

SaveConfirmation::PageButtons SaveConfirmation::ButtonsOf(TransferKind kind) {
    switch (kind) {
    case TransferKind::ReceiverFactory:
        return {buttons_.Btn_RFS_1, buttons_.Btn_RFS_2};
    case TransferKind::EmitterFactory:
        return {buttons_.Btn_EFS_1, buttons_.Btn_EFS_2};
    case TransferKind::ReceiverCustomer:
        return {buttons_.Btn_RUS_1, buttons_.Btn_RUS_2};
    case TransferKind::EmitterCustomer:
    case TransferKind::None:
        break;
    }
    return {buttons_.Btn_EUS_1, buttons_.Btn_EUS_2};
}

} // namespace lcdiag
