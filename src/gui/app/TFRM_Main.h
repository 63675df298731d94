#pragma once

#include "core/app/BuildVariant.h"
#include "core/app/TLocaleFile.h"
#include "core/app/TextId.h"
#include "core/device/ControllerFirmware.h"
#include "core/device/ControllerType.h"
#include "core/device/FaultList.h"
#include "core/protocol/ConnectionController.h"
#include "core/protocol/Port.h"
#include "core/views/LiveViewData.h"
#include "gui/app/CommandLine.h"
#include "gui/app/QtEventDispatcher.h"
#include "platform/serial/PortMenu.h"

#include <QMainWindow>
#include <QRect>
#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QActionGroup;
class QCheckBox;
class QFrame;
class QListWidget;
class QMenu;
class QPushButton;
class QScrollArea;
class QScrollBar;
class QSocketNotifier;
class QTimer;

namespace lcdiag {

class ComPortLink;
class LocalPcClock;
class MessageDialogs;
class QtConnectionTimers;
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
    PreferenceStore* preferences = nullptr; // required; outlives the window
    std::filesystem::path languageFolder;   // the folder "Lang" beside the program
    // The adapter support (the program's device list; null: serial ports named by hand only).
    std::function<std::unique_ptr<TDeviceList>()> loadAdapterSupport;
    // The dialogs of the messages; null: the window's own message boxes.
    MessageDialogs* messageDialogs = nullptr;
    // Run on the simulated device instead of a port.
    std::optional<SimulationRequest> simulation;
};

// Password dialog modes the window asks for.
inline constexpr int PasswordUserSettings = 0;
inline constexpr int PasswordChange = 1;
inline constexpr int PasswordFactory = 8;

// The program's main window. It owns everything for the whole run: the serial port and its
// link, the fault list, the pictures and the pages. Start-up runs in the constructor in the
// order of the design: build variant, language, product texts, controls and screen profile,
// serial port, port and language menus, Timer1, the connected unit.
//
// Plug-in points (each a small method documented below): Timer1Timer and RedrawCurrentView
// for the live pictures and the connection's supervision, Timer2Timer for the result
// reporter, SetConnectionEvents for the connection controller, ConnectSimulatedDevice for the
// simulated device, ShowPasswordDialog for the password dialog and FillPage for the pages.
class TFRM_Main final : public QMainWindow, public PortEvents, public ConnectionView {
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

    // The page switch. Returns false when the page was refused (mode 3 without manufacturer
    // functions, mode 4 without the password, a page that could not be filled); the same mode
    // again without force changes nothing.
    bool SetViewMode(int mode, bool force = false);
    int ViewMode() const override { return viewMode_; }
    // Centres the picture and the pages in the scroll box (the box's resize handler).
    void ScrlBx_MainResize();

    // The live pictures (bar, status, lines); RequestRedraw makes the next tick draw the
    // current one again.
    const ViewPictures& Pictures() const { return *pictures_; }
    void RequestRedraw() { redrawRequested_ = true; }

    FaultList& Faults() { return controller_->Faults(); }
    ControllerType ConnectedUnit() const { return controller_->Unit(); }
    // The dialogue with the connected controller.
    ConnectionController& Connection() { return *controller_; }
    // The connected unit's switch (receiver 1, emitter 2): clears the fault list and shows
    // the unit's menu items; nothing happens for the unit already set unless forced.
    void SwitchToControllerType(ControllerType type, bool force = false);

    // Timer1 (25 ms) calls this: supervision, fault list, current picture.
    void Timer1Timer();
    // Timer2, the one-shot result reporter, calls this.
    void Timer2Timer();
    // Starts the one-shot result reporter.
    void ArmResultReporter(int milliseconds);

    // The serial port component and the port the connection uses.
    TComPort& ComPort() { return *comPort_; }
    Port* ActivePort() { return activePort_; }

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
    void MNU_ResClick(QAction* item);
    void MNU_LangClick(QAction* item);

    // What the connection controller asks of the window.
    void RefreshInfo() override;
    void Redraw() override { RequestRedraw(); }
    void ChangeViewMode(int mode) override { SetViewMode(mode); }
    void ControllerTypeSwitched() override;
    void ShowIncompatibilityNotice(const std::string& minimumVersion) override;
    void SaveSettingsReport(ControllerType unit) override;
    void StartupPasswordStep() override;

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

    // Plug-in points.
    void RedrawCurrentView();
    bool FillPage(int mode);
    int ShowPasswordDialog(int mode);
    void ConnectSimulatedDevice(const SimulationRequest& request);
    void CreateConnection();
    void RunProtectedStartup();

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
    LiveViewData CurrentViewData() const;
    void DrawCurrentPicture();
    void UpdateBeamScrollBar(const LiveViewData& data);
    void ClickSelectionPage(QPoint at);
    void HideViewControls();
    bool ShowPage(int mode, int previous);
    void RunTimerCycleNow();
    void SyncFaultWindow();

    TMainSetup setup_;
    BuildVariant variant_;
    ProductTexts products_;
    PcSoftwareVersion pcVersion_;
    TLocaleFile locale_;
    std::unique_ptr<MessageDialogs> ownDialogs_;
    bool creationFinished_ = false;
    bool closed_ = false;

    int profile_ = 0;
    QSize viewSize_;
    std::unique_ptr<ViewPictures> pictures_;
    QRect beamScrollPlace_;       // ScrlBr1 in picture coordinates
    BeamSelection beamSelection_; // what the beam selection page shows and edits
    int viewMode_ = 0;
    int drawnMode_ = 0;
    bool redrawRequested_ = false;
    bool settingsUnlocked_ = false;
    int calculatorExitMode_ = 1; // the mode the calculator was opened from
    int dimensioning_ = 0;

    std::uint32_t shownFaultRevision_ = 0;

    // Serial link; declared in the order they depend on each other.
    TQtEventDispatcher dispatcher_;
    std::unique_ptr<TDeviceList> devices_;
    std::unique_ptr<TComPort> comPort_;
    std::unique_ptr<ComPortLink> comPortLink_;
    std::unique_ptr<SimulatedDevice> simulated_;
    Port* activePort_ = nullptr;
    std::unique_ptr<SteadyTickClock> tickClock_;
    std::unique_ptr<LocalPcClock> pcClock_;
    const Clock* lineClock_ = nullptr; // the simulated device's clock or the steady tick
    std::unique_ptr<QtConnectionTimers> connectionTimers_;
    // Last of the link's parts: it talks to the port, so it goes first.
    std::unique_ptr<ConnectionController> controller_;
    std::vector<TPortMenuItem> portItems_;
    QAction* checkedPort_ = nullptr; // the port item confirmed last
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
    std::array<QFrame*, 4> pages_{};
    QFrame* Pnl_ErrorFrame = nullptr;
    QListWidget* LstBx_Error = nullptr;
    QSocketNotifier* deviceWatch_ = nullptr;
};

} // namespace lcdiag
