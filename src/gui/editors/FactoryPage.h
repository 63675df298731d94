#pragma once

#include "core/editors/FactorySettings.h"
#include "core/editors/SaveConfirmation.h"
#include "core/editors/TimeFieldAccelerator.h"
#include "gui/editors/TimeBox.h"
#include "gui/views/TPage.h"

#include <array>

class QFrame;
class QGridLayout;
class QLabel;
class QLayout;
class QPushButton;
class QTabWidget;
class QWidget;

namespace lcdiag {

// The factory settings of the unit (view mode 3, panel Pnl_FabSetFrame), in the manufacturer
// build only: the emitter's page (tab 0, Pnl_EFabSet) and the receiver's page (tab 1,
// Pnl_RFabSet) in TbCntrl_FabSet, their controls built from the table of the factory model.
// Saving builds the factory record and opens the ten-second confirmation.
class TFactoryPage final : public TPage {
public:
    TFactoryPage(QFrame& panel, TPageHost& host, SaveConfirmation& confirmation, int screenProfile);

    // Loads both pages from the link and shows the connected unit's.
    bool Enter(ViewMode previous) override;
    void Leave() override;
    void Sync(PageRedraw redraw) override;

private:
    QWidget* BuildPage(FactoryPage page, const char* name);
    void AddControl(QGridLayout& grid, const FactoryControlRow& row);
    QWidget* MakeWidget(const FactoryControlRow& row, QWidget* parent);
    QWidget* MakeTime(const FactoryControlRow& row, QWidget* parent);
    QLayout* BuildButtons(FactoryPage page, QWidget* parent);
    void Act(FactoryPage page, int action);
    FactorySource Source() const;
    bool Load();
    void Save(FactoryPage page);
    void ShowModel();
    void SyncControl(const FactoryControlRow& row);
    void SyncButtons();

    QFrame& panel_;
    TPageHost& host_;
    SaveConfirmation& confirmation_;
    FactorySettings factory_;
    TQtAccelerationTimer timer_;
    TimeFieldAccelerator accelerator_;
    QTabWidget* tabs_ = nullptr;
    std::array<QWidget*, FactoryControlCount> widgets_{};
    std::array<QLabel*, FactoryControlCount> labels_{};
    std::array<QWidget*, FactoryControlCount> arrows_{};
    std::array<QPushButton*, 5> receiverButtons_{}; // Btn_RFS_1 to Btn_RFS_5
    std::array<QPushButton*, 4> emitterButtons_{};  // Btn_EFS_1 to Btn_EFS_4
};

} // namespace lcdiag
