#pragma once

#include "core/editors/EmitterSettings.h"
#include "core/editors/ReceiverSettings.h"
#include "core/editors/SaveConfirmation.h"
#include "gui/views/TPage.h"

#include <array>

class QCheckBox;
class QFrame;
class QPushButton;
class QWidget;

namespace lcdiag {

class TReceiverPages;

// The user settings of the connected unit (view mode 4, panel Pnl_UserSetFrame): the
// receiver's three pages with their frame of buttons (Btn_RUS_1 save, 2 confirm, 3 default
// values, 4 cancel), or the emitter's page (Pnl_EUserSet, Btn_EUS_1-4). Outside the
// manufacturer build it opens only after the user settings password, asked once per run.
// Saving builds the record and its report and opens the ten-second confirmation; the report
// is filed after a successful transfer when the user wants it.
class TUserSettingsPage final : public TPage, private SafetyNotePrompt, private ReportFiling {
public:
    TUserSettingsPage(QFrame& panel, TPageHost& host, SaveConfirmation& confirmation,
                      int screenProfile, bool passwordNeeded);
    ~TUserSettingsPage() override;

    bool Admit() override;
    // Loads the unit's current settings, except when coming back from the beam selection.
    bool Enter(ViewMode previous) override;
    void Leave() override;
    void Sync(PageRedraw redraw) override;
    bool ShowsUnitSettings() const override { return true; }

    // The receiver's pages, which the beam selection page edits too.
    ReceiverSettings& Receiver() { return receiver_; }

private:
    QWidget* BuildReceiverFrame();
    QWidget* BuildEmitterFrame();
    std::array<QPushButton*, 4> BuildButtons(QWidget* parent, const char* prefix);
    bool ReceiverShown() const;
    ReceiverSource Source();
    bool Load(bool defaults);
    void Save();
    void Defaults();
    void Cancel();
    void StartSelection(bool teach);
    void AfterReceiverChange();
    void SyncButtons();

    bool ConfirmSafetyNote(int mode) override;
    void SaveToTextFile(const std::string& report) override;

    QFrame& panel_;
    TPageHost& host_;
    SaveConfirmation& confirmation_;
    bool locked_;
    ReceiverSettings receiver_;
    EmitterSettings emitter_;
    QWidget* receiverFrame_ = nullptr;
    TReceiverPages* receiverPages_ = nullptr;
    QWidget* emitterFrame_ = nullptr;
    QCheckBox* ChckBx_EUS_11 = nullptr;
    std::array<QPushButton*, 4> receiverButtons_{}; // Btn_RUS_1 to Btn_RUS_4
    std::array<QPushButton*, 4> emitterButtons_{};  // Btn_EUS_1 to Btn_EUS_4
};

} // namespace lcdiag
