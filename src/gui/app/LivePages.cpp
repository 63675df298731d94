#include "gui/app/LivePages.h"

#include "core/app/Texts.h"
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

bool TLivePage::Enter(ViewMode /*previous*/) {
    host_.RunTimerCycleNow();
    area_.Img_Main->show();
    return true;
}

void TLivePage::Leave() {
    area_.Img_Main->hide();
}

// Nothing is drawn once the window has closed and freed its pictures.
void TLivePage::Sync(bool redraw) {
    if (redraw && area_.pictures != nullptr) {
        area_.Img_Main->SetPicture(Draw(host_.CurrentViewData()));
    }
}

TBarPage::TBarPage(TPageHost& host, TLiveArea& area) : TLivePage(host, area) {
    QObject::connect(area.ScrlBr1, &QScrollBar::valueChanged, area.ScrlBr1,
                     [&host] { host.RequestRedraw(); });
}

bool TBarPage::Enter(ViewMode previous) {
    TLivePage::Enter(previous);
    area_.ScrlBr1->show();
    return true;
}

void TBarPage::Leave() {
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

// A teach selection takes the interrupted beams over: its accept button says so.
bool TBeamSelectionPage::Enter(ViewMode previous) {
    TLivePage::Enter(previous);
    const bool teach = selection_.mode == BeamSelectionMode::Teach;
    area_.Btn_Main_2->setText(
        QString::fromStdString(host_.Language().GetText(teach ? TeachCaption : OkCaption)));
    area_.Btn_Main_2->resize(area_.Btn_Main_2->sizeHint());
    host_.ScrlBx_MainResize(); // a longer caption moves the button's left edge
    area_.Btn_Main_2->show();
    area_.Btn_Main_3->show();
    area_.Img_Main->onPress = [this](QPoint at) { Click(at); };
    return true;
}

void TBeamSelectionPage::Leave() {
    area_.Img_Main->onPress = nullptr;
    area_.Btn_Main_2->hide();
    area_.Btn_Main_3->hide();
    TLivePage::Leave();
}

const QImage& TBeamSelectionPage::Draw(const LiveViewData& data) {
    LiveViewData shown = data;
    shown.selection = selection_;
    return area_.pictures->DrawLines(shown, LinesPage::Selection);
}

void TBeamSelectionPage::Click(QPoint at) {
    switch (area_.pictures->ClickBeam(at, selection_)) {
    case BeamClick::SynchronisationBeam:
        host_.Language().ShowMessageId(msg::Warning | SynchronisationBeamWarning);
        break;
    case BeamClick::Toggled:
        host_.RequestRedraw();
        break;
    case BeamClick::None:
        break;
    }
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
