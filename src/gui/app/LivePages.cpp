#include "gui/app/LivePages.h"

#include "core/app/Texts.h"
#include "core/protocol/ConnectionController.h"
#include "gui/app/TPictureBox.h"
#include "gui/views/ViewPictures.h"

#include <QCheckBox>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>

namespace lcdiag {
namespace {

constexpr TextId TeachCaption = 1031;
constexpr TextId OkCaption = 1032;
constexpr TextId SynchronisationBeamWarning = 140;

} // namespace

LiveViewData ViewDataOf(const ConnectionController& link, std::uint32_t tick,
                        DimensioningMode dimensioning) {
    LiveViewData data;
    data.controller = link.Unit();
    data.diagnosis = link.State() == LinkState::Diagnosis;
    data.tick = tick;
    data.receiverCycle = link.ReceiverCycles();
    data.emitterCycle = link.EmitterCycles();
    data.receiverFactory = link.ReceiverFactory();
    data.receiverFactoryValid = link.ReceiverFactoryValid();
    data.emitterFactory = link.EmitterFactory();
    data.emitterFactoryValid = link.EmitterFactoryValid();
    data.emitterCustomer = link.EmitterCustomer();
    data.emitterCustomerValid = link.EmitterCustomerValid();
    data.dimensioning = dimensioning;
    return data;
}

bool TLivePage::Enter(ViewMode /*previous*/) {
    host_.RunTimerCycleNow();
    area_.Img_Main->show();
    return true;
}

void TLivePage::Leave() {
    area_.Img_Main->hide();
}

// The picture is drawn again only when the data would draw differently from what is shown,
// unless something besides the data changed. Nothing is drawn once the window has closed and
// freed its pictures.
void TLivePage::Sync(PageRedraw redraw) {
    if (redraw == PageRedraw::None || area_.pictures == nullptr) {
        return;
    }
    LiveViewData data = host_.CurrentViewData();
    if (redraw == PageRedraw::IfChanged && shown_ && DrawsAlike(*shown_, data)) {
        return;
    }
    const QImage& picture = Draw(data);
    const std::optional<QRect> drawn = TakeDrawnArea();
    area_.Img_Main->SetPicture(picture, redraw == PageRedraw::Always ? std::nullopt : drawn);
    shown_ = std::move(data);
}

// A page of ScrlBr1 is the 16 rows the picture shows.
TBarPage::TBarPage(TPageHost& host, TLiveArea& area) : TLivePage(host, area) {
    area.ScrlBr1->setPageStep(BarGeometry::Rows);
    QObject::connect(area.ScrlBr1, &QScrollBar::valueChanged, area.ScrlBr1,
                     [&host] { host.RequestRedraw(); });
}

bool TBarPage::Enter(ViewMode previous) {
    TLivePage::Enter(previous);
    area_.ScrlBr1->show();
    area_.Img_Main->SetBeamScroll(area_.ScrlBr1);
    area_.Img_Main->setFocus();
    return true;
}

void TBarPage::Leave() {
    area_.Img_Main->SetBeamScroll(nullptr);
    area_.ScrlBr1->hide();
    TLivePage::Leave();
}

// ScrlBr1 spans the beams beyond the 16 rows; setting its range is no user scroll.
const QImage& TBarPage::Draw(const LiveViewData& data) {
    const ScrollRange range = ViewPictures::BarScroll(data);
    {
        const QSignalBlocker quiet(area_.ScrlBr1);
        area_.ScrlBr1->setRange(range.minimum, range.maximum);
        area_.ScrlBr1->setEnabled(range.enabled);
    }
    return area_.pictures->DrawBar(data, area_.ScrlBr1->value());
}

std::optional<QRect> TBarPage::TakeDrawnArea() {
    return area_.pictures->TakeBarDamage();
}

TLinesPage::TLinesPage(TPageHost& host, TLiveArea& area, bool beamDiagnostics)
    : TLivePage(host, area), beamDiagnostics_(beamDiagnostics) {
    QObject::connect(area.ChckBx_Main_1, &QCheckBox::toggled, area.ChckBx_Main_1,
                     [&host, &area](bool checked) {
                         area.pictures->SetBeamDiagnostics(checked);
                         host.RequestRedraw();
                     });
}

bool TLinesPage::Enter(ViewMode previous) {
    TLivePage::Enter(previous);
    area_.ChckBx_Main_1->setVisible(beamDiagnostics_);
    return true;
}

// Beam diagnostics start unchecked at every opening.
void TLinesPage::Leave() {
    area_.ChckBx_Main_1->hide();
    area_.ChckBx_Main_1->setChecked(false);
    TLivePage::Leave();
}

const QImage& TLinesPage::Draw(const LiveViewData& data) {
    return area_.pictures->DrawLines(data, LinesPage::Lines);
}

TBeamSelectionPage::TBeamSelectionPage(TPageHost& host, TLiveArea& area, ReceiverSettings& settings)
    : TLivePage(host, area), settings_(settings) {}

// A teach selection takes the interrupted beams over: its accept button says so.
bool TBeamSelectionPage::Enter(ViewMode previous) {
    TLivePage::Enter(previous);
    const bool teach = settings_.Selection().mode == BeamSelectionMode::Teach;
    area_.Btn_Main_2->setText(
        QString::fromStdString(host_.Language().GetText(teach ? TeachCaption : OkCaption)));
    area_.Btn_Main_2->resize(area_.Btn_Main_2->sizeHint());
    host_.ScrlBx_MainResize(); // a longer caption moves the button's left edge
    area_.Btn_Main_2->show();
    area_.Btn_Main_3->show();
    area_.Img_Main->onPress = [this](QPoint at) { Click(at); };
    QObject::connect(area_.Btn_Main_2, &QPushButton::clicked, area_.Btn_Main_2,
                     [this] { End(true); });
    QObject::connect(area_.Btn_Main_3, &QPushButton::clicked, area_.Btn_Main_3,
                     [this] { End(false); });
    return true;
}

void TBeamSelectionPage::Leave() {
    area_.Img_Main->onPress = nullptr;
    area_.Btn_Main_2->disconnect(area_.Btn_Main_2);
    area_.Btn_Main_3->disconnect(area_.Btn_Main_3);
    area_.Btn_Main_2->hide();
    area_.Btn_Main_3->hide();
    TLivePage::Leave();
}

// Teaching follows the latest cycle on every redraw.
const QImage& TBeamSelectionPage::Draw(const LiveViewData& data) {
    settings_.TeachFromCycle(data.receiverCycle.FreeMask());
    LiveViewData shown = data;
    shown.selection = settings_.Selection();
    return area_.pictures->DrawLines(shown, LinesPage::Selection);
}

void TBeamSelectionPage::Click(QPoint at) {
    BeamSelection selection = settings_.Selection();
    switch (area_.pictures->ClickBeam(at, selection)) {
    case BeamClick::SynchronisationBeam:
        host_.Language().ShowMessageId(msg::Warning | SynchronisationBeamWarning);
        break;
    case BeamClick::Toggled:
        settings_.SetEditedMask(selection.fixedBlanking);
        host_.RequestRedraw();
        break;
    case BeamClick::None:
        break;
    }
}

// Accepting checks the selection against the live cycle's data.
void TBeamSelectionPage::End(bool accept) {
    if (accept) {
        const ConnectionController& link = host_.Link();
        settings_.AcceptSelection(link.State() == LinkState::Diagnosis &&
                                  link.ReceiverCycles().Valid());
    } else {
        settings_.DiscardSelection();
    }
    host_.SetViewMode(ViewMode::CustomerSettings);
}

bool TStatusPage::Enter(ViewMode /*previous*/) {
    host_.RunTimerCycleNow(true);
    area_.Img_Main->show();
    return true;
}

const QImage& TStatusPage::Draw(const LiveViewData& data) {
    return area_.pictures->DrawStatus(data);
}

} // namespace lcdiag
