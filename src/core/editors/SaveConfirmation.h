#pragma once

#include "core/editors/EditorButtons.h"
#include "core/protocol/Clock.h"
#include "core/protocol/ConnectionSeams.h"
#include "core/protocol/SettingsWrite.h"
#include "core/views/ViewMode.h"

#include <cstdint>
#include <optional>
#include <string>

namespace lcdiag {

class ConnectionController;

// Where the settings report goes when the user wants it after a successful transfer: the
// program asks for a file and writes it there.
class ReportFiling {
public:
    virtual ~ReportFiling() = default;
    virtual void SaveToTextFile(const std::string& report) = 0;
};

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

    // A page built its records (and the report of what they hold): its save button goes off,
    // its confirm button on, and the window opens.
    void Begin(const SettingsWrite& write, std::string report = {});
    // The confirm button of the kind's page: starts the transfer while the window is open and
    // the button enabled; otherwise nothing is sent. False when nothing was sent.
    bool Confirm(TransferKind kind);
    // Every 25 ms tick: the factory save buttons come back once the link is in diagnosis, and
    // the window counts down while a settings page is shown, the one whose captions it
    // changes and whose buttons it resets when the time is up.
    void Tick(ViewMode shown);
    // Every switch between pages: nothing saved on a page may be confirmed from another.
    void PageSwitched();
    // The cancel button of the kind's page: closes a window opened there and gives the page its
    // save button back. False when no save of that page waited (the page is then left).
    bool Cancel(TransferKind kind);
    // Where the report goes after a successful customer transfer (nullptr: nowhere).
    void SetReportFiling(ReportFiling* filing) { filing_ = filing; }

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
    std::string report_; // of the records saved last
    ReportFiling* filing_ = nullptr;
};

} // namespace lcdiag
