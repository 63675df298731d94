#pragma once

// The user settings page, the beam selection page and the factory settings page, the real
// widgets, hosted as the main window hosts them but on an end-to-end world: the program's
// dialogue against a simulated controller on a virtual clock that only the test moves.
#include "World.h"
#include "gui/app/LivePages.h"
#include "gui/app/TPictureBox.h"
#include "gui/editors/FactoryPage.h"
#include "gui/editors/UserSettingsPage.h"
#include "gui/views/TPage.h"
#include "gui/views/ViewPictures.h"

#include <QCheckBox>
#include <QFrame>
#include <QPushButton>
#include <QScrollBar>
#include <QWidget>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lcdiag::test {

class PagesBench final : public TPageHost {
public:
    // profile 0-4 chooses the view size and fonts.
    explicit PagesBench(const sim::ControllerConfig& config, int profile = 0);
    ~PagesBench() override;

    // Until the unit is in live diagnosis.
    bool Connect();
    // Moves the virtual time on, syncing the shown page every 25 ms as the window's timer.
    void Run(std::uint32_t ms);
    bool RunUntil(const std::function<bool()>& condition, std::uint32_t timeout = 8000);

    // A control of the pages, by its name.
    template <typename W = QWidget> W* Find(const char* name) const {
        return area_.findChild<W*>(QString::fromLatin1(name));
    }
    void Click(const char* name);
    // A press on the beam selection page on the beam (counted from 0).
    void PressBeam(int beam);
    // The view area as the window shows it.
    QImage Grab();

    ViewMode Mode() const { return mode_; }
    std::vector<std::string> Messages() const { return world.Messages(); }

    // TPageHost.
    bool SetViewMode(ViewMode mode, bool force = false) override;
    void RunTimerCycleNow(bool freshSupervision = false) override;
    void RequestRedraw() override { redraw_ = true; }
    ConnectionController& Link() override { return world.controller; }
    LiveViewData CurrentViewData() const override;
    void ScrlBx_MainResize() override;
    int ShowPasswordDialog(PasswordMode) override { return 1; }
    bool ConfirmSafetyNote(int mode) override;
    std::optional<std::string> ChooseFileToSave(TextId filter) override;
    CustomerRecordContext RecordContext() override;
    const Texts& Language() const override { return world.texts; }

    e2e::World world;
    std::vector<int> notesShown;      // the safety notes asked for
    bool confirmNotes = true;         // the user's answer to them
    std::filesystem::path reportFile; // where the report is filed ("": the user cancels)

private:
    TPage* PageOf(ViewMode mode) const;
    void Sync();

    int profile_;
    QSize viewSize_;
    QWidget area_;
    QFrame* panel_;
    QFrame* factoryPanel_;
    TPictureBox* image_;
    QScrollBar* scrollBar_;
    QPushButton* accept_;
    QPushButton* discard_;
    QCheckBox* diagnostics_;
    std::unique_ptr<ViewPictures> pictures_;
    TLiveArea live_;
    std::unique_ptr<TUserSettingsPage> settings_;
    std::unique_ptr<TBeamSelectionPage> selection_;
    std::unique_ptr<TFactoryPage> factory_;
    ViewMode mode_ = ViewMode::Bar;
    ViewMode drawn_ = ViewMode::None;
    bool redraw_ = false;
};

} // namespace lcdiag::test
