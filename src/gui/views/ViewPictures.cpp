#include "gui/views/ViewPictures.h"

#include "gui/views/PictureOps.h"

#include <utility>

namespace lcdiag {

ViewPictures::ViewPictures(int screenProfile, QSize viewSize, ViewBuild build, ViewColours colours,
                           QImage logo, int selectionButtonHeight, const Texts& texts, int ratio)
    : resources_(screenProfile, build, colours, std::move(logo), texts, ratio),
      bar_(FilledImage(viewSize.width(), viewSize.height(), colours.face, ratio)),
      barView_(std::make_unique<BarView>(resources_, bar_)),
      title_(std::make_unique<TitlePanel>(resources_, *barView_)),
      statusView_(std::make_unique<StatusView>(resources_, status_)),
      linesView_(std::make_unique<LinesView>(resources_, lines_, selectionButtonHeight)) {
    SetControllerType(ControllerType::Receiver);
}

void ViewPictures::SetControllerType(ControllerType unit) {
    controller_ = unit;
    barView_->PreDraw(unit);
    title_->Draw(bar_, unit);
    title_->OutputInfo(bar_, info_);
    if (!status_.isNull()) {
        PrepareStatus();
    }
}

// The status and lines pictures take their memory when they are first shown.
QImage ViewPictures::BlankPicture() const {
    const QSize size = Size();
    return FilledImage(size.width(), size.height(), resources_.Colours().face,
                       static_cast<int>(bar_.devicePixelRatio()));
}

void ViewPictures::PrepareStatus() {
    if (status_.isNull()) {
        status_ = BlankPicture();
    }
    title_->CopyTitle(bar_, status_);
    statusView_->PreDraw(controller_, title_->TitleEnd());
}

void ViewPictures::Follow(ControllerType unit) {
    if (unit != controller_) {
        SetControllerType(unit);
    }
}

void ViewPictures::OutputInfo(const InfoTexts& info) {
    info_ = info;
    title_->OutputInfo(bar_, info_);
}

const QImage& ViewPictures::DrawBar(const LiveViewData& data, int firstBeam) {
    Follow(data.controller);
    barView_->DrawRows(data, firstBeam);
    if (data.controller == ControllerType::Receiver) {
        barView_->DrawLeds(barView_->LastLedByte(ControllerType::Emitter), ReceiverLedByte(data));
    } else {
        barView_->DrawLeds(EmitterLedByte(data), barView_->LastLedByte(ControllerType::Receiver));
    }
    return bar_;
}

QRect ViewPictures::TakeBarDamage() {
    return barView_->TakeDamage();
}

const QImage& ViewPictures::DrawStatus(const LiveViewData& data) {
    Follow(data.controller);
    if (status_.isNull()) {
        PrepareStatus();
    }
    statusView_->DrawIndicators(data);
    return status_;
}

const QImage& ViewPictures::DrawLines(const LiveViewData& data, LinesPage page) {
    Follow(data.controller);
    if (lines_.isNull()) {
        lines_ = BlankPicture();
    }
    linesView_->Draw(data, page);
    return lines_;
}

ScrollRange ViewPictures::BarScroll(const LiveViewData& data) {
    return BarScrollRange(ShownBeamCount(data));
}

QRect ViewPictures::ScrollBarPlace() const {
    const Rect place = barView_->Geometry().ScrollBar();
    return {place.left, place.top, place.width, place.height};
}

BeamClick ViewPictures::ClickBeam(QPoint at, BeamSelection& selection) const {
    if (linesView_->Page() != LinesPage::Selection) {
        return BeamClick::None;
    }
    return lcdiag::ClickBeam(linesView_->Layout(), linesView_->BeamCount(), at.x(), at.y(),
                             selection);
}

const LinesLayout& ViewPictures::LinesGrid() const {
    return linesView_->Layout();
}

void ViewPictures::SetBeamDiagnostics(bool checked) {
    linesView_->SetBeamDiagnostics(checked);
}

bool ViewPictures::LinesHeld() const {
    return linesView_->Held();
}

const BarGeometry& ViewPictures::Bar() const {
    return barView_->Geometry();
}

} // namespace lcdiag
