#include "gui/app/TFRM_Main.h"

#include "core/app/LanguageSelection.h"
#include "core/app/Preferences.h"
#include "core/app/ScreenProfile.h"
#include "core/app/TextLines.h"
#include "core/app/Texts.h"
#include "core/app/Version.h"
#include "core/editors/SaveConfirmation.h"
#include "gui/app/BrandLogo.h"
#include "gui/app/MessageBoxes.h"
#include "gui/app/PanelPages.h"
#include "gui/app/ProgramVersion.h"
#include "gui/app/QtConnectionTimers.h"
#include "gui/app/SimulatedDevice.h"
#include "gui/app/TPictureBox.h"
#include "gui/editors/ConfigFileCommands.h"
#include "gui/safety/TFRM_Password.h"
#include "gui/safety/TFRM_Warnings.h"
#include "gui/views/ViewPictures.h"
#include "platform/clock/SystemClocks.h"
#include "platform/serial/ComPort.h"
#include "platform/serial/ComPortLink.h"
#include "platform/serial/DeviceList.h"

#include <QCloseEvent>
#include <QScrollArea>
#include <QSocketNotifier>
#include <QTimer>
#include <iostream>
#include <stdexcept>
#include <utility>

namespace lcdiag {
namespace {

constexpr int CyclicInterval = 25;
constexpr int IncompatibilityNote = 4;
constexpr int DialogFont = 10; // the view font whose size the password dialog takes

QTimer* NewTimer(QObject* owner, const char* name) {
    auto* timer = new QTimer(owner);
    timer->setObjectName(QString::fromLatin1(name));
    return timer;
}

} // namespace

TFRM_Main::TFRM_Main(TMainSetup setup, QWidget* parent)
    : QMainWindow(parent), setup_(std::move(setup)),
      ownDialogs_(setup_.messageDialogs != nullptr ? nullptr
                                                   : std::make_unique<TQtMessageDialogs>()),
      ownFileDialogs_(std::make_unique<TQtFileDialogs>(this)),
      texts_(&locale_,
             setup_.messageDialogs != nullptr ? setup_.messageDialogs : ownDialogs_.get()),
      dispatcher_(texts_), Timer1(NewTimer(this, "Timer1")), Timer2(NewTimer(this, "Timer2")) {
    setObjectName(QStringLiteral("FRM_Main"));
    Timer1->setInterval(CyclicInterval);
    Timer2->setSingleShot(true);
    connect(Timer1, &QTimer::timeout, this, &TFRM_Main::Timer1Timer);
    connect(Timer2, &QTimer::timeout, this, &TFRM_Main::Timer2Timer);
    try {
        FormCreate();
        creationFinished_ = true;
    } catch (const std::exception& error) {
        std::cerr << "lcdiag: the start-up failed: " << error.what() << '\n';
        ShowException(texts_, error);
    }
}

TFRM_Main::~TFRM_Main() {
    FormClose();
    delete deviceWatch_; // before the watcher it listens to goes with the port
    // The pages' widgets refer to the texts and the link: they go first, unwatched.
    if (ScrlBx_Main != nullptr) {
        ScrlBx_Main->viewport()->removeEventFilter(this);
    }
    delete takeCentralWidget();
}

// Window creation: the language first, for every text depends on it; the timers stay off
// until its end.
void TFRM_Main::FormCreate() {
    if (setup_.preferences == nullptr) {
        throw std::invalid_argument("the main window needs a preference store");
    }
    variant_ = BuildVariant{setup_.variantWord};
    LoadLanguage();
    products_ = LookUpProductTexts(texts_, variant_);
    pcVersion_ = PcSoftwareVersionOf(ProgramFileVersion());
    // The link comes before the controls: the pages and the fault window show its state.
    devices_ = setup_.loadAdapterSupport ? setup_.loadAdapterSupport() : nullptr;
    CreateSerialPort();
    if (setup_.replay) {
        UseReplay(std::move(*setup_.replay));
    } else if (setup_.simulation) {
        UseSimulatedDevice(*setup_.simulation);
    } else {
        ConfigurePortChoice();
    }
    CreateConnection();
    BuildControls();
    BuildPortMenu();
    SetLine();
    if (setup_.record) {
        StartRecording(*setup_.record); // before the port opens, so that the opening is in it
    }
    if (!variant_.ManufacturerFunctions()) {
        OpenAtStartup(); // the manufacturer build opens after the factory password
    }
    BuildLanguageMenu();
    Timer1->start();
    SwitchToControllerType(ControllerType::Receiver, true);
}

// The language of the preference "Lang"; the texts and messages speak it from now on.
void TFRM_Main::LoadLanguage() {
    SelectStartupLanguage(locale_, setup_.languageFolders, *setup_.preferences);
}

void TFRM_Main::BuildControls() {
    BuildMenu();
    CaptionMenu();
    CreateStatusBar();
    BuildViewArea();
    const QSize screen = ScreenSize();
    profile_ = ChooseScreenProfile(
        RegReadInteger(*setup_.preferences, PreferenceKeyPath(), pref::Resolution, 0),
        screen.width(), screen.height());
    BuildResolutionMenu(screen);
    FitWindowToScreen();
    CreatePictures();
    CreatePages();
    const int dimensions =
        RegReadInteger(*setup_.preferences, PreferenceKeyPath(), pref::Dimensions, 0);
    dimensioning_ = dimensions == 1 ? 1 : 0; // anything else stored counts as beam numbers
    Item(dimensioning_ == 0 ? "MNU_V51" : "MNU_V52")->setChecked(true);
    SetViewMode(ViewMode::Bar);
    setWindowIcon(BrandIcon());
    setWindowTitle(QString::fromStdString(
        MainWindowCaption(texts_, products_, variant_, GetVersionString("Comments"))));
}

// The dialogue runs on the port switch: the port in use and its line clock.
void TFRM_Main::CreateConnection() {
    pcClock_ = std::make_unique<LocalPcClock>();
    connectionTimers_ = std::make_unique<QtConnectionTimers>(*this, *Timer1, *Timer2);
    lineClock_ = &line_->LineClock();
    controller_ = std::make_unique<ConnectionController>(
        *activePort_, *lineClock_, *connectionTimers_, *this, texts_, *pcClock_, pcVersion_);
    confirmation_ = std::make_unique<SaveConfirmation>(*controller_, *lineClock_);
    // An imported file goes into the user settings page, loaded afresh from the link.
    configFiles_ = std::make_unique<ConfigFileCommands>(
        *controller_, texts_, FileDialogsInUse(), *pcClock_, pcVersion_,
        [this] { return SetViewMode(ViewMode::CustomerSettings); },
        [this] { return SetViewMode(ViewMode::CustomerSettings, true); });
}

// 19200 bit/s 8N1 without flow control; transmit-empty and event 2 among the events.
void TFRM_Main::SetLine() {
    comPort_->SetBaudRate(br19200);
    comPort_->Parity().SetBits(prNone);
    comPort_->SetStopBits(sbOneStopBit);
    comPort_->SetDataBits(dbEight);
    comPort_->FlowControl().SetFlowControl(fcNone);
    TComEvents events = comPort_->Events();
    events.Include(evTxEmpty);
    events.Include(evEvent2);
    comPort_->SetEvents(events);
}

bool TFRM_Main::FactoryPasswordOutstanding() const {
    return variant_.ManufacturerFunctions() && !protectedStartPassed_;
}

bool TFRM_Main::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        FormActivate();
    }
    return QMainWindow::event(event);
}

// The manufacturer build asks for the factory password before the port opens for the first
// time; the result reporter runs that step shortly after the window became active.
void TFRM_Main::FormActivate() {
    if (FactoryPasswordOutstanding() && !protectedStartPending_) {
        protectedStartPending_ = true;
        controller_->Report(ResultCode::ProtectedStart);
    }
}

void TFRM_Main::StartupPasswordStep() {
    if (std::exchange(protectedStartPending_, false) && !protectedStartPassed_) {
        RunProtectedStartup();
    }
}

void TFRM_Main::RunProtectedStartup() {
    if (ShowPasswordDialog(PasswordMode::Factory) != 1) {
        close(); // a wrong factory password ends the program
        return;
    }
    protectedStartPassed_ = true;
    OpenAtStartup();
}

void TFRM_Main::closeEvent(QCloseEvent* event) {
    FormClose();
    QMainWindow::closeEvent(event);
}

// Stops the cyclic timer and closes the port (which says goodbye to the controller through
// ComPortBeforeClose); the pictures are freed. Runs once.
void TFRM_Main::FormClose() {
    if (std::exchange(closed_, true)) {
        return;
    }
    Timer1->stop();
    Timer2->stop();
    try {
        if (activePort_ != nullptr) {
            activePort_->Close();
        }
        if (comPort_) {
            comPort_->Close();
        }
    } catch (const std::exception& error) {
        ShowException(texts_, error);
    }
    if (Img_Main != nullptr) {
        Img_Main->Clear();
    }
    liveArea_.pictures = nullptr;
    pictures_.reset();
}

// Timer1, every 25 ms: the connection's supervision (silence), the confirmation countdown of
// the settings pages, then the window mirrors the fault list and the page syncs.
void TFRM_Main::Timer1Timer() {
    controller_->Timer1Tick();
    confirmation_->Tick(viewMode_);
    SyncFaultWindow();
    SyncPage();
    SyncRecording();
    SyncLinkStatus();
}

// Timer2, the one-shot result reporter: the connection controller shows the message of its
// result code (the manufacturer build's protected start is one of them).
void TFRM_Main::Timer2Timer() {
    Timer2->stop();
    controller_->Timer2Fire();
    SetConnectCaption(controller_->ConnectCaption());
    SyncFaultWindow();
}

// The status view starts without a time-out: the silence is counted from now, and the timer
// starts its 25 ms afresh.
void TFRM_Main::RunTimerCycleNow(bool freshSupervision) {
    if (!freshSupervision) {
        Timer1Timer();
        return;
    }
    const bool running = Timer1->isActive();
    Timer1->stop();
    controller_->Stamp();
    Timer1Timer();
    if (running) {
        Timer1->start();
    }
}

// What the pictures show, copied from the connection at this tick; a replay shows the time
// the recorded program's pictures saw.
LiveViewData TFRM_Main::CurrentViewData() const {
    return ViewDataOf(*controller_, replay_ ? replay_->RecordedLineClock() : lineClock_->Now(),
                      dimensioning_ == 1 ? DimensioningMode::Position
                                         : DimensioningMode::BeamNumber);
}

// A safety note before a setting is saved, with the program's title in its heading.
bool TFRM_Main::ConfirmSafetyNote(int mode) {
    TFRM_Warnings note(texts_, this);
    note.NoteMode = mode;
    note.SetNoteArg(0, products_.windowTitle);
    return note.exec() == TFRM_Warnings::Confirmed;
}

FileDialogs& TFRM_Main::FileDialogsInUse() {
    return setup_.fileDialogs != nullptr ? *setup_.fileDialogs : *ownFileDialogs_;
}

std::optional<std::string> TFRM_Main::ChooseFileToSave(TextId filter) {
    return FileDialogsInUse().ChooseFileToSave(texts_.GetText(filter), {});
}

CustomerRecordContext TFRM_Main::RecordContext() {
    return {controller_->Firmware(), pcVersion_, *pcClock_, controller_->Codec()};
}

// The password dialog in the mode with the size of font 10; returns PasswordResult (0
// refused, 1 or 2 accepted).
int TFRM_Main::ShowPasswordDialog(PasswordMode mode) {
    TFRM_Password dialog(*setup_.preferences, texts_, this);
    dialog.SetFontSize(ViewFont(profile_, DialogFont).pointSize);
    dialog.InitForm(mode);
    dialog.exec();
    return dialog.PasswordResult();
}

void TFRM_Main::SwitchToControllerType(ControllerType type, bool force) {
    controller_->SwitchControllerType(type, force);
}

void TFRM_Main::ControllerTypeSwitched() {
    const ControllerType type = controller_->Unit();
    SyncFaultWindow();
    // The emitter has no lines view, except for the manufacturer.
    const bool linesView = type == ControllerType::Receiver || variant_.ManufacturerFunctions();
    for (const char* name : {"MNU_V3", "MNU_V4", "MNU_V5"}) {
        Item(name)->setVisible(linesView);
    }
    // The pictures draw title, legend and static parts for the unit again.
    if (pictures_) {
        pictures_->SetControllerType(type);
    }
    RequestRedraw();
}

void TFRM_Main::ComPortAfterOpen() {
    controller_->ComPortAfterOpen();
    SetConnectCaption(controller_->ConnectCaption());
}

void TFRM_Main::ComPortBeforeClose() {
    controller_->ComPortBeforeClose();
    SetConnectCaption(controller_->ConnectCaption());
}

void TFRM_Main::ComPortRxChar(int count) {
    controller_->ComPortRxChar(count);
}

void TFRM_Main::ComPortTxEmpty() {
    controller_->ComPortTxEmpty();
}

void TFRM_Main::ComPortEvent2() {
    controller_->ComPortEvent2();
    SetConnectCaption(controller_->ConnectCaption());
}

// The controller warns with message 182.
void TFRM_Main::ComPortDisconnect() {
    controller_->ComPortDisconnect();
    SetConnectCaption(controller_->ConnectCaption());
}

// The information panel is part of the bar picture.
void TFRM_Main::RefreshInfo() {
    if (pictures_) {
        pictures_->OutputInfo(controller_->Info());
    }
    RequestRedraw();
}

// The safety note of an incompatible program: the program's title and the version the
// device asks for at least.
void TFRM_Main::ShowIncompatibilityNotice(const std::string& minimumVersion) {
    TFRM_Warnings notice(texts_, this);
    notice.NoteMode = IncompatibilityNote;
    notice.SetNoteArg(0, products_.windowTitle);
    notice.SetNoteArg(1, minimumVersion);
    notice.exec();
}

} // namespace lcdiag
