#include "PagesBench.h"

#include "../SnapshotSupport.h"
#include "core/app/ScreenProfile.h"

#include <QApplication>
#include <QPalette>

namespace lcdiag::test {
namespace {

constexpr PcSoftwareVersion BenchPcVersion{1, 40};

template <typename W> W* Named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

PagesBench::PagesBench(const sim::ControllerConfig& config, int profile)
    : world(config), profile_(profile), viewSize_(snapshots::ViewSize(profile)) {
    area_.resize(viewSize_);
    panel_ = Named(new QFrame(&area_), "Pnl_UserSetFrame");
    panel_->setGeometry(0, 0, viewSize_.width(), viewSize_.height());
    factoryPanel_ = Named(new QFrame(&area_), "Pnl_FabSetFrame");
    factoryPanel_->setGeometry(panel_->geometry());
    image_ = Named(new TPictureBox(&area_), "Img_Main");
    image_->setGeometry(0, 0, viewSize_.width(), viewSize_.height());
    scrollBar_ = Named(new QScrollBar(&area_), "ScrlBr1");
    accept_ = Named(new QPushButton(&area_), "Btn_Main_2");
    discard_ = Named(new QPushButton(QString::fromStdString(world.texts.GetText(1033)), &area_),
                     "Btn_Main_3");
    diagnostics_ = Named(new QCheckBox(&area_), "ChckBx_Main_1");
    for (QWidget* control : std::initializer_list<QWidget*>{
             panel_, factoryPanel_, image_, scrollBar_, accept_, discard_, diagnostics_}) {
        control->hide();
    }
    discard_->resize(discard_->sizeHint());
    pictures_ = std::make_unique<ViewPictures>(profile_, viewSize_, ViewBuild{},
                                               ViewColours::FromPalette(QApplication::palette()),
                                               QImage(), discard_->height(), world.texts);
    live_ = {pictures_.get(), image_, scrollBar_, accept_, discard_, diagnostics_};
    settings_ =
        std::make_unique<TUserSettingsPage>(*panel_, *this, world.confirmation, profile_, false);
    selection_ = std::make_unique<TBeamSelectionPage>(*this, live_, settings_->Receiver());
    factory_ = std::make_unique<TFactoryPage>(*factoryPanel_, *this, world.confirmation, profile_);
}

PagesBench::~PagesBench() = default;

bool PagesBench::Connect() {
    world.Open();
    const bool emitter = world.device->Config().unit == sim::Unit::Emitter;
    return RunUntil([&] {
        return emitter ? world.controller.EmitterCycles().Valid()
                       : world.controller.ReceiverCycles().Valid();
    });
}

void PagesBench::Run(std::uint32_t ms) {
    for (std::uint32_t i = 1; i <= ms; ++i) {
        world.Run(1);
        if (i % 25 == 0) {
            Sync();
        }
    }
    Sync();
}

bool PagesBench::RunUntil(const std::function<bool()>& condition, std::uint32_t timeout) {
    for (std::uint32_t ms = 0; ms < timeout; ms += 5) {
        if (condition()) {
            return true;
        }
        Run(5);
    }
    return condition();
}

// The window's tick: a page the dialogue left is left here too, the shown one syncs.
void PagesBench::Sync() {
    if (world.view.viewMode != mode_) {
        SetViewMode(world.view.viewMode);
    }
    const PageRedraw redraw = redraw_ || drawn_ != mode_ ? PageRedraw::Always : PageRedraw::None;
    redraw_ = false;
    drawn_ = mode_;
    if (TPage* page = PageOf(mode_)) {
        page->Sync(redraw);
    }
}

TPage* PagesBench::PageOf(ViewMode mode) const {
    switch (mode) {
    case ViewMode::CustomerSettings:
        return settings_.get();
    case ViewMode::BeamSelection:
        return selection_.get();
    case ViewMode::FactorySettings:
        return factory_.get();
    default:
        return nullptr;
    }
}

bool PagesBench::SetViewMode(ViewMode mode, bool force) {
    if (mode == mode_ && !force) {
        return true;
    }
    TPage* page = PageOf(mode);
    if (page != nullptr && !page->Admit()) {
        return false;
    }
    const ViewMode previous = mode_;
    if (TPage* shown = PageOf(previous)) {
        shown->Leave();
    }
    mode_ = mode;
    world.view.viewMode = mode;
    world.confirmation.PageSwitched();
    if (page != nullptr && !page->Enter(previous)) {
        SetViewMode(previous, true);
        return false;
    }
    return true;
}

void PagesBench::RunTimerCycleNow(bool /*freshSupervision*/) {
    world.Tick();
    Sync();
}

LiveViewData PagesBench::CurrentViewData() const {
    return ViewDataOf(world.controller, world.clock.Now(), DimensioningMode::BeamNumber);
}

void PagesBench::ScrlBx_MainResize() {
    const QPoint corner(viewSize_.width(), viewSize_.height());
    discard_->move(corner - QPoint(discard_->width(), discard_->height()));
    accept_->resize(accept_->sizeHint());
    accept_->move(discard_->x() - 4 - accept_->width(), discard_->y());
}

bool PagesBench::ConfirmSafetyNote(int mode) {
    notesShown.push_back(mode);
    return confirmNotes;
}

std::optional<std::string> PagesBench::ChooseFileToSave(TextId /*filter*/) {
    if (reportFile.empty()) {
        return std::nullopt;
    }
    return reportFile.string();
}

CustomerRecordContext PagesBench::RecordContext() {
    return {world.controller.Firmware(), BenchPcVersion, world.pcClock, world.controller.Codec()};
}

void PagesBench::Click(const char* name) {
    auto* button = Find<QAbstractButton>(name);
    if (button != nullptr) {
        button->click();
    }
}

void PagesBench::PressBeam(int beam) {
    const Rect cell = pictures_->LinesGrid().Cell(beam + 1);
    image_->onPress(QPoint(cell.left + cell.width / 2, cell.top + cell.height / 2));
}

QImage PagesBench::Grab() {
    area_.show();
    QApplication::processEvents();
    return area_.grab().toImage();
}

} // namespace lcdiag::test
