#pragma once

#include "core/device/ControllerType.h"
#include "core/device/InfoTexts.h"
#include "gui/views/BarView.h"
#include "gui/views/ViewResources.h"

#include <QImage>

namespace lcdiag {

// The left side of the bar picture: the title (the brand's title text over a soft shadow,
// or its logo), the information panel and the legend of the connected unit's LEDs and beam
// states. The title also heads the status picture's right side.
class TitlePanel {
public:
    TitlePanel(const ViewResources& resources, const BarView& bar);

    // Draws title, information labels and legend into the bar picture.
    void Draw(QImage& barPicture, ControllerType connected);
    // Copies the bar picture's title onto the right side of the status picture.
    void CopyTitle(const QImage& barPicture, QImage& statusPicture) const;
    // Draws the information values beside their labels.
    void OutputInfo(QImage& barPicture, const InfoTexts& info) const;
    // Where the title ends (the status view's tables stay below it on the right side).
    int TitleEnd() const { return titleEnd_; }

private:
    int DrawTitle(QImage& picture, int y) const;
    void DrawShadow(QImage& picture, const QStringList& lines, int y) const;
    int DrawInfoLabels(QPainter& painter, int y);
    int DrawLegend(QPainter& painter, int y) const;
    void DrawLedNames(QPainter& painter, int imageLeft, int imageTop) const;
    void DrawLegendRows(QImage& picture, int top) const;
    void EtchedRule(QPainter& painter, int y) const;
    int Half() const;

    const ViewResources& resources_;
    const BarView& bar_;
    ControllerType connected_ = ControllerType::Receiver;
    int titleEnd_ = 0;
    int panelTop_ = 0;
    int valueLeft_ = 0;
    int lineHeight_ = 0;
};

} // namespace lcdiag
