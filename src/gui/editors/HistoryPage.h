#pragma once

#include "core/editors/HistoryList.h"
#include "core/views/LiveViewData.h"
#include "gui/views/TPage.h"

#include <QFont>

class QFrame;
class QLabel;
class QPushButton;
class QRadioButton;
class QTableWidget;
class QTreeWidget;

namespace lcdiag {

// The configuration history (view mode 5, panel Pnl_HistoryFrame): the receiver's stored
// customer configurations in the list LstVw_H_1, the selected one's settings in the grid
// StrngGrd_H_1 and its blanking or muting mask (RdBtn_HF_1, RdBtn_HF_2) as a lines picture
// Img_H_2 below the list; Btn_H_1 goes back to the factory settings. Each visit rebuilds the
// list from the customer records last received.
class THistoryPage final : public TPage {
public:
    THistoryPage(QFrame& panel, TPageHost& host, int screenProfile);

    // Refused (the warning was shown) when the ring or its active slot is unknown.
    bool Enter(ViewMode previous) override;
    void Leave() override;
    // Draws the picture again when the beams' dimensioning changed.
    void Sync(PageRedraw redraw) override;

    const HistoryList& Model() const { return model_; }

private:
    void BuildList();
    void BuildGrid();
    void BuildButtons();
    void Arrange();
    void FillList();
    void ShowEntry();
    void DrawPicture();

    QFrame& panel_;
    TPageHost& host_;
    int profile_;
    HistoryList model_;
    DimensioningMode dimensioning_ = DimensioningMode::BeamNumber;
    bool ready_ = false; // false while the list is filled or cleared
    QTreeWidget* LstVw_H_1 = nullptr;
    QTableWidget* StrngGrd_H_1 = nullptr;
    QLabel* Img_H_2 = nullptr;
    QPushButton* Btn_H_1 = nullptr;
    QRadioButton* RdBtn_HF_1 = nullptr;
    QRadioButton* RdBtn_HF_2 = nullptr;
};

} // namespace lcdiag
