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
        const std::string usbPath = "/devices/usb1/1-" + std::to_string(devices.size() + 1);
        devices.push_back({node.substr(node.rfind('/') + 1), node, AdapterVendorId, product, serial,
                           "Safety Light Curtain", 0x12, usbPath});
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

// Message 177: no adapter, 178: more than one free adapter.
TEST_F(UsbAdapterTest, SearchTakesTheOnlyFreeAdapterBySerialNumberOrSaysWhyNot) {
    struct Case {
        std::vector<std::string> adapters;
        std::string inUse;
        std::vector<std::uint32_t> messages;
        std::string chosen;
    };
    const Case cases[] = {
        {{}, "", {0x300000B1}, ""},
        {{"LC4711"}, "", {}, "LC4711"},
        {{"LC0001", "LC0002"}, "", {0x300000B2}, ""},
        {{"LC0001", "LC0002"}, "/dev/ttyUSB1", {}, "LC0002"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.adapters.size());
        TFakeDeviceList list;
        list.PlugPort("ttyS0");
        list.PlugAdapter("OTHER1", "/dev/ttyUSB0", 0x6001); // another product of the same maker
        for (std::size_t i = 0; i < c.adapters.size(); ++i) {
            list.PlugAdapter(c.adapters[i], "/dev/ttyUSB" + std::to_string(i + 1));
        }
        list.inUse = {c.inUse};
        TComPort searched{dispatcher, &list};
        searched.SetOpenBy(obDeviceDescription);
        messages.clear();
        EXPECT_EQ(SearchUSBDevice(searched, [this](std::uint32_t m) { messages.push_back(m); }),
                  !c.chosen.empty());
        EXPECT_EQ(messages, c.messages);
        EXPECT_EQ(searched.SerialNumber(), c.chosen);
        if (!c.chosen.empty()) {
            EXPECT_EQ(searched.OpenBy(), obSerialNumber);
        }
    }
    TComPort withoutSupport(dispatcher);
    messages.clear();
    EXPECT_FALSE(
        SearchUSBDevice(withoutSupport, [&](std::uint32_t code) { messages.push_back(code); }));
    EXPECT_EQ(messages, std::vector<std::uint32_t>{0x300000B1});
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
    devices.PlugAdapter("LC4711", adapter.SlaveName()); // at /devices/usb1/1-1
    port.OnDisconnect = [this](TComPort&) { ++disconnects; };
    ASSERT_TRUE(Search());
    port.Open(true);
    EXPECT_EQ(port.PortMode(), pmD2XX);
    port.WriteStr("hello");
    EXPECT_EQ(adapter.Receive(5), "hello");

    const TUsbIds ids{AdapterVendorId, AdapterProductId};
    auto usb = [](TDeviceNotice::TKind kind, TUsbIds ids, const char* path) {
        return TDeviceNotice{kind, ids, {}, path};
    };
    // A second adapter of the same kind, unplugged, is not this one.
    port.DeviceWatcher().Notify(usb(TDeviceNotice::UsbRemoval, ids, "/devices/usb1/1-2"));
    port.DeviceWatcher().Notify(usb(TDeviceNotice::UsbRemoval, {0x0403, 0x6001}, ""));
    port.DeviceWatcher().Notify(
        {TDeviceNotice::PortRemoval, {}, adapter.SlaveName(), {}}); // USB mode
    port.DeviceWatcher().Notify(usb(TDeviceNotice::UsbArrival, ids, "/devices/usb1/1-1"));
    EXPECT_TRUE(port.Connected());
    port.DeviceWatcher().Notify(usb(TDeviceNotice::UsbRemoval, ids, "/devices/usb1/1-1"));
    port.DeviceWatcher().Notify(usb(TDeviceNotice::UsbRemoval, ids, "/devices/usb1/1-1"));
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

TEST(PortListTest, PortsComeInNaturalOrder) {
    TFakeDeviceList devices;
    for (const char* name : {"COM10", "ttyUSB10", "COM2", "ttyUSB2", "ttyS1", "COM1", "ttyACM0"}) {
        devices.PlugPort(name);
    }
    EXPECT_EQ(EnumComPorts(devices), (std::vector<std::string>{"COM1", "COM2", "COM10", "ttyACM0",
                                                               "ttyS1", "ttyUSB2", "ttyUSB10"}));
    EXPECT_TRUE(PortNameLess("COM9", "COM010"));
    EXPECT_FALSE(PortNameLess("COM2", "COM02")); // the same number
    EXPECT_TRUE(PortNameLess("ttyUSB", "ttyUSB0"));
    EXPECT_TRUE(PortNameLess("Modem", "modem")); // by character code
}

} // namespace
} // namespace lcdiag
