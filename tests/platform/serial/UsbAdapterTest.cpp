#include "platform/serial/UsbAdapter.h"

#include "Pty.h"
#include "QueueDispatcher.h"
#include "platform/serial/ComPort.h"
#include "platform/serial/EComPort.h"
#include "platform/serial/PortMenu.h"
#include "platform/serial/UsbClass.h"

#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

namespace lcdiag {
namespace {

TSerialDevice Port(const std::string& name) {
    TSerialDevice device;
    device.Name = name;
    device.Node = "/dev/" + name;
    return device;
}

using test::TPty;
using test::TQueueDispatcher;

// The devices a test plugs in.
class TFakeDeviceList : public TDeviceList {
public:
    std::vector<TSerialDevice> SerialDevices() override { return devices; }
    bool InUse(const TSerialDevice& device) override { return inUse.count(device.Node) != 0; }

    void PlugAdapter(const std::string& serial, const std::string& node,
                     std::uint16_t product = AdapterProductId) {
        devices.push_back({node.substr(node.rfind('/') + 1), node, AdapterVendorId, product, serial,
                           "Safety Light Curtain", 0x12});
    }
    void PlugPort(const std::string& name) { devices.push_back(Port(name)); }

    std::vector<TSerialDevice> devices;
    std::set<std::string> inUse;
};

class UsbAdapterTest : public ::testing::Test {
protected:
    bool Search() {
        return SearchUSBDevice(port, [this](std::uint32_t code) { messages.push_back(code); });
    }

    TPty adapter;
    TFakeDeviceList devices;
    TQueueDispatcher dispatcher;
    std::vector<std::uint32_t> messages;
    int disconnects = 0;
    TComPort port{dispatcher, &devices};
};

TEST_F(UsbAdapterTest, NoAdapterShowsMessage177) {
    devices.PlugPort("ttyS0");
    devices.PlugAdapter("OTHER1", "/dev/ttyUSB0", 0x6001); // another FTDI product
    EXPECT_FALSE(Search());
    EXPECT_EQ(messages, std::vector<std::uint32_t>{0x300000B1});

    TComPort withoutSupport(dispatcher);
    messages.clear();
    EXPECT_FALSE(
        SearchUSBDevice(withoutSupport, [&](std::uint32_t code) { messages.push_back(code); }));
    EXPECT_EQ(messages, std::vector<std::uint32_t>{0x300000B1});
}

TEST_F(UsbAdapterTest, OneAdapterIsChosenBySerialNumberWithItsIds) {
    devices.PlugPort("ttyS0");
    devices.PlugAdapter("OTHER1", "/dev/ttyUSB0", 0x6001);
    devices.PlugAdapter("LC4711", "/dev/ttyUSB1");
    port.SetOpenBy(obDeviceDescription);
    EXPECT_TRUE(Search());
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(port.OpenBy(), obSerialNumber);
    EXPECT_EQ(port.SerialNumber(), "LC4711");
    EXPECT_EQ(port.UsbVendorId(), 0x0403);
    EXPECT_EQ(port.UsbProductId(), 0x9E2B);
}

TEST_F(UsbAdapterTest, SeveralAdaptersShowMessage178UnlessOthersHoldThem) {
    devices.PlugAdapter("LC0001", "/dev/ttyUSB0");
    devices.PlugAdapter("LC0002", "/dev/ttyUSB1");
    EXPECT_FALSE(Search());
    EXPECT_EQ(messages, std::vector<std::uint32_t>{0x300000B2});
    EXPECT_TRUE(port.SerialNumber().empty());

    devices.inUse.insert("/dev/ttyUSB0");
    messages.clear();
    EXPECT_TRUE(Search());
    EXPECT_EQ(port.SerialNumber(), "LC0002");
}

TEST_F(UsbAdapterTest, DeviceListFiltersByIdsWithWildcards) {
    devices.PlugPort("ttyS0");
    devices.PlugAdapter("A", "/dev/ttyUSB0", 0x6001);
    devices.PlugAdapter("B", "/dev/ttyUSB1");
    EXPECT_EQ(GetD2XXDeviceList(devices, 0x0403, 0xFFFF).size(), 2u);
    EXPECT_EQ(GetD2XXDeviceList(devices, 0xFFFF, 0x10000).size(), 2u); // never the plain port
    EXPECT_EQ(GetD2XXDeviceList(devices, 0x0403, 0x6001).front().SerialNumber, "A");
    EXPECT_TRUE(GetD2XXDeviceList(devices, 0x1234, 0xFFFF).empty());
}

TEST_F(UsbAdapterTest, AdapterOpensItsNodeAndOnlyItsOwnRemovalDisconnects) {
    devices.PlugAdapter("LC4711", adapter.SlaveName());
    port.OnDisconnect = [this](TComPort&) { ++disconnects; };
    ASSERT_TRUE(Search());
    port.Open(true);
    EXPECT_EQ(port.PortMode(), pmD2XX);
    port.WriteStr("hello");
    EXPECT_EQ(adapter.Receive(5), "hello");

    port.DeviceWatcher().Notify({TDeviceNotice::UsbRemoval, {0x0403, 0x6001}, {}});
    port.DeviceWatcher().Notify({TDeviceNotice::PortRemoval, {}, adapter.SlaveName()}); // USB mode
    port.DeviceWatcher().Notify({TDeviceNotice::UsbArrival, {0x0403, 0x9E2B}, {}});
    EXPECT_TRUE(port.Connected());
    port.DeviceWatcher().Notify({TDeviceNotice::UsbRemoval, {0x0403, 0x9E2B}, {}});
    port.DeviceWatcher().Notify({TDeviceNotice::UsbRemoval, {0x0403, 0x9E2B}, {}});
    EXPECT_FALSE(port.Connected());
    EXPECT_EQ(disconnects, 1);
}

TEST_F(UsbAdapterTest, FailingCallOnAVanishedAdapterDisconnectsInsteadOfRaising) {
    devices.PlugAdapter("LC4711", adapter.SlaveName());
    port.OnDisconnect = [this](TComPort&) { ++disconnects; };
    port.SetSerialNumber("LC4711");
    port.Open(true);
    adapter.CloseMaster();
    EXPECT_NO_THROW(port.SetBaudRate(br115200));
    EXPECT_FALSE(port.Connected());
    EXPECT_EQ(disconnects, 1);
    dispatcher.RunPending(); // the event thread's own notice of the hang-up comes to nothing
    EXPECT_EQ(disconnects, 1);
}

TEST_F(UsbAdapterTest, PortMenuSwitchesBetweenAdapterAndPort) {
    TPty serial;
    const std::string serialName = serial.SlaveName();
    const TPortMenuItem usbItem{"USB", UsbItemTag, {}, false};
    const TPortMenuItem portItem{serialName, FirstPortTag, serialName, false};
    auto show = [this](std::uint32_t code) { messages.push_back(code); };

    EXPECT_EQ(MNU_PSetClick(port, usbItem, show), "USB"); // stored although none was found
    EXPECT_EQ(messages, std::vector<std::uint32_t>{0x300000B1});
    EXPECT_FALSE(port.Connected());

    EXPECT_EQ(MNU_PSetClick(port, portItem, show), serialName);
    EXPECT_TRUE(port.Connected());
    EXPECT_EQ(port.Port(), serialName);

    devices.PlugAdapter("LC4711", adapter.SlaveName());
    EXPECT_EQ(MNU_PSetClick(port, usbItem, show), "USB");
    EXPECT_EQ(port.PortMode(), pmD2XX);
    EXPECT_TRUE(port.Connected());

    // Back to the port of the same name as before: the adapter must not stay open.
    EXPECT_EQ(MNU_PSetClick(port, portItem, show), serialName);
    EXPECT_EQ(port.PortMode(), pmCOM);
    port.WriteStr("serial");
    EXPECT_EQ(serial.Receive(6), "serial");

    EXPECT_EQ(MNU_PSetClick(port, {"-", 0, {}, false}, show), std::nullopt);
}

} // namespace
} // namespace lcdiag
