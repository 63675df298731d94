#include "gui/app/PanelPages.h"

#include "core/protocol/ConnectionController.h"
#include "gui/safety/CalcSafetyDistance.h"

#include <QFrame>
#include <QVBoxLayout>

namespace lcdiag {

bool TPanelPage::Enter(ViewMode /*previous*/) {
    panel_.show();
    return true;
}

void TPanelPage::Leave() {
    panel_.hide();
}

TCalculatorPage::TCalculatorPage(QFrame& panel, TPageHost& host, int screenProfile, QSize viewSize)
    : TPanelPage(panel), host_(host), screenProfile_(screenProfile), viewSize_(viewSize) {}

bool TCalculatorPage::Enter(ViewMode previous) {
    exitMode_ =
        previous == ViewMode::None || previous == ViewMode::Calculator ? ViewMode::Bar : previous;
    TPanelPage::Enter(previous);
    Calculator().InitCSD();
    return true;
}

// The calculator is made at its first opening and lives in its panel from then on.
TCalcSafetyDistance& TCalculatorPage::Calculator() {
    if (auto* page = panel_.findChild<TCalcSafetyDistance*>()) {
        return *page;
    }
    auto* page = new TCalcSafetyDistance(host_.Language(), screenProfile_, viewSize_, &panel_);
    page->onExit = [this] { host_.SetViewMode(exitMode_); };
    page->deviceResolution = [this] { return host_.Link().Info().resolution; };
    auto* layout = new QVBoxLayout(&panel_);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(page);
    return *page;
}

} // namespace lcdiag
