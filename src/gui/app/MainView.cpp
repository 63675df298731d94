// The main window's central area: the scroll box with the picture and the pages, the page
// registry and switch, the fault window beside them, the view size and fonts of the screen
// profile.
#include "core/app/ScreenProfile.h"
#include "core/editors/SaveConfirmation.h"
#include "gui/app/BrandLogo.h"
#include "gui/app/PanelPages.h"
#include "gui/app/TFRM_Main.h"
#include "gui/app/TPictureBox.h"
#include "gui/editors/FactoryPage.h"
#include "gui/editors/HistoryPage.h"
#include "gui/editors/UserSettingsPage.h"
#include "gui/views/ViewPictures.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>

namespace lcdiag {
namespace {

constexpr TextId BeamDiagnosticsCaption = 1034;
constexpr TextId OkCaption = 1032;
constexpr TextId CancelCaption = 1033;
constexpr int ButtonGap = 4;
constexpr int CheckBoxInset = 8;
constexpr int FaultColumns = 36; // the fault panel's width in average characters

// The panels of the pages that are not pictures, in the order of panels_.
constexpr std::array<const char*, 4> PanelNames = {"Pnl_FabSetFrame", "Pnl_UserSetFrame",
                                                   "Pnl_HistoryFrame", "Pnl_CalcSecurityDistance"};
enum Panel { FabSet, UserSet, History, SafetyDistance };

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

template <typename W> W* Named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

int CentredOrStart(int client, int content) {
    return client > content ? (client - content) / 2 : 0;
}

// The device pixels per logical pixel the pictures are drawn with: the screen's ratio, a
// fractional one rounded up so that the picture box scales down rather than up.
int PictureRatio(const QWidget& window) {
    return std::max(1, static_cast<int>(std::ceil(window.devicePixelRatioF())));
}

} // namespace

void TFRM_Main::BuildViewArea() {
    auto* central = new QWidget(this);
    auto* layout = new QHBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    ScrlBx_Main = Named(new QScrollArea(central), "ScrlBx_Main");
    scrollContent_ = new QWidget;
    ScrlBx_Main->setWidget(scrollContent_);
    ScrlBx_Main->viewport()->installEventFilter(this);
    Img_Main = Named(new TPictureBox(scrollContent_), "Img_Main");
    ScrlBr1 = Named(new QScrollBar(Qt::Vertical, scrollContent_), "ScrlBr1");
    Btn_Main_1 = Named(new QPushButton(scrollContent_), "Btn_Main_1");
    Btn_Main_2 = Named(new QPushButton(Q(texts_.GetText(OkCaption)), scrollContent_), "Btn_Main_2");
    Btn_Main_3 =
        Named(new QPushButton(Q(texts_.GetText(CancelCaption)), scrollContent_), "Btn_Main_3");
    ChckBx_Main_1 = Named(new QCheckBox(Q(texts_.GetText(BeamDiagnosticsCaption)), scrollContent_),
                          "ChckBx_Main_1");
    for (QWidget* control :
         std::initializer_list<QWidget*>{Btn_Main_1, Btn_Main_2, Btn_Main_3, ChckBx_Main_1}) {
        control->resize(control->sizeHint());
    }
    for (QWidget* control : std::initializer_list<QWidget*>{
             ScrlBr1, Img_Main, Btn_Main_1, Btn_Main_2, Btn_Main_3, ChckBx_Main_1}) {
        control->hide(); // each page shows the controls it uses
    }
    for (std::size_t panel = 0; panel < panels_.size(); ++panel) {
        panels_[panel] = Named(new QFrame(scrollContent_), PanelNames[panel]);
        panels_[panel]->hide();
    }

    // The fault panel stands beside the picture at the full height of the view area; long
    // fault texts wrap.
    Pnl_ErrorFrame = Named(new QFrame(central), "Pnl_ErrorFrame");
    auto* faultLayout = new QVBoxLayout(Pnl_ErrorFrame);
    faultLayout->setContentsMargins(0, 0, 0, 0);
    LstBx_Error = Named(new QListWidget(Pnl_ErrorFrame), "LstBx_Error");
    LstBx_Error->setWordWrap(true);
    LstBx_Error->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    faultLayout->addWidget(LstBx_Error);
    Pnl_ErrorFrame->setFixedWidth(LstBx_Error->fontMetrics().averageCharWidth() * FaultColumns +
                                  2 * LstBx_Error->frameWidth());
    Pnl_ErrorFrame->hide();
    shownFaultRevision_ = Faults().Revision();

    layout->addWidget(ScrlBx_Main, 1);
    layout->addWidget(Pnl_ErrorFrame);
    setCentralWidget(central);
}

QSize TFRM_Main::ScreenSize() const {
    const QScreen* shown = screen();
    return shown != nullptr ? shown->geometry().size()
                            : QSize(GetScreenProfile(0).width, GetScreenProfile(0).height);
}

// The profile's window size, reduced to the desktop's work area and centred in it; what the
// frames of the window and the scroll box, the menu bar and the status bar leave is the view
// size W x H.
void TFRM_Main::FitWindowToScreen() {
    const QScreen* shown = screen();
    const QRect work =
        shown != nullptr ? shown->availableGeometry() : QRect(QPoint(), ScreenSize());
    const ScreenProfile& profile = GetScreenProfile(profile_);
    const QSize outer(std::min(profile.width, work.width()),
                      std::min(profile.height, work.height()));
    // The window manager's frame, as far as it is known before the window is shown.
    const QSize frame = frameGeometry().size() - geometry().size();
    const QSize client = (outer - frame).expandedTo(QSize(1, 1));
    resize(client);
    move(work.x() + (work.width() - outer.width()) / 2,
         work.y() + (work.height() - outer.height()) / 2);

    const int menuHeight = menuBar()->heightForWidth(client.width()) > 0
                               ? menuBar()->heightForWidth(client.width())
                               : menuBar()->sizeHint().height();
    const int statusHeight = statusBar()->sizeHint().height();
    const int box = 2 * ScrlBx_Main->frameWidth();
    viewSize_ = QSize(client.width() - box, client.height() - menuHeight - statusHeight - box)
                    .expandedTo({1, 1});
    Img_Main->setGeometry(0, 0, viewSize_.width(), viewSize_.height());
    ScrlBx_MainResize();
}

// The three live pictures, W x H, in the desktop's colours, with the brand's logo as title,
// drawn at the screen's pixel ratio; the beam selection page keeps the height of its buttons
// free.
void TFRM_Main::CreatePictures() {
    const ViewBuild build{variant_.ManufacturerFunctions(), variant_.Brand()};
    pictures_ = std::make_unique<ViewPictures>(
        profile_, viewSize_, build, ViewColours::FromPalette(palette()),
        BrandLogo(PictureRatio(*this)), Btn_Main_2->height(), texts_, PictureRatio(*this));
    pictures_->OutputInfo(controller_->Info());
    QRect place = pictures_->ScrollBarPlace();
    place.setWidth(ScrlBr1->sizeHint().width());
    beamScrollPlace_ = place;
    ScrlBx_MainResize();
}

// One page per view mode; the factory settings exist only with manufacturer functions, and
// the user settings ask for their password only without them.
void TFRM_Main::CreatePages() {
    liveArea_ = {pictures_.get(), Img_Main, ScrlBr1, Btn_Main_2, Btn_Main_3, ChckBx_Main_1};
    const bool manufacturer = variant_.ManufacturerFunctions();
    pages_[ViewMode::Bar] = std::make_unique<TBarPage>(*this, liveArea_);
    pages_[ViewMode::Lines] = std::make_unique<TLinesPage>(*this, liveArea_, manufacturer);
    if (manufacturer) {
        pages_[ViewMode::FactorySettings] =
            std::make_unique<TFactoryPage>(*panels_[FabSet], *this, *confirmation_, profile_);
        // Reached from the factory pages' "Show history" only.
        pages_[ViewMode::History] =
            std::make_unique<THistoryPage>(*panels_[History], *this, profile_);
    }
    auto userSettings = std::make_unique<TUserSettingsPage>(
        *panels_[UserSet], *this, *confirmation_, profile_, !manufacturer);
    pages_[ViewMode::BeamSelection] =
        std::make_unique<TBeamSelectionPage>(*this, liveArea_, userSettings->Receiver());
    pages_[ViewMode::CustomerSettings] = std::move(userSettings);
    pages_[ViewMode::Status] = std::make_unique<TStatusPage>(*this, liveArea_);
    pages_[ViewMode::Calculator] =
        std::make_unique<TCalculatorPage>(*panels_[SafetyDistance], *this, profile_, viewSize_);
}

TPage* TFRM_Main::PageOf(ViewMode mode) const {
    const auto page = pages_.find(mode);
    return page != pages_.end() ? page->second.get() : nullptr;
}

bool TFRM_Main::eventFilter(QObject* watched, QEvent* event) {
    if (Img_Main != nullptr && watched == ScrlBx_Main->viewport() &&
        event->type() == QEvent::Resize) {
        ScrlBx_MainResize();
    }
    return QMainWindow::eventFilter(watched, event);
}

// The picture stays at its size: centred when the box is larger, scrolled when it is smaller.
// The panels take the picture's rectangle, the buttons its bottom-right corner.
void TFRM_Main::ScrlBx_MainResize() {
    const QSize client = ScrlBx_Main->viewport()->size();
    const QSize image = Img_Main->size();
    scrollContent_->resize(client.expandedTo(image));
    const QRect picture(QPoint(CentredOrStart(client.width(), image.width()),
                               CentredOrStart(client.height(), image.height())),
                        image);
    Img_Main->move(picture.topLeft());
    ScrlBr1->setGeometry(beamScrollPlace_.translated(picture.topLeft()));
    for (QFrame* panel : panels_) {
        panel->setGeometry(picture);
    }
    const QPoint corner = picture.bottomRight() + QPoint(1, 1);
    Btn_Main_3->move(corner - QPoint(Btn_Main_3->width(), Btn_Main_3->height()));
    Btn_Main_2->move(Btn_Main_3->x() - ButtonGap - Btn_Main_2->width(), Btn_Main_3->y());
    Btn_Main_1->move(Btn_Main_2->x(), Btn_Main_2->y() - ButtonGap - Btn_Main_1->height());
    ChckBx_Main_1->move(corner - QPoint(CheckBoxInset + ChckBx_Main_1->width(),
                                        CheckBoxInset + ChckBx_Main_1->height()));
}

// The page of the mode replaces the one shown; a page that cannot be filled sends the window
// back to the page before, not to an empty area.
bool TFRM_Main::SetViewMode(ViewMode mode, bool force) {
    TPage* page = PageOf(mode);
    if (page == nullptr) {
        return false;
    }
    if (mode == viewMode_ && !force) {
        return true;
    }
    if (!page->Admit()) {
        return false;
    }
    const ViewMode previous = viewMode_;
    if (TPage* shown = PageOf(previous)) {
        shown->Leave();
    }
    viewMode_ = mode;
    confirmation_->PageSwitched();
    if (!page->Enter(previous)) {
        // A page that cannot be filled again (a reload) gives way to the bar view.
        SetViewMode(previous != mode ? previous : ViewMode::Bar, true);
        return false;
    }
    return true;
}

void TFRM_Main::LeaveUnitSettings() {
    const TPage* page = PageOf(viewMode_);
    if (page != nullptr && page->ShowsUnitSettings()) {
        SetViewMode(ViewMode::Bar);
    }
}

// The page syncs every tick; it redraws when the mode changed since its last drawing or a
// redraw was requested (a cycle arrived, the scroll position moved, the unit or its
// information changed).
void TFRM_Main::SyncPage() {
    const PageRedraw redraw = viewMode_ != drawnMode_ || redrawRequested_ ? PageRedraw::Always
                              : dataRedrawRequested_                      ? PageRedraw::IfChanged
                                                                          : PageRedraw::None;
    drawnMode_ = viewMode_;
    redrawRequested_ = false;
    dataRedrawRequested_ = false;
    if (TPage* page = PageOf(viewMode_)) {
        page->Sync(redraw);
    }
}

// The fault list panel shows the fault list: entries newest first, each with its code,
// visible with the check mark of "Fault window".
void TFRM_Main::SyncFaultWindow() {
    if (Faults().Revision() == shownFaultRevision_) {
        return;
    }
    shownFaultRevision_ = Faults().Revision();
    LstBx_Error->clear();
    for (const FaultEntry& entry : Faults().Entries()) {
        auto* item =
            new QListWidgetItem(Q(texts_.GetText(static_cast<TextId>(entry.textId))), LstBx_Error);
        item->setData(Qt::UserRole, entry.code);
    }
    ShowFaultPanel(Faults().PanelVisible());
    Item("MNU_V7")->setChecked(Faults().PanelVisible());
}

// The fault panel takes its own room beside the picture: the window grows by the panel's
// width as far as the screen's work area allows (and moves left to stay inside it), and
// gives that room back when the panel closes. Only a window that cannot grow (a maximised
// one, a screen no wider than the profile) lets the panel take room from the picture, which
// then scrolls.
void TFRM_Main::ShowFaultPanel(bool shown) {
    if (Pnl_ErrorFrame->isHidden() != shown) {
        return;
    }
    Pnl_ErrorFrame->setVisible(shown);
    if (!shown) {
        resize(width() - faultPanelRoom_, height());
        faultPanelRoom_ = 0;
        return;
    }
    const QScreen* shownOn = screen();
    const QRect work =
        shownOn != nullptr ? shownOn->availableGeometry() : QRect(QPoint(), ScreenSize());
    const QRect outer = frameGeometry();
    const bool fixed = isMaximized() || isFullScreen();
    faultPanelRoom_ =
        fixed ? 0 : std::clamp(work.width() - outer.width(), 0, Pnl_ErrorFrame->width());
    resize(width() + faultPanelRoom_, height());
    const int overflow = outer.right() + faultPanelRoom_ - work.right();
    if (overflow > 0) {
        move(std::max(work.left(), outer.left() - overflow), outer.top());
    }
}

} // namespace lcdiag
