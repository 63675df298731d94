#pragma once

#include "core/app/BuildVariant.h"
#include "core/app/TLocaleFile.h"
#include "core/app/TextId.h"
#include "core/app/Texts.h"
#include "core/device/ControllerFirmware.h"
#include "core/device/ControllerType.h"
#include "core/device/FaultList.h"
#include "core/protocol/ConnectionController.h"
#include "core/protocol/Port.h"
#include "core/protocol/PortSwitch.h"
#include "core/session/RecordingTap.h"
#include "core/views/LiveViewData.h"
#include "core/views/ViewMode.h"
#include "gui/app/CommandLine.h"
#include "gui/app/LivePages.h"
#include "gui/app/QtEventDispatcher.h"
#include "gui/app/ReplayDevice.h"
#include "gui/app/SessionRecorder.h"
#include "gui/views/TPage.h"
#include "platform/serial/PortMenu.h"

#include <QMainWindow>
#include <QRect>
#include <array>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QActionGroup;
class QCheckBox;
class QFrame;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class QScrollArea;
class QScrollBar;
class QSocketNotifier;
class QTimer;

namespace lcdiag {

class ComPortLink;
class ConfigFileCommands;
class FileDialogs;
class LocalPcClock;
class MessageDialogs;
class QtConnectionTimers;
class SaveConfirmation;
class SimulatedDevice;
class SteadyTickClock;
class PreferenceStore;
class TComPort;
class TDeviceList;
class TPictureBox;
class ViewPictures;

// What the program hands the main window when it starts.
struct TMainSetup {
    std::uint32_t variantWord = BuildVariant::Delivered;
    PreferenceStore* preferences = nullptr;             // required; outlives the window
    std::vector<std::filesystem::path> languageFolders; // in order of preference
    // The adapter support (the program's device list; null: serial ports named by hand only).
    std::function<std::unique_ptr<TDeviceList>()> loadAdapterSupport;
    // The dialogs of the messages; null: the window's own message boxes.
    MessageDialogs* messageDialogs = nullptr;
    // The dialogs that choose files; null: the window's own.
    FileDialogs* fileDialogs = nullptr;
    // Run on the simulated device instead of a port.
    std::optional<SimulationRequest> simulation;
    // The port for this run instead of the preference "ComPort", until another is chosen.
    std::optional<std::string> port;
    // Replay a recorded session as the device instead of a port.
    std::optional<ReplayRequest> replay;
    // Record the session into this file from the start.
    std::optional<std::string> record;
};

// The program's main window. It owns everything for the whole run: the texts of the language,
// the serial port and its link, the settings pages' confirmation, the fault list, the
// pictures and the pages. Start-up runs in the constructor: build variant, language, product
// texts, serial port and link, controls and screen profile, pages, port and language menus,
// Timer1, the connected unit.
//
// The window routes: a menu item names a view mode, the mode names a page (the registry
// filled by CreatePages), the page shows itself. Timer1 runs the link's supervision, the
// confirmation countdown and the shown page's sync; Timer2 is the link's result reporter.
class TFRM_Main final : public QMainWindow,
                        public PortEvents,
                        public ConnectionView,
                        public TPageHost {
public:
    explicit TFRM_Main(TMainSetup setup, QWidget* parent = nullptr);
    ~TFRM_Main() override;

    // False when an error cut the start-up short (it has been shown); the program then ends.
    bool CreationFinished() const { return creationFinished_; }

    const BuildVariant& Variant() const { return variant_; }
    const ProductTexts& Products() const { return products_; }
    // The version the program reports to the controller and writes into its records.
    PcSoftwareVersion PcVersion() const { return pcVersion_; }
    int ScreenProfileIndex() const { return profile_; }
    // W x H: the size of every live picture, fixed for the run.
    QSize ViewSize() const { return viewSize_; }
    // 0: beam numbers, 1: positions (preference "Dimensions").
    int Dimensioning() const { return dimensioning_; }

    // The page switch. Returns false when the page was refused (no page for the mode, such as
    // the factory settings without manufacturer functions; a page that would not admit the
    // user or could not be filled); the same mode again without force changes nothing.
    bool SetViewMode(ViewMode mode, bool force = false) override;
    ViewMode CurrentViewMode() const { return viewMode_; }
    // Centres the picture and the pages in the scroll box (the box's resize handler).
    void ScrlBx_MainResize() override;

    // The live pictures (bar, status, lines); RequestRedraw makes the next tick draw the
    // current one again.
    const ViewPictures& Pictures() const { return *pictures_; }
    void RequestRedraw() override { redrawRequested_ = true; }

    FaultList& Faults() { return controller_->Faults(); }
    ControllerType ConnectedUnit() const { return controller_->Unit(); }
    // The dialogue with the connected controller.
    ConnectionController& Link() override { return *controller_; }
    // The settings pages' save buttons and their ten-second confirmation.
    SaveConfirmation& Confirmation() { return *confirmation_; }
    const Texts& Language() const override { return texts_; }
    // The connected unit's switch (receiver 1, emitter 2): clears the fault list and shows
    // the unit's menu items; nothing happens for the unit already set unless forced.
    void SwitchToControllerType(ControllerType type, bool force = false);

    // Timer1 (25 ms) calls this: supervision, confirmation countdown, fault list, page.
    void Timer1Timer();
    // Timer2, the one-shot result reporter, calls this.
    void Timer2Timer();
    // Calls `ended` once the replay has delivered the whole recording.
    void WhenReplayEnded(std::function<void()> ended);
    void StopRecording() { recorder_->Stop(); }

    // The serial port component and the port the connection uses (the serial port or the
    // simulated device, through the port switch).
    TComPort& ComPort() { return *comPort_; }
    Port* ActivePort() { return activePort_; }
    // The status bar's line: the port in use and the state of the dialogue on it.
    std::string LinkStatus() const;

    // The port's events go to the connection controller; the window then mirrors the connect
    // item's caption.
    void ComPortAfterOpen() override;
    void ComPortBeforeClose() override;
    void ComPortRxChar(int count) override;
    void ComPortTxEmpty() override;
    void ComPortEvent2() override;
    void ComPortDisconnect() override;

    // The menu's handlers, dispatching on the item's tag.
    void MNU_FileClick(QAction* item);
    void MNU_ViewClick(QAction* item);
    void MNU_ParamClick(QAction* item);
    void MNU_InfoClick(QAction* item);
    void MNU_ConnectClick();
    void MNU_PSetClick(QAction* item);
    void MNU_CheckConnectionClick();
    void MNU_ResClick(QAction* item);
    void MNU_LangClick(QAction* item);

    // What the connection controller asks of the window.
    void RefreshInfo() override;
    // The link's data may have changed: the picture is drawn again if it would differ.
    void Redraw() override { dataRedrawRequested_ = true; }
    void LeaveUnitSettings() override;
    void ControllerTypeSwitched() override;
    void ShowIncompatibilityNotice(const std::string& minimumVersion) override;
    void StartupPasswordStep() override;

    // What the pages ask of the window.
    void RunTimerCycleNow(bool freshSupervision = false) override;
    LiveViewData CurrentViewData() const override;
    // The password dialog in the mode with the size of font 10; returns PasswordResult.
    int ShowPasswordDialog(PasswordMode mode) override;
    bool ConfirmSafetyNote(int mode) override;
    std::optional<std::string> ChooseFileToSave(TextId filter) override;
    CustomerRecordContext RecordContext() override;

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Start-up.
    void FormCreate();
    void LoadLanguage();
    void BuildControls();
    void CreateSerialPort();
    void ConfigurePortChoice();
    void SetLine();
    void OpenAtStartup();
    void FormActivate();
    void FormClose();
    void CreateConnection();
    void RunProtectedStartup();
    // Nothing reaches the device before the manufacturer build's factory password.
    bool FactoryPasswordOutstanding() const;

    // Ports (MainPorts.cpp): the serial port or the simulated device, what a port that would
    // not open says, the status bar.
    void UseSimulatedDevice(const SimulationRequest& request);
    void LeaveSimulatedDevice();
    void ChooseSimulatedDevice(ControllerType unit);
    void ChooseSerialPort(const TPortMenuItem& entry);
    bool OfferSimulation(const std::string& reason);
    std::string PortFailureText(const std::exception& error) const;
    std::string PortCaption() const;
    std::string SimulatedPortCaption(ControllerType unit) const;
    std::string PortChoice() const;
    void CreateStatusBar();
    void SyncLinkStatus();

    // Session recording and replay (MainSession.cpp).
    void UseReplay(ReplayRequest request);
    void MNU_RecordSessionClick();
    void StartRecording(const std::string& path);
    void SyncRecording();

    // Menus (MainMenu.cpp).
    void BuildMenu();
    void CaptionMenu();
    void BuildResolutionMenu(const QSize& screen);
    void BuildPortMenu();
    void BuildLanguageMenu();
    void SetDimensioning(int mode);
    void SetConnectCaption(TextId id);
    QAction* Item(const char* name) const;
    QMenu* SubMenu(const char* name) const;

    // View area (MainView.cpp).
    void BuildViewArea();
    QSize ScreenSize() const;
    void FitWindowToScreen();
    void CreatePictures();
    void CreatePages();
    TPage* PageOf(ViewMode mode) const;
    void SyncPage();
    void SyncFaultWindow();
    void ShowFaultPanel(bool shown);

    TMainSetup setup_;
    BuildVariant variant_;
    ProductTexts products_;
    PcSoftwareVersion pcVersion_;
    TLocaleFile locale_;
    std::unique_ptr<MessageDialogs> ownDialogs_;
    std::unique_ptr<FileDialogs> ownFileDialogs_;
    FileDialogs& FileDialogsInUse();
    Texts texts_; // before everything that shows a text
    bool creationFinished_ = false;
    bool closed_ = false;

    int profile_ = 0;
    QSize viewSize_;
    std::unique_ptr<ViewPictures> pictures_;
    QRect beamScrollPlace_; // ScrlBr1 in picture coordinates
    ViewMode viewMode_ = ViewMode::None;
    ViewMode drawnMode_ = ViewMode::None;
    bool redrawRequested_ = false;     // something besides the link's data changed
    bool dataRedrawRequested_ = false; // the link's data may have changed
    int dimensioning_ = 0;

    std::uint32_t shownFaultRevision_ = 0;

    // Serial link; declared in the order they depend on each other.
    TQtEventDispatcher dispatcher_;
    std::unique_ptr<TDeviceList> devices_;
    std::unique_ptr<TComPort> comPort_;
    std::unique_ptr<ComPortLink> comPortLink_;
    std::unique_ptr<SteadyTickClock> tickClock_;
    std::unique_ptr<PortSwitch> line_;
    std::unique_ptr<RecordingTap> tap_; // between the port switch and the dialogue
    std::unique_ptr<SessionRecorder> recorder_;
    std::unique_ptr<PortSwitch::Input> serialInput_;
    std::unique_ptr<SimulatedDevice> simulated_;
    std::unique_ptr<PortSwitch::Input> simulatedInput_;
    ControllerType simulatedUnit_ = ControllerType::Receiver;
    bool simulationAccepted_ = false; // at start, instead of the port found missing
    std::unique_ptr<ReplayDevice> replay_;
    std::unique_ptr<PortSwitch::Input> replayInput_;
    Port* activePort_ = nullptr; // the recording tap in front of the port switch
    std::unique_ptr<LocalPcClock> pcClock_;
    const Clock* lineClock_ = nullptr; // the port switch's line clock
    std::unique_ptr<QtConnectionTimers> connectionTimers_;
    // Last of the link's parts: it talks to the port, so it goes first.
    std::unique_ptr<ConnectionController> controller_;
    std::unique_ptr<SaveConfirmation> confirmation_;  // listens to the link
    std::unique_ptr<ConfigFileCommands> configFiles_; // the File menu's import and export
    std::vector<TPortMenuItem> portItems_;
    QActionGroup* portGroup_ = nullptr;
    bool protectedStartPending_ = false;
    bool protectedStartPassed_ = false;

    QTimer* Timer1 = nullptr;
    QTimer* Timer2 = nullptr;
    QScrollArea* ScrlBx_Main = nullptr;
    QWidget* scrollContent_ = nullptr;
    TPictureBox* Img_Main = nullptr;
    QScrollBar* ScrlBr1 = nullptr;
    QPushButton* Btn_Main_1 = nullptr;
    QPushButton* Btn_Main_2 = nullptr;
    QPushButton* Btn_Main_3 = nullptr;
    QCheckBox* ChckBx_Main_1 = nullptr;
    // Pnl_FabSetFrame, Pnl_UserSetFrame, Pnl_HistoryFrame, Pnl_CalcSecurityDistance.
    std::array<QFrame*, 4> panels_{};
    QFrame* Pnl_ErrorFrame = nullptr;
    QListWidget* LstBx_Error = nullptr;
    int faultPanelRoom_ = 0; // what the window grew by for the fault panel
    QSocketNotifier* deviceWatch_ = nullptr;
    QLabel* Lbl_LinkStatus = nullptr;
    std::string shownLinkStatus_;

    TLiveArea liveArea_;
    std::map<ViewMode, std::unique_ptr<TPage>> pages_;
};

} // namespace lcdiag
