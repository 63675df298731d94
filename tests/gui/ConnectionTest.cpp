#include "GuiTestSupport.h"
#include "Pty.h"
#include "platform/serial/ComPort.h"
#include "platform/serial/UsbClass.h"

#include <QMenu>
#include <gtest/gtest.h>

namespace lcdiag {
namespace {

using test::MainWindowTest;
using test::WaitUntil;

const std::string ComPortNotOpened = "Could not open COM-Port!";

TSerialDevice Device(const std::string& name) {
    TSerialDevice device;
    device.Name = name;
    device.Node = "/dev/lcdiag-test-" + name; // never there: opening it fails
    return device;
}

const std::string OfferOfTheSimulation =
    "Try the program on a simulated light curtain instead? (You can choose it at any time "
    "under \"Choose port\" > \"Port\".)";

class ConnectionTest : public MainWindowTest {
protected:
    QString ConnectCaption(TFRM_Main& window) { return Item(window, "MNU_Connect")->text(); }

    static QList<QAction*> PortItems(TFRM_Main& window) {
        return window.findChild<QMenu*>("MNU_PS1")->actions();
    }
    static std::vector<std::string> MenuCaptions(TFRM_Main& window) {
        std::vector<std::string> captions;
        for (const QAction* item : PortItems(window)) {
            captions.push_back(item->isSeparator() ? "-" : item->text().toStdString());
        }
        return captions;
    }
    static std::string Checked(TFRM_Main& window) {
        std::string checked;
        for (const QAction* item : PortItems(window)) {
            checked += item->isChecked() ? item->text().toStdString() : "";
        }
        return checked;
    }
    static QAction* PortItem(TFRM_Main& window, const QString& caption) {
        for (QAction* item : PortItems(window)) {
            if (item->text() == caption) {
                return item;
            }
        }
        ADD_FAILURE() << "no port item " << caption.toStdString();
        return new QAction(&window);
    }
};

TEST_F(ConnectionTest, ConfiguredPortOpensAtStartAndTheConnectItemFollowsIt) {
    test::TPty pty;
    preferences.Store(pref::ComPort, pty.SlaveName());
    auto window = MakeWindow();
    EXPECT_TRUE(window->ComPort().Connected());
    EXPECT_EQ(window->ComPort().BaudRateValue(), 19200u);
    EXPECT_EQ(ConnectCaption(*window), QString("Disconnect"));
    EXPECT_TRUE(dialogs.shown.empty());

    Click(*window, "MNU_Connect");
    EXPECT_FALSE(window->ComPort().Connected());
    EXPECT_EQ(ConnectCaption(*window), QString("Connect"));
    Click(*window, "MNU_Connect");
    EXPECT_TRUE(window->ComPort().Connected());
    EXPECT_EQ(ConnectCaption(*window), QString("Disconnect"));

    pty.CloseMaster(); // the device is unplugged
    ASSERT_TRUE(WaitUntil([&] { return !dialogs.shown.empty(); }));
    EXPECT_EQ(dialogs.shown[0].kind, MessageKind::Warning);
    EXPECT_EQ(dialogs.shown[0].text, "The Safety Light Curtain was disconnected from the PC. "
                                     "Reconnect and click \"Connect\" to continue.");
    EXPECT_EQ(ConnectCaption(*window), QString("Connect"));
    EXPECT_FALSE(window->ComPort().Connected());
}

// "--port" names the port for this run: opened, checked in the menu, not stored.
TEST_F(ConnectionTest, PortOfTheCommandLineIsUsedForThisRunOnly) {
    test::TPty pty;
    adapterSupport = true;
    preferences.Store(pref::ComPort, "USB");
    port = pty.SlaveName();
    auto window = MakeWindow();
    EXPECT_TRUE(window->ComPort().Connected());
    EXPECT_TRUE(dialogs.shown.empty());
    EXPECT_EQ(Checked(*window), pty.SlaveName());
    EXPECT_EQ(window->LinkStatus(), pty.SlaveName() + ": waiting for a device");
    EXPECT_EQ(preferences.writes["ComPort"], 0);
}

TEST_F(ConnectionTest, UsbIsAPortNameWithoutAdapterSupportAndLooksTheAdapterUpWithIt) {
    auto window = MakeWindow(); // "ComPort" defaults to "USB"
    EXPECT_EQ(window->ComPort().Port(), "USB");
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, MessageKind::Warning);
    EXPECT_EQ(dialogs.shown[0].text.rfind(ComPortNotOpened + "\r\nCould not open /dev/USB: No "
                                                             "such file or directory.",
                                          0),
              0u);
    EXPECT_EQ(MenuCaptions(*window),
              (std::vector<std::string>{"-", "Simulated receiver", "Simulated emitter"}));

    adapterSupport = true;
    dialogs.shown.clear();
    window.reset();
    window = MakeWindow();
    EXPECT_EQ(Messages(), std::vector<std::string>{"No Safety Light Curtain with USB interface "
                                                   "was found.\r\n\r\n" +
                                                   OfferOfTheSimulation});
    EXPECT_EQ(dialogs.shown[0].buttons,
              (std::vector<MessageResult>{MessageResult::Yes, MessageResult::No}));
    EXPECT_FALSE(window->ComPort().Connected());
    EXPECT_EQ(window->ActivePort()->Kind(), PortKind::UsbAdapter);
    EXPECT_EQ(window->LinkStatus(), "USB adapter: not connected");
}

// The first start without a device offers the simulated receiver; taken, it runs live, is
// checked in the port menu and shown in the status bar, and is not stored.
TEST_F(ConnectionTest, AStartWithoutADeviceOffersTheSimulatedReceiver) {
    adapterSupport = true;
    dialogs.answer = MessageResult::Yes;
    auto window = MakeWindow();
    ASSERT_TRUE(WaitUntil([&] { return window->Link().ReceiverCycles().Valid(); }));
    EXPECT_EQ(Checked(*window), "Simulated receiver");
    EXPECT_EQ(window->LinkStatus(), "Simulated receiver: receiver connected, diagnosis running");
    EXPECT_EQ(ConnectCaption(*window), QString("Disconnect"));
    EXPECT_EQ(preferences.writes["ComPort"], 0);
}

TEST_F(ConnectionTest, PortMenuListsUsbThePortsAndTheSimulatedDevicesAndChecksThePortInUse) {
    adapterSupport = true;
    ports = {Device("ttyLCDIAG10"), Device("ttyLCDIAG2")};
    preferences.Store(pref::ComPort, " usb ");
    auto window = MakeWindow();
    EXPECT_EQ(MenuCaptions(*window),
              (std::vector<std::string>{"USB", "-", "ttyLCDIAG2", "ttyLCDIAG10", "-",
                                        "Simulated receiver", "Simulated emitter"}));
    EXPECT_EQ(Checked(*window), "USB");

    // A port that fails says which, why and what to do, and leaves the choice as it was.
    dialogs.shown.clear();
    PortItem(*window, "ttyLCDIAG2")->trigger();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, MessageKind::Fault);
    EXPECT_EQ(dialogs.shown[0].text.rfind("Could not open /dev/ttyLCDIAG2: No such file or "
                                          "directory.\r\n\r\nIs the device plugged in?",
                                          0),
              0u)
        << dialogs.shown[0].text;
    EXPECT_EQ(preferences.writes["ComPort"], 0);
    EXPECT_EQ(Checked(*window), "USB");

    // The simulated emitter is a port like the others; leaving it for "USB" looks the adapter up.
    PortItem(*window, "Simulated emitter")->trigger();
    ASSERT_TRUE(WaitUntil([&] {
        return window->LinkStatus() == "Simulated emitter: emitter connected, diagnosis running";
    }));
    EXPECT_EQ(Checked(*window), "Simulated emitter");
    dialogs.shown.clear();
    PortItem(*window, "USB")->trigger();
    EXPECT_EQ(Messages(),
              std::vector<std::string>{"No Safety Light Curtain with USB interface was found."});
    EXPECT_EQ(window->LinkStatus(), "USB adapter: not connected");
    EXPECT_EQ(Checked(*window), "USB");

    // A port plugged in later is listed at once.
    ports.push_back(Device("ttyLCDIAG3"));
    window->ComPort().DeviceWatcher().Notify({TDeviceNotice::PortArrival, {}, "ttyLCDIAG3", {}});
    EXPECT_EQ(MenuCaptions(*window),
              (std::vector<std::string>{"USB", "-", "ttyLCDIAG2", "ttyLCDIAG3", "ttyLCDIAG10", "-",
                                        "Simulated receiver", "Simulated emitter"}));
}

// Nothing reaches the device before the factory password was accepted: "Connect" does
// nothing while the password is asked.
TEST_F(ConnectionTest, ManufacturerBuildConnectsNothingWhileTheFactoryPasswordIsAsked) {
    simulation = SimulationRequest{ControllerType::Receiver, {}};
    auto window = MakeWindow(16 | BuildVariant::ManufacturerBit);
    bool connectedWhileAsked = true;
    test::WhenModalShows([&](QWidget* dialog) {
        Click(*window, "MNU_Connect");
        connectedWhileAsked = window->ActivePort()->Connected();
        test::Child<QLineEdit>(*dialog, "Edt_Pwd_1")->setText("LCD-factory-7013");
        test::Child<QPushButton>(*dialog, "Btn_Pwd_1")->click();
    });
    QEvent activation(QEvent::WindowActivate);
    QCoreApplication::sendEvent(window.get(), &activation);
    ASSERT_TRUE(WaitUntil([&] { return window->ActivePort()->Connected(); }));
    EXPECT_FALSE(connectedWhileAsked);
    EXPECT_EQ(ConnectCaption(*window), QString("Disconnect"));
}

TEST_F(ConnectionTest, ManufacturerBuildOpensThePortOnlyAfterTheFactoryPassword) {
    auto window = MakeWindow(16 | BuildVariant::ManufacturerBit);
    EXPECT_TRUE(dialogs.shown.empty()); // nothing opened yet
    const auto activate = [&window] {
        QEvent activation(QEvent::WindowActivate);
        QCoreApplication::sendEvent(window.get(), &activation);
    };
    test::EnterPassword(QStringLiteral("LCD-factory-7013"));
    activate();
    ASSERT_TRUE(WaitUntil([&] { return !dialogs.shown.empty(); }));
    EXPECT_EQ(Messages().at(0).rfind(ComPortNotOpened, 0), 0u);

    test::ModalCloser modals; // passed once: not asked again
    activate();
    test::Settle(200);
    EXPECT_EQ(modals.count, 0);
    EXPECT_EQ(dialogs.shown.size(), 1u);

    dialogs.shown.clear();
    window.reset(); // one window at a time: it holds the message dialogs
    window = MakeWindow(16 | BuildVariant::ManufacturerBit);
    activate(); // the password dialog cancelled: the program ends, the port stays closed
    ASSERT_TRUE(WaitUntil([&] { return modals.count == 1; }));
    test::Settle(200);
    EXPECT_TRUE(dialogs.shown.empty());
}

} // namespace
} // namespace lcdiag
