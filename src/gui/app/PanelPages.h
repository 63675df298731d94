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
    void Sync(bool /*redraw*/) override {}

protected:
    QFrame& panel_;
};

// The panel of the connected unit's user settings. Outside the manufacturer build it opens
// only after the user settings password, asked once per run.
class TUserSettingsPage final : public TPanelPage {
public:
    TUserSettingsPage(QFrame& panel, TPageHost& host, bool passwordNeeded)
        : TPanelPage(panel), host_(host), locked_(passwordNeeded) {}

    bool Admit() override;
    bool ShowsUnitSettings() const override { return true; }

private:
    TPageHost& host_;
    bool locked_;
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
