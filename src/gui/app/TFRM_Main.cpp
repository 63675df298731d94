#include "gui/app/TFRM_Main.h"

#include "core/app/LanguageSelection.h"
#include "core/app/Preferences.h"
#include "core/app/ScreenProfile.h"
#include "core/app/TextLines.h"
#include "core/app/Texts.h"
#include "core/app/Version.h"
#include "gui/app/MessageBoxes.h"
#include "gui/app/ProgramVersion.h"
#include "gui/app/QtConnectionTimers.h"
#include "gui/app/SimulatedDevice.h"
#include "gui/app/TPictureBox.h"
#include "gui/safety/CalcSafetyDistance.h"
#include "gui/safety/TFRM_Password.h"
#include "gui/safety/TFRM_Warnings.h"
#include "gui/views/ViewPictures.h"
#include "platform/clock/SystemClocks.h"
#include "platform/serial/ComPort.h"
#include "platform/serial/ComPortLink.h"
#include "platform/serial/DeviceList.h"
#include "platform/serial/UsbAdapter.h"

#include <QCloseEvent>
#include <QFrame>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSocketNotifier>
#include <QTimer>
#include <QVBoxLayout>
#include <iostream>
#include <stdexcept>
#include <utility>

namespace lcdiag {
namespace {

constexpr TextId MsgComPortNotOpened = 102;
constexpr TextId SynchronisationBeamWarning = 140;
constexpr int CyclicInterval = 25;
constexpr std::uint32_t ProtectedStartCode = 19;
constexpr std::size_t CalculatorPanel = 3; // Pnl_CalcSecurityDistance among pages_
constexpr int IncompatibilityNote = 4;
constexpr int DialogFont = 10; // the view font whose size the password dialog takes

QTimer* NewTimer(QObject* owner, const char* name) {
    auto* timer = new QTimer(owner);
    timer->setObjectName(QString::fromLatin1(name));
    return timer;
}

// The calculator lives in its panel from its first opening on.
TCalcSafetyDistance& CalculatorIn(QFrame& panel, int profile, QSize viewSize) {
    if (auto* page = panel.findChild<TCalcSafetyDistance*>()) {
        return *page;
    }
    auto* page = new TCalcSafetyDistance(profile, viewSize, &panel);
    auto* layout = new QVBoxLayout(&panel);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(page);
    return *page;
}

} // namespace

TFRM_Main::TFRM_Main(TMainSetup setup, QWidget* parent)
    : QMainWindow(parent), setup_(std::move(setup)), Timer1(NewTimer(this, "Timer1")),
      Timer2(NewTimer(this, "Timer2")) {
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
        ShowException(error);
    }
}

TFRM_Main::~TFRM_Main() {
    FormClose();
    delete deviceWatch_; // before the watcher it listens to goes with the port
    SetMessageDialogs(nullptr);
    SetTextLocale(nullptr);
}

// Window creation, in the order of the design; the timers are disabled until its end.
void TFRM_Main::FormCreate() {
    if (setup_.preferences == nullptr) {
        throw std::invalid_argument("the main window needs a preference store");
    }
    variant_ = BuildVariant{setup_.variantWord};
    LoadLanguage();
    products_ = LookUpProductTexts(variant_);
    pcVersion_ = PcSoftwareVersionOf(ProgramFileVersion());
    // The link comes before the controls: the pages and the fault window show its state.
    devices_ = setup_.loadAdapterSupport ? setup_.loadAdapterSupport() : nullptr;
    CreateSerialPort();
    if (setup_.simulation) {
        ConnectSimulatedDevice(*setup_.simulation);
    } else {
        ConfigurePortChoice();
        activePort_ = comPortLink_.get();
    }
    CreateConnection();
    BuildControls();
    BuildPortMenu();
    SetLine();
    if (!variant_.ManufacturerFunctions()) {
        OpenAtStartup(); // the manufacturer build opens after the factory password
    }
    BuildLanguageMenu();
    Timer1->start();
    SwitchToControllerType(ControllerType::Receiver, true);
}

// The language of the preference "Lang", then the message dialogs in that language.
void TFRM_Main::LoadLanguage() {
    SelectStartupLanguage(locale_, setup_.languageFolder, *setup_.preferences);
    SetTextLocale(&locale_);
    if (setup_.messageDialogs == nullptr) {
        ownDialogs_ = std::make_unique<TQtMessageDialogs>();
    }
    SetMessageDialogs(setup_.messageDialogs != nullptr ? setup_.messageDialogs : ownDialogs_.get());
}

void TFRM_Main::BuildControls() {
    BuildMenu();
    CaptionMenu();
    BuildViewArea();
    const QSize screen = ScreenSize();
    profile_ = ChooseScreenProfile(
        RegReadInteger(*setup_.preferences, PreferenceKeyPath(), pref::Resolution, 0),
        screen.width(), screen.height());
    BuildResolutionMenu(screen);
    FitWindowToScreen();
    CreatePictures();
    const int dimensions =
        RegReadInteger(*setup_.preferences, PreferenceKeyPath(), pref::Dimensions, 0);
    dimensioning_ = dimensions == 1 ? 1 : 0; // anything else stored counts as beam numbers
    Item(dimensioning_ == 0 ? "MNU_V51" : "MNU_V52")->setChecked(true);
    SetViewMode(1);
    setWindowTitle(QString::fromStdString(
        MainWindowCaption(products_, variant_, GetVersionString("Comments"))));
}

// The serial port component with the window as the listener of its events, and the watcher
// of devices that come and go.
void TFRM_Main::CreateSerialPort() {
    comPort_ = std::make_unique<TComPort>(dispatcher_, devices_.get());
    comPortLink_ = std::make_unique<ComPortLink>(*comPort_);
    comPortLink_->SetListener(this);
    deviceWatch_ = WatchDevices(comPort_->DeviceWatcher(), this);
}

// The dialogue runs on the port in use, on the simulated device's clock when there is one.
void TFRM_Main::CreateConnection() {
    tickClock_ = std::make_unique<SteadyTickClock>();
    pcClock_ = std::make_unique<LocalPcClock>();
    connectionTimers_ = std::make_unique<QtConnectionTimers>(*this, *Timer1, *Timer2);
    lineClock_ =
        simulated_ ? &simulated_->LineClock() : static_cast<const Clock*>(tickClock_.get());
    controller_ = std::make_unique<ConnectionController>(
        *activePort_, *lineClock_, *connectionTimers_, *this, *pcClock_, pcVersion_);
}

// The preference "ComPort": "USB" (in any letter case) looks the adapter up when adapter
// support is there; anything else names the port, kept as written (Linux port names tell
// letter cases apart).
void TFRM_Main::ConfigurePortChoice() {
    const std::string stored = RegReadString(*setup_.preferences, PreferenceKeyPath(),
                                             pref::ComPort, pref::DefaultComPort);
    const std::string choice(TrimBlanks(stored));
    const bool usb = EqualsIgnoringCase(choice, pref::DefaultComPort) && devices_ != nullptr;
    if (usb) {
        SearchUSBDevice(*comPort_, [](std::uint32_t code) { ShowMessageId(code); });
    } else {
        comPort_->SetPort(choice);
    }
    comPortLink_->SetKind(usb ? PortKind::UsbAdapter : PortKind::SerialPort);
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

// The USB adapter fails quietly (the user connects from the menu); a serial port that cannot
// be opened is reported with message 102.
void TFRM_Main::OpenAtStartup() {
    if (activePort_ == nullptr) {
        return;
    }
    try {
        activePort_->Open();
    } catch (const std::exception&) {
        if (activePort_->Kind() != PortKind::UsbAdapter) {
            ShowMessageId(msg::Fault | MsgComPortNotOpened);
        }
    }
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
    if (variant_.ManufacturerFunctions() && !protectedStartPassed_ && !protectedStartPending_) {
        protectedStartPending_ = true;
        controller_->Report(ProtectedStartCode);
    }
}

void TFRM_Main::StartupPasswordStep() {
    if (std::exchange(protectedStartPending_, false) && !protectedStartPassed_) {
        RunProtectedStartup();
    }
}

void TFRM_Main::RunProtectedStartup() {
    if (ShowPasswordDialog(PasswordFactory) != 1) {
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
        ShowException(error);
    }
    if (Img_Main != nullptr) {
        Img_Main->Clear();
    }
    pictures_.reset();
}

// Timer1, every 25 ms: the connection's supervision (silence, the confirmation countdown),
// then the window mirrors the fault list and shows the picture.
void TFRM_Main::Timer1Timer() {
    if (controller_) { // the view switch of the start-up runs a cycle before the link exists
        controller_->Timer1Tick();
    }
    SyncFaultWindow();
    RedrawCurrentView();
}

// Timer2, the one-shot result reporter: the connection controller shows the message of its
// result code (the manufacturer build's protected start is code 19).
void TFRM_Main::Timer2Timer() {
    Timer2->stop();
    controller_->Timer2Fire();
    SetConnectCaption(controller_->ConnectCaption());
    SyncFaultWindow();
}

void TFRM_Main::ArmResultReporter(int milliseconds) {
    Timer2->start(milliseconds);
}

// The picture of the current mode (bar 1, lines 2 and 6, status 7) is drawn when the mode
// changed since the last tick or a redraw was requested (a cycle arrived, the beam scroll
// position moved, the unit or its information changed), and then copied to Img_Main.
void TFRM_Main::RedrawCurrentView() {
    const bool due = viewMode_ != drawnMode_ || redrawRequested_;
    drawnMode_ = viewMode_;
    redrawRequested_ = false;
    if (due && pictures_ && controller_) {
        DrawCurrentPicture();
    }
}

void TFRM_Main::DrawCurrentPicture() {
    const LiveViewData data = CurrentViewData();
    switch (viewMode_) {
    case 1:
        UpdateBeamScrollBar(data);
        Img_Main->SetPicture(pictures_->DrawBar(data, ScrlBr1->value()));
        break;
    case 2:
        Img_Main->SetPicture(pictures_->DrawLines(data, LinesPage::Lines));
        break;
    case 6:
        Img_Main->SetPicture(pictures_->DrawLines(data, LinesPage::Selection));
        break;
    case 7:
        Img_Main->SetPicture(pictures_->DrawStatus(data));
        break;
    default:
        break;
    }
}

// What the pictures show, copied from the connection at this tick.
LiveViewData TFRM_Main::CurrentViewData() const {
    const ConnectionController& link = *controller_;
    LiveViewData data;
    data.controller = link.Unit();
    data.diagnosis = link.State() == LinkState::Diagnosis;
    data.tick = lineClock_->Now();
    data.receiverCycle = link.ReceiverCycles();
    data.emitterCycle = link.EmitterCycles();
    data.receiverFactory = link.ReceiverFactory();
    data.receiverFactoryValid = link.ReceiverFactoryValid();
    data.emitterFactory = link.EmitterFactory();
    data.emitterFactoryValid = link.EmitterFactoryValid();
    data.emitterCustomer = link.EmitterCustomer();
    data.emitterCustomerValid = link.EmitterCustomerValid();
    data.dimensioning =
        dimensioning_ == 1 ? DimensioningMode::Position : DimensioningMode::BeamNumber;
    data.selection = beamSelection_;
    return data;
}

// ScrlBr1 spans the beams beyond the 16 rows; setting its range is no user scroll.
void TFRM_Main::UpdateBeamScrollBar(const LiveViewData& data) {
    const ScrollRange range = ViewPictures::BarScroll(data);
    const QSignalBlocker quiet(ScrlBr1);
    ScrlBr1->setRange(range.minimum, range.maximum);
    ScrlBr1->setEnabled(range.enabled);
}

// A press on the beam selection page toggles a beam of the blanking being edited; the
// synchronisation beam is refused with a warning.
void TFRM_Main::ClickSelectionPage(QPoint at) {
    if (viewMode_ != 6 || !pictures_) {
        return;
    }
    switch (pictures_->ClickBeam(at, beamSelection_)) {
    case BeamClick::SynchronisationBeam:
        ShowMessageId(msg::Warning | SynchronisationBeamWarning);
        break;
    case BeamClick::Toggled:
        RequestRedraw();
        break;
    case BeamClick::None:
        break;
    }
}

// The pages plug in here: the factory editor (mode 3), the customer editor (4), the history
// (5) and the calculator (8) fill their panels; false when the page cannot be filled (the
// view then goes back). The calculator starts from its defaults at every opening; its "Exit"
// returns to the page it was opened from.
bool TFRM_Main::FillPage(int mode) {
    if (mode == 8) {
        TCalcSafetyDistance& calculator =
            CalculatorIn(*pages_[CalculatorPanel], profile_, viewSize_);
        calculator.onExit = [this] {
            SetViewMode(calculatorExitMode_ >= 1 && calculatorExitMode_ != 8 ? calculatorExitMode_
                                                                             : 1);
        };
        calculator.deviceResolution = [this] { return controller_->Info().resolution; };
        calculator.InitCSD();
    }
    return true;
}

// The password dialog in the mode (0 user settings, 1 change password, 8 factory) with the
// size of font 10; returns PasswordResult (0 refused, 1 or 2 accepted).
int TFRM_Main::ShowPasswordDialog(int mode) {
    TFRM_Password dialog(*setup_.preferences, this);
    dialog.SetFontSize(ViewFont(profile_, DialogFont).pointSize);
    dialog.InitForm(mode);
    dialog.exec();
    return dialog.PasswordResult();
}

// The simulated unit of the request stands in for the port; its events come to this window.
void TFRM_Main::ConnectSimulatedDevice(const SimulationRequest& request) {
    auto started = SimulatedDevice::Start(request);
    if (auto* mistake = std::get_if<std::string>(&started)) {
        throw std::invalid_argument("--simulate: " + *mistake);
    }
    simulated_ = std::move(std::get<std::unique_ptr<SimulatedDevice>>(started));
    simulated_->SetListener(this);
    activePort_ = &simulated_->LinePort();
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
    // The pictures draw title, legend and static parts for the unit again, and the pages
    // show the unit's panels.
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
    TFRM_Warnings notice(this);
    notice.NoteMode = IncompatibilityNote;
    notice.SetNoteArg(0, products_.windowTitle);
    notice.SetNoteArg(1, minimumVersion);
    notice.exec();
}

// Transfers start only from the settings pages, which prepare the report they offer.
void TFRM_Main::SaveSettingsReport(ControllerType /*unit*/) {}

} // namespace lcdiag
