#include "GuiTestSupport.h"
#include "Pty.h"
#include "platform/serial/ComPort.h"

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

class ConnectionTest : public MainWindowTest {
protected:
    QString ConnectCaption(TFRM_Main& window) { return Item(window, "MNU_Connect")->text(); }
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

TEST_F(ConnectionTest, UsbIsAPortNameWithoutAdapterSupportAndLooksTheAdapterUpWithIt) {
    auto window = MakeWindow(); // "ComPort" defaults to "USB"
    EXPECT_EQ(window->ComPort().Port(), "USB");
    EXPECT_EQ(Messages(), std::vector<std::string>{ComPortNotOpened});
    EXPECT_EQ(dialogs.shown[0].kind, MessageKind::Fault);
    EXPECT_TRUE(window->findChild<QMenu*>("MNU_PS1")->actions().isEmpty());

    adapterSupport = true;
    dialogs.shown.clear();
    window.reset();
    window = MakeWindow();
    EXPECT_EQ(Messages(),
              std::vector<std::string>{"No Safety Light Curtain with USB interface was found."});
    EXPECT_FALSE(window->ComPort().Connected());
    EXPECT_EQ(window->ActivePort()->Kind(), PortKind::UsbAdapter);
}

TEST_F(ConnectionTest, PortMenuListsUsbAndThePortsAndKeepsTheChoiceWhenAPortFails) {
    adapterSupport = true;
    ports = {Device("ttyLCDIAG10"), Device("ttyLCDIAG2")};
    preferences.Store(pref::ComPort, " usb ");
    auto window = MakeWindow();
    const QList<QAction*> items = window->findChild<QMenu*>("MNU_PS1")->actions();
    ASSERT_EQ(items.size(), 4);
    EXPECT_EQ(items[0]->text(), QString("USB"));
    EXPECT_TRUE(items[0]->isChecked());
    EXPECT_TRUE(items[1]->isSeparator());
    EXPECT_EQ(items[2]->text(), QString("ttyLCDIAG2"));
    EXPECT_EQ(items[3]->text(), QString("ttyLCDIAG10"));

    dialogs.shown.clear();
    items[2]->trigger();
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, MessageKind::Fault);
    EXPECT_EQ(dialogs.shown[0].text.rfind("Unable to open com port", 0), 0u);
    EXPECT_EQ(preferences.writes["ComPort"], 0);
    EXPECT_TRUE(items[0]->isChecked());
    EXPECT_FALSE(items[2]->isChecked());
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
    EXPECT_EQ(Messages(), std::vector<std::string>{ComPortNotOpened});

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
