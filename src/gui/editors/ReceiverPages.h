#pragma once

#include "core/editors/ReceiverSettings.h"
#include "core/editors/TimeFieldAccelerator.h"
#include "gui/editors/TimeBox.h"

#include <QWidget>
#include <array>
#include <functional>

class QGridLayout;
class QGroupBox;
class QLabel;
class QPushButton;
class QTabWidget;

namespace lcdiag {

class Texts;

// The receiver's user settings pages in their tab control (TbCntrl_RUserSet): general,
// muting and cyclic operation, built from the table of controls and showing the model. Every
// change the user makes goes to the model, and the pages show the model again.
class TReceiverPages final : public QWidget {
public:
    TReceiverPages(ReceiverSettings& settings, const Texts& texts, QWidget* parent);

    // The widgets show the model: values, limits, enabling, captions and tabs.
    void Sync();

    // After a change by the user (the page then looks for a requested beam selection).
    std::function<void()> onChanged;
    // "Manual" (false) or "Teaching" (true) of the fixed blanking.
    std::function<void(bool teach)> onSelection;

private:
    QWidget* BuildPage(UserPage page, const char* name);
    QGroupBox* BuildGroup(const char* name, TextId caption);
    void AddControl(QGridLayout& grid, const UserControlRow& row);
    QWidget* MakeWidget(const UserControlRow& row, QWidget* parent);
    void AddSelectionButtons(QGridLayout& grid);
    void SyncControl(const UserControlRow& row);
    void SyncTabs();
    void UserChanged();

    ReceiverSettings& settings_;
    const Texts& texts_;
    TQtAccelerationTimer timer_;
    TimeFieldAccelerator accelerator_;
    QTabWidget* tabs_ = nullptr;
    std::array<QWidget*, UserControlCount> widgets_{};
    std::array<QLabel*, UserControlCount> labels_{};
    std::array<QWidget*, UserControlCount> arrows_{};
    QPushButton* Btn_RUSG_41 = nullptr;
    QPushButton* Btn_RUSG_42 = nullptr;
};

} // namespace lcdiag
