#pragma once

#include "core/editors/EditorButtons.h"
#include "core/protocol/Clock.h"
#include "core/protocol/ConnectionSeams.h"
#include "core/protocol/SettingsWrite.h"
#include "core/views/ViewMode.h"

#include <cstdint>
#include <optional>

namespace lcdiag {

class ConnectionController;

// The settings pages' two-step save. A page whose records were built opens a ten-second
// window; only its confirm button, pressed inside the window, hands the records to the link.
// The buttons of all four pages are kept here, so that a lost link or a reported outcome puts
// them back in one place.
class SaveConfirmation final : public TransferListener {
public:
    static constexpr std::uint32_t Window = 10000; // ms to confirm a save

    // Listens to the link's outcomes for as long as it lives.
    SaveConfirmation(ConnectionController& link, const Clock& clock);
    ~SaveConfirmation() override;
    SaveConfirmation(const SaveConfirmation&) = delete;
    SaveConfirmation& operator=(const SaveConfirmation&) = delete;

    // A page built its records: its save button goes off, its confirm button on, and the
    // window opens.
    void Begin(const SettingsWrite& write);
    // The confirm button of the kind's page: starts the transfer while the window is open and
    // the button enabled; otherwise nothing is sent. False when nothing was sent.
    bool Confirm(TransferKind kind);
    // Every 25 ms tick: the factory save buttons come back once the link is in diagnosis, and
    // the window counts down while a settings page is shown, the one whose captions it
    // changes and whose buttons it resets when the time is up.
    void Tick(ViewMode shown);
    // Every switch between pages: nothing saved on a page may be confirmed from another.
    void PageSwitched();

    bool Open() const { return start_.has_value(); }
    const EditorButtons& Buttons() const { return buttons_; }

    void LinkLost() override;
    void Reported(ResultCode code, MessageResult answer) override;

private:
    void ReenableFactorySave();
    void Expire(bool factoryPage);
    void ResetFactoryPages();
    void ResetCustomerPages();
    // The save and confirm buttons of the page that writes the kind.
    struct PageButtons {
        bool& save;
        bool& confirm;
    };
    PageButtons ButtonsOf(TransferKind kind);

    ConnectionController& link_;
    const Clock& clock_;
    EditorButtons buttons_;
    std::optional<std::uint32_t> start_; // the tick the window opened at
    SettingsWrite pending_;
};

} // namespace lcdiag
