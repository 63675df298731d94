#pragma once

#include "core/device/ControllerType.h"
#include "core/views/StatusLayout.h"
#include "gui/views/ViewResources.h"

#include <QImage>
#include <QPoint>

namespace lcdiag {

struct LiveViewData;

// The status picture: the function table ("Functional status") centred in the left side and
// the LED table ("Status LED") centred in the right side below the title, each row with
// raised square indicators that light from the latest cycle.
class StatusView {
public:
    StatusView(const ViewResources& resources, QImage& picture);

    // Both tables with dark indicators, for the connected unit, below the title's end.
    void PreDraw(ControllerType connected, int titleEnd);
    // Every indicator from the data.
    void DrawIndicators(const LiveViewData& data);

private:
    QImage FunctionTable() const;
    QImage LedTable() const;
    QImage Scratch() const;
    void Heading(QPainter& painter, const QString& text, int left, int width, int rule) const;
    void Frame(QPainter& painter, int width, int height) const;
    void EtchedHLine(QPainter& painter, int width, int y) const;
    void EtchedVLine(QPainter& painter, int x, int top, int bottom) const;
    void DrawIndicator(QPainter& painter, QPoint at, const QColor* lit) const;
    void DrawCycleCount(QPainter& painter, int count) const;

    const ViewResources& resources_;
    QImage& picture_;
    ControllerType connected_ = ControllerType::Receiver;
    FunctionTableLayout functions_;
    LedTableLayout leds_;
    QPoint functionsAt_; // where the tables stand in the picture
    QPoint ledsAt_;
};

} // namespace lcdiag
