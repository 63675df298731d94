// The window's ports: the serial port component and the simulated light curtain behind one
// port switch, what a port that would not open says, and the status bar's line.
#include "core/app/Preferences.h"
#include "core/app/TextLines.h"
#include "core/app/Texts.h"
#include "core/app/Version.h"
#include "core/protocol/LinkStatus.h"
#include "gui/app/MessageBoxes.h"
#include "gui/app/ProgramVersion.h"
#include "gui/app/SimulatedDevice.h"
#include "gui/app/TFRM_Main.h"
#include "platform/check/ConnectionCheck.h"
#include "platform/clock/SystemClocks.h"
#include "platform/serial/ComPort.h"
#include "platform/serial/ComPortLink.h"
#include "platform/serial/EComPort.h"
#include "platform/serial/PortOpenFailure.h"
#include "platform/serial/UsbAdapter.h"
#include "platform/serial/UsbClass.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QVBoxLayout>
#include <sstream>
#include <utility>

namespace lcdiag {
namespace {

constexpr TextId MsgComPortNotOpened = 102;
constexpr TextId TxtSimulatedReceiver = 9010;
constexpr TextId TxtSimulatedEmitter = 9011;
constexpr TextId TxtOfferSimulation = 9012;
constexpr TextId TxtUsbAdapter = 9038;
constexpr TextId TxtCheckConnection = 9040;
constexpr TextId TxtRecordingTo = 9102;
// A warning with Yes and No.
constexpr MessageCode WarningYesNo = msg::Warning | 0x04000000;

} // namespace

// The serial port component and its link behind the port switch, which the window hears. The
// watcher of devices that come and go also renews the port list.
void TFRM_Main::CreateSerialPort() {
    comPort_ = std::make_unique<TComPort>(dispatcher_, devices_.get());
    comPortLink_ = std::make_unique<ComPortLink>(*comPort_);
    tickClock_ = std::make_unique<SteadyTickClock>();
    line_ = std::make_unique<PortSwitch>(*comPortLink_, *tickClock_);
    tap_ = std::make_unique<RecordingTap>(*line_, line_->LineClock());
    line_->SetListener(tap_.get());
    tap_->SetListener(this);
    recorder_ = std::make_unique<SessionRecorder>(*tap_, VersionText(ProgramFileVersion()));
    serialInput_ = std::make_unique<PortSwitch::Input>(*line_, *comPortLink_);
    comPortLink_->SetListener(serialInput_.get());
    activePort_ = tap_.get();

    TUsbClass& watcher = comPort_->DeviceWatcher();
    watcher.OnPortArrival = [this](TUsbClass&, const std::string&) { BuildPortMenu(); };
    watcher.OnPortRemoval = [this, removed = watcher.OnPortRemoval](TUsbClass& source,
                                                                    const std::string& port) {
        if (removed) {
            removed(source, port);
        }
        BuildPortMenu();
    };
    deviceWatch_ = WatchDevices(watcher, this, texts_);
}

// The port of "--port", else the preference "ComPort": "USB" (in any letter case) looks the adapter
// up when adapter support is there; anything else names the port, kept as written (Linux port names
// tell letter cases apart). An adapter found missing offers the simulated light curtain.
void TFRM_Main::ConfigurePortChoice() {
    const std::string choice(TrimBlanks(PortChoice()));
    const bool usb = EqualsIgnoringCase(choice, pref::DefaultComPort) && devices_ != nullptr;
    if (usb) {
        std::uint32_t said = 0;
        SearchUSBDevice(*comPort_, [&said](std::uint32_t code) { said = code; });
        if (said == MsgNoAdapterFound) {
            simulationAccepted_ = OfferSimulation(texts_.GetText(MessageTextId(said)));
        } else if (said != 0) {
            texts_.ShowMessageId(said);
        }
    } else {
        comPort_->SetPort(choice);
    }
    comPortLink_->SetKind(usb ? PortKind::UsbAdapter : PortKind::SerialPort);
}

// The port opens at start. The USB adapter fails quietly (its lookup has spoken, the user
// connects from the menu); a serial port that cannot be opened says why (message 102 and
// the reason) and offers the simulated light curtain.
void TFRM_Main::OpenAtStartup() {
    if (FactoryPasswordOutstanding()) {
        return;
    }
    bool simulate = std::exchange(simulationAccepted_, false);
    try {
        if (!simulate) {
            activePort_->Open();
        }
    } catch (const std::exception& error) {
        simulate =
            activePort_->Kind() != PortKind::UsbAdapter &&
            OfferSimulation(texts_.GetText(MsgComPortNotOpened) + "\r\n" + PortFailureText(error));
    }
    if (simulate) {
        ChooseSimulatedDevice(ControllerType::Receiver);
        BuildPortMenu();
    }
}

// The reason and a question: "Try the program on a simulated light curtain instead?"
bool TFRM_Main::OfferSimulation(const std::string& reason) {
    const std::string text = reason + "\r\n\r\n" + texts_.GetText(TxtOfferSimulation);
    return texts_.ShowMessageText(WarningYesNo, text) == MessageResult::Yes;
}

// A port that would not open names itself, the system's reason and what to do.
std::string TFRM_Main::PortFailureText(const std::exception& error) const {
    const auto* failure = dynamic_cast<const EComPort*>(&error);
    return failure != nullptr && failure->ErrorCode() == EComPort::OpenFailed
               ? PortOpenFailureText(texts_, *failure)
               : error.what();
}

// The simulated unit of the request becomes the port in use (a mistake in its options is
// thrown); the one used before goes.
void TFRM_Main::UseSimulatedDevice(const SimulationRequest& request) {
    auto started = SimulatedDevice::Start(request, *tickClock_);
    if (auto* mistake = std::get_if<std::string>(&started)) {
        throw std::invalid_argument("--simulate: " + *mistake);
    }
    LeaveSimulatedDevice();
    simulated_ = std::move(std::get<std::unique_ptr<SimulatedDevice>>(started));
    simulatedUnit_ = request.unit;
    simulatedInput_ = std::make_unique<PortSwitch::Input>(*line_, simulated_->LinePort());
    simulated_->SetListener(simulatedInput_.get());
    line_->Select(simulated_->LinePort(), simulated_->LineClock());
}

// Back to the serial port; the simulated device, closed by the caller, goes.
void TFRM_Main::LeaveSimulatedDevice() {
    if (!simulated_) {
        return;
    }
    line_->Select(*comPortLink_, *tickClock_);
    simulated_.reset();
    simulatedInput_.reset();
}

// "Simulated receiver" or "Simulated emitter" in the port menu: the port in use closes, the
// simulated unit opens. Not stored: the next start uses the stored port again, so the program
// never shows a simulation unasked.
void TFRM_Main::ChooseSimulatedDevice(ControllerType unit) {
    try {
        activePort_->Close();
        UseSimulatedDevice(SimulationRequest{unit, {}});
        activePort_->Open();
    } catch (const std::exception& error) {
        ShowException(texts_, error);
    }
}

// A serial port or "USB" in the port menu: the simulated device, if in use, closes and goes;
// the port is stored once it took the choice. A port that fails leaves the one named before,
// so that "Connect" and the status bar keep to the stored choice.
void TFRM_Main::ChooseSerialPort(const TPortMenuItem& entry) {
    const std::string previous = comPort_->Port();
    try {
        if (simulated_) {
            activePort_->Close();
            LeaveSimulatedDevice();
        }
        const auto stored = lcdiag::MNU_PSetClick(
            *comPort_, entry, [this](std::uint32_t code) { texts_.ShowMessageId(code); });
        if (stored) {
            RegWriteString(*setup_.preferences, PreferenceKeyPath(), pref::ComPort, *stored);
            setup_.port.reset(); // the menu's choice replaces the command line's
            comPortLink_->SetKind(entry.Tag == UsbItemTag ? PortKind::UsbAdapter
                                                          : PortKind::SerialPort);
        }
    } catch (const std::exception& error) {
        if (!comPort_->Connected()) {
            comPort_->SetPort(previous);
        }
        texts_.ShowMessageText(msg::Fault, PortFailureText(error));
    }
}

// Connects or disconnects; the USB adapter is looked up before it is opened.
void TFRM_Main::MNU_ConnectClick() {
    if (activePort_ == nullptr || FactoryPasswordOutstanding()) {
        return;
    }
    try {
        if (activePort_->Connected()) {
            activePort_->Close();
        } else if (activePort_->Kind() != PortKind::UsbAdapter || replay_ ||
                   SearchUSBDevice(*comPort_,
                                   [this](std::uint32_t code) { texts_.ShowMessageId(code); })) {
            activePort_->Open();
        }
    } catch (const std::exception& error) {
        texts_.ShowMessageText(msg::Fault, PortFailureText(error));
    }
    SyncLinkStatus();
}

// "Check connection": what the connection check finds, in a window of its own; the port in
// use is checked by name too, for a port udev does not list (a pseudo-terminal).
void TFRM_Main::MNU_CheckConnectionClick() {
    std::vector<std::string> named;
    if (!simulated_ && comPortLink_->Kind() == PortKind::SerialPort && !comPort_->Port().empty()) {
        const std::string& port = comPort_->Port();
        named.push_back(port.find('/') == std::string::npos ? "/dev/" + port : port);
    }
    std::ostringstream report;
    RunConnectionCheck(report, named);

    QDialog dialog(this);
    dialog.setObjectName(QStringLiteral("FRM_ConnectionCheck"));
    dialog.setWindowTitle(QString::fromStdString(texts_.GetText(TxtCheckConnection)));
    auto* text = new QPlainTextEdit(QString::fromStdString(report.str()), &dialog);
    text->setObjectName(QStringLiteral("Mem_ConnectionCheck"));
    text->setReadOnly(true);
    text->setLineWrapMode(QPlainTextEdit::NoWrap);
    text->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    const QFontMetrics metrics(text->font());
    text->setMinimumSize(metrics.horizontalAdvance(QLatin1Char('x')) * 104,
                         metrics.lineSpacing() * 30);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, &dialog);
    connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(text);
    layout->addWidget(buttons);
    dialog.exec();
}

// The port of "--port" until the menu chose another, else the stored one.
std::string TFRM_Main::PortChoice() const {
    return setup_.port ? *setup_.port
                       : RegReadString(*setup_.preferences, PreferenceKeyPath(), pref::ComPort,
                                       pref::DefaultComPort);
}

// "Simulated receiver" or "Simulated emitter": the port menu's item and the status bar's name.
std::string TFRM_Main::SimulatedPortCaption(ControllerType unit) const {
    return texts_.GetText(unit == ControllerType::Emitter ? TxtSimulatedEmitter
                                                          : TxtSimulatedReceiver);
}

std::string TFRM_Main::PortCaption() const {
    if (replay_) {
        return replay_->Name();
    }
    if (simulated_) {
        return SimulatedPortCaption(simulatedUnit_);
    }
    if (comPortLink_->Kind() == PortKind::UsbAdapter) {
        return texts_.GetText(TxtUsbAdapter);
    }
    return comPort_->Port();
}

// The port's state, and the file while the session is recorded.
std::string TFRM_Main::LinkStatus() const {
    std::string status = LinkStatusText(texts_, PortCaption(), activePort_->Connected(),
                                        controller_->State(), controller_->Unit());
    if (recorder_->Recording()) {
        status += "    " + texts_.GetTextStr(TxtRecordingTo, recorder_->File());
    }
    return status;
}

void TFRM_Main::CreateStatusBar() {
    Lbl_LinkStatus = new QLabel(this);
    Lbl_LinkStatus->setObjectName(QStringLiteral("Lbl_LinkStatus"));
    statusBar()->setObjectName(QStringLiteral("StsBr_Main"));
    statusBar()->addWidget(Lbl_LinkStatus, 1);
    SyncLinkStatus();
}

// Set only when it changed: Timer1 asks every 25 ms.
void TFRM_Main::SyncLinkStatus() {
    if (Lbl_LinkStatus == nullptr) {
        return;
    }
    std::string line = LinkStatus();
    if (line != shownLinkStatus_) {
        Lbl_LinkStatus->setText(QString::fromStdString(line));
        shownLinkStatus_ = std::move(line);
    }
}

} // namespace lcdiag
