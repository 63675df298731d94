#pragma once

#include "core/safety/SafetyDistance.h"

#include <QWidget>
#include <array>
#include <functional>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;

namespace lcdiag {

class Texts;

// The safety distance calculator's page: the inputs, the distances S and S1 computed at every
// change, the installation sketch, the safety pointers and the way back. Labels of inputs
// outside their range turn red; their outputs stay empty.
class TCalcSafetyDistance final : public QWidget {
public:
    // The sketch is drawn once, for the view width and the fonts of the screen profile.
    TCalcSafetyDistance(const Texts& texts, int screenProfile, QSize viewSize,
                        QWidget* parent = nullptr);

    // "Exit".
    std::function<void()> onExit;
    // The connected device's resolution text ("xx" while unknown); the page offers to take
    // it as d while it is a number.
    std::function<std::string()> deviceResolution;

    // The defaults: d 14, D 300, t1 0, t2 0, "PL e"; run on every opening.
    void InitCSD();
    const SafetyDistanceInputs& Inputs() const { return inputs_; }

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QWidget* BuildInputs();
    QWidget* BuildSketch(int screenProfile, QSize viewSize);
    void Edt_CSD_1XChange(int index, const QString& text);
    void RdBtn_CSD_11XClick();
    void CalcSD();
    void Btn_CSD_1Click();
    void OfferDeviceResolution();

    const Texts& texts_;
    SafetyDistanceInputs inputs_;
    std::array<QLabel*, 4> inputLabels_{};   // Lbl_CSD_12-15
    std::array<QLineEdit*, 4> inputEdits_{}; // Edt_CSD_11-14
    QLineEdit* Edt_CSD_15 = nullptr;
    QLineEdit* Edt_CSD_16 = nullptr;
    QLineEdit* Edt_CSD_17 = nullptr;
    QRadioButton* RdBtn_CSD_111 = nullptr;
    QRadioButton* RdBtn_CSD_112 = nullptr;
    QPushButton* Btn_CSD_3 = nullptr; // takes d from the connected device
    QTimer* deviceWatch_ = nullptr;
    int fontSize_ = 8;
};

} // namespace lcdiag
