#pragma once

#include "gui/views/TPage.h"

#include <QSize>
#include <string>

class QFrame;

namespace lcdiag {

class TCalcSafetyDistance;

// A page shown as a panel of the view area, the rectangle of the live picture.
class TPanelPage : public TPage {
public:
    explicit TPanelPage(QFrame& panel) : panel_(panel) {}

    bool Enter(ViewMode previous) override;
    void Leave() override;
    void Sync(PageRedraw /*redraw*/) override {}

protected:
    QFrame& panel_;
};

// The safety distance calculator: it starts from its defaults at every opening, and its
// "Exit" returns to the page it was opened from.
class TCalculatorPage final : public TPanelPage {
public:
    TCalculatorPage(QFrame& panel, TPageHost& host, int screenProfile, QSize viewSize);

    bool Enter(ViewMode previous) override;

private:
    TCalcSafetyDistance& Calculator();

    TPageHost& host_;
    int screenProfile_;
    QSize viewSize_;
    ViewMode exitMode_ = ViewMode::Bar;
};

} // namespace lcdiag
