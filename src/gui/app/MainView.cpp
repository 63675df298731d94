// The main window's central area: the scroll box with the picture and the pages, the view
// modes, the fault window, the view size and fonts of the screen profile.
#include "core/app/ScreenProfile.h"
#include "core/app/Texts.h"
#include "gui/app/BrandLogo.h"
#include "gui/app/TFRM_Main.h"
#include "gui/app/TPictureBox.h"
#include "gui/views/ViewPictures.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>

namespace lcdiag {
namespace {

constexpr TextId BeamDiagnosticsCaption = 1034;
constexpr TextId TeachCaption = 1031;
constexpr TextId OkCaption = 1032;
constexpr TextId CancelCaption = 1033;
constexpr int ButtonGap = 4;
constexpr int CheckBoxInset = 8;
constexpr int FaultRows = 5;

// The panels of the pages that are not pictures, in the order of pages_.
constexpr std::array<const char*, 4> PageNames = {"Pnl_FabSetFrame", "Pnl_UserSetFrame",
                                                  "Pnl_HistoryFrame", "Pnl_CalcSecurityDistance"};
enum Page { FabSet, UserSet, History, SafetyDistance };

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

} // namespace

void TFRM_Main::BuildViewArea() {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    ScrlBx_Main = Named(new QScrollArea(central), "ScrlBx_Main");
    scrollContent_ = new QWidget;
    ScrlBx_Main->setWidget(scrollContent_);
    ScrlBx_Main->viewport()->installEventFilter(this);
    Img_Main = Named(new TPictureBox(scrollContent_), "Img_Main");
    ScrlBr1 = Named(new QScrollBar(Qt::Vertical, scrollContent_), "ScrlBr1");
    Btn_Main_1 = Named(new QPushButton(scrollContent_), "Btn_Main_1");
    Btn_Main_2 = Named(new QPushButton(Q(GetText(OkCaption)), scrollContent_), "Btn_Main_2");
    Btn_Main_3 = Named(new QPushButton(Q(GetText(CancelCaption)), scrollContent_), "Btn_Main_3");
    ChckBx_Main_1 =
        Named(new QCheckBox(Q(GetText(BeamDiagnosticsCaption)), scrollContent_), "ChckBx_Main_1");
    for (QWidget* control :
         std::initializer_list<QWidget*>{Btn_Main_1, Btn_Main_2, Btn_Main_3, ChckBx_Main_1}) {
        control->resize(control->sizeHint());
    }
    for (std::size_t page = 0; page < pages_.size(); ++page) {
        pages_[page] = Named(new QFrame(scrollContent_), PageNames[page]);
    }
    connect(ScrlBr1, &QScrollBar::valueChanged, this, [this] { RequestRedraw(); });
    connect(ChckBx_Main_1, &QCheckBox::toggled, this, [this](bool checked) {
        if (pictures_) {
            pictures_->SetBeamDiagnostics(checked);
        }
        RequestRedraw();
    });
    Img_Main->onPress = [this](QPoint at) { ClickSelectionPage(at); };
    HideViewControls();

    Pnl_ErrorFrame = Named(new QFrame(central), "Pnl_ErrorFrame");
    auto* faultLayout = new QVBoxLayout(Pnl_ErrorFrame);
    faultLayout->setContentsMargins(0, 0, 0, 0);
    LstBx_Error = Named(new QListWidget(Pnl_ErrorFrame), "LstBx_Error");
    faultLayout->addWidget(LstBx_Error);
    Pnl_ErrorFrame->setFixedHeight(LstBx_Error->fontMetrics().height() * FaultRows +
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
// frames of the window and the scroll box and the menu bar leave is the view size W x H.
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
    const int box = 2 * ScrlBx_Main->frameWidth();
    viewSize_ = QSize(client.width() - box, client.height() - menuHeight - box).expandedTo({1, 1});
    Img_Main->setGeometry(0, 0, viewSize_.width(), viewSize_.height());
    ScrlBx_MainResize();
}

// The three live pictures, W x H, in the desktop's colours, with the brand's logo as title;
// the beam selection page keeps the height of its buttons free.
void TFRM_Main::CreatePictures() {
    const ViewBuild build{variant_.ManufacturerFunctions(), variant_.Brand()};
    pictures_ = std::make_unique<ViewPictures>(profile_, viewSize_, build,
                                               ViewColours::FromPalette(palette()), BrandLogo(),
                                               Btn_Main_2->height());
    pictures_->OutputInfo(controller_->Info());
    QRect place = pictures_->ScrollBarPlace();
    place.setWidth(ScrlBr1->sizeHint().width());
    beamScrollPlace_ = place;
    ScrlBx_MainResize();
}

bool TFRM_Main::eventFilter(QObject* watched, QEvent* event) {
    if (Img_Main != nullptr && watched == ScrlBx_Main->viewport() &&
        event->type() == QEvent::Resize) {
        ScrlBx_MainResize();
    }
    return QMainWindow::eventFilter(watched, event);
}

// The picture stays at its size: centred when the box is larger, scrolled when it is smaller.
// The pages take the picture's rectangle, the buttons its bottom-right corner.
void TFRM_Main::ScrlBx_MainResize() {
    const QSize client = ScrlBx_Main->viewport()->size();
    const QSize image = Img_Main->size();
    scrollContent_->resize(client.expandedTo(image));
    const QRect picture(QPoint(CentredOrStart(client.width(), image.width()),
                               CentredOrStart(client.height(), image.height())),
                        image);
    Img_Main->move(picture.topLeft());
    ScrlBr1->setGeometry(beamScrollPlace_.translated(picture.topLeft()));
    for (QFrame* page : pages_) {
        page->setGeometry(picture);
    }
    const QPoint corner = picture.bottomRight() + QPoint(1, 1);
    Btn_Main_3->move(corner - QPoint(Btn_Main_3->width(), Btn_Main_3->height()));
    Btn_Main_2->move(Btn_Main_3->x() - ButtonGap - Btn_Main_2->width(), Btn_Main_3->y());
    Btn_Main_1->move(Btn_Main_2->x(), Btn_Main_2->y() - ButtonGap - Btn_Main_1->height());
    ChckBx_Main_1->move(corner - QPoint(CheckBoxInset + ChckBx_Main_1->width(),
                                        CheckBoxInset + ChckBx_Main_1->height()));
}

bool TFRM_Main::SetViewMode(int mode, bool force) {
    if (mode < 1 || mode > 8 || (mode == 3 && !variant_.ManufacturerFunctions())) {
        return false;
    }
    if (mode == viewMode_ && !force) {
        return true;
    }
    if (mode == 4 && !variant_.ManufacturerFunctions() && !settingsUnlocked_) {
        const int result = ShowPasswordDialog(PasswordUserSettings);
        if (result != 1 && result != 2) {
            return false;
        }
        settingsUnlocked_ = true;
    }
    const int previous = viewMode_;
    calculatorExitMode_ = mode == 8 ? previous : calculatorExitMode_;
    viewMode_ = mode;
    HideViewControls();
    if (!ShowPage(mode, previous)) {
        SetViewMode(previous, true); // back to the page before, not to an empty area
        return false;
    }
    return true;
}

void TFRM_Main::HideViewControls() {
    for (QWidget* control : std::initializer_list<QWidget*>{
             ScrlBr1, Img_Main, Btn_Main_1, Btn_Main_2, Btn_Main_3, ChckBx_Main_1}) {
        control->hide();
    }
    ChckBx_Main_1->setChecked(false);
    // The editors' send buttons (Btn_RFS_1, Btn_RFS_2, Btn_RUS_2, Btn_EFS_1, Btn_EFS_2,
    // Btn_EUS_2) are disabled here.
    for (QFrame* page : pages_) {
        page->hide();
    }
}

// Shows the controls of the mode; false when its page could not be filled.
bool TFRM_Main::ShowPage(int mode, int previous) {
    switch (mode) {
    case 1:
        RunTimerCycleNow();
        ScrlBr1->show();
        Img_Main->show();
        return true;
    case 2:
        RunTimerCycleNow();
        Img_Main->show();
        ChckBx_Main_1->setVisible(variant_.ManufacturerFunctions());
        return true;
    case 3:
        pages_[FabSet]->show();
        FillPage(mode);
        return true;
    case 4:
        pages_[UserSet]->show(); // coming back from the beam selection keeps the edits
        return previous == 6 || FillPage(mode);
    case 5:
        pages_[History]->show();
        return FillPage(mode);
    case 6:
        RunTimerCycleNow();
        Img_Main->show();
        // A teach selection takes the interrupted beams over: its accept button says so.
        Btn_Main_2->setText(
            Q(GetText(beamSelection_.mode == BeamSelectionMode::Teach ? TeachCaption : OkCaption)));
        Btn_Main_2->resize(Btn_Main_2->sizeHint());
        ScrlBx_MainResize(); // a longer caption moves the button's left edge
        Btn_Main_2->show();
        Btn_Main_3->show();
        return true;
    case 7: {
        // The status view starts without a time-out.
        const bool running = Timer1->isActive();
        Timer1->stop();
        if (controller_) {
            controller_->Stamp();
        }
        RunTimerCycleNow();
        if (running) {
            Timer1->start();
        }
        Img_Main->show();
        return true;
    }
    case 8:
        pages_[SafetyDistance]->show();
        FillPage(mode);
        return true;
    default:
        return false;
    }
}

void TFRM_Main::RunTimerCycleNow() {
    Timer1Timer();
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
            new QListWidgetItem(Q(GetText(static_cast<TextId>(entry.textId))), LstBx_Error);
        item->setData(Qt::UserRole, entry.code);
    }
    Pnl_ErrorFrame->setVisible(Faults().PanelVisible());
    Item("MNU_V7")->setChecked(Faults().PanelVisible());
}

} // namespace lcdiag
