#include "platform/serial/PortMenu.h"

#include "platform/serial/UdevDeviceList.h"
#include "platform/serial/UsbClass.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <unistd.h>

namespace lcdiag {
namespace {

std::vector<std::string> Checked(const std::vector<TPortMenuItem>& items) {
    std::vector<std::string> captions;
    for (const TPortMenuItem& item : items) {
        if (item.Checked) {
            captions.push_back(item.Caption);
        }
    }
    return captions;
}

TEST(PortMenuTest, AdapterEntryComesFirstAndIsCheckedForTheUsbPreference) {
    const auto items = InitPorts(" usb ", {"ttyUSB10", "ttyUSB2"}, true);
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[0], (TPortMenuItem{"USB", 10, "", true}));
    EXPECT_EQ(items[1], (TPortMenuItem{"-", 0, "", false}));
    EXPECT_EQ(items[2], (TPortMenuItem{"ttyUSB2", 11, "ttyUSB2", false}));
    EXPECT_EQ(items[3], (TPortMenuItem{"ttyUSB10", 12, "ttyUSB10", false}));
}

TEST(PortMenuTest, TheStoredPortIsCheckedAndListedEvenWhenAbsent) {
    EXPECT_EQ(Checked(InitPorts("TTYUSB10", {"ttyUSB2", "ttyUSB10"}, true)),
              std::vector<std::string>{"ttyUSB10"});
    const auto absent = InitPorts(" /dev/pts/3 ", {"ttyUSB2"}, true);
    ASSERT_EQ(absent.size(), 4u);
    EXPECT_EQ(absent[2], (TPortMenuItem{"/dev/pts/3", 11, "/dev/pts/3", true}));
    EXPECT_EQ(Checked(InitPorts("", {"ttyS0"}, true)), std::vector<std::string>{});
    // Without adapter support a stored "USB" names no entry at all.
    const auto items = InitPorts("USB", {"ttyS0"}, false);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_TRUE(Checked(items).empty());
    EXPECT_EQ(Checked(InitPorts("ttyS0", {}, false)), std::vector<std::string>{"ttyS0"});
}

TEST(DeviceWatcherTest, UdevEventsBecomeNotices) {
    auto usb = NoticeFromUevent("remove", "usb", "usb_device", "403/9e2b/600", "1-2",
                                "/devices/pci0000:00/0000:00:14.0/usb1/1-2");
    ASSERT_TRUE(usb);
    EXPECT_EQ(usb->Kind, TDeviceNotice::UsbRemoval);
    EXPECT_EQ(usb->Ids, (TUsbIds{0x0403, 0x9E2B}));
    EXPECT_EQ(usb->Path, "/devices/pci0000:00/0000:00:14.0/usb1/1-2");
    auto tty = NoticeFromUevent("add", "tty", "", "", "ttyUSB0", "");
    ASSERT_TRUE(tty);
    EXPECT_EQ(tty->Kind, TDeviceNotice::PortArrival);
    EXPECT_EQ(tty->Port, "ttyUSB0");
    EXPECT_FALSE(NoticeFromUevent("bind", "usb", "usb_device", "403/9e2b/600", "1-2", ""));
    EXPECT_FALSE(NoticeFromUevent("add", "usb", "usb_interface", "403/9e2b/600", "1-2:1.0", ""));
    EXPECT_FALSE(NoticeFromUevent("add", "usb", "usb_device", "403/zz/600", "1-2", ""));
    EXPECT_FALSE(NoticeFromUevent("add", "usb", "usb_device", "", "1-2", ""));
}

TEST(UdevDeviceListTest, NodeHeldOpenLooksAtTheLinksOfProcesses) {
    namespace fs = std::filesystem;
    const fs::path proc = fs::temp_directory_path() / ("lcdiag-proc-" + std::to_string(getpid()));
    fs::create_directories(proc / "123" / "fd");
    fs::create_directories(proc / "self" / "fd");
    fs::create_symlink("/dev/ttyUSB7", proc / "123" / "fd" / "5");
    fs::create_symlink("/dev/ttyUSB8", proc / "self" / "fd" / "3");
    EXPECT_TRUE(NodeHeldOpen("/dev/ttyUSB7", proc));
    EXPECT_FALSE(NodeHeldOpen("/dev/ttyUSB8", proc)); // not a process
    EXPECT_FALSE(NodeHeldOpen("/dev/ttyUSB9", proc));
    EXPECT_FALSE(NodeHeldOpen("/dev/ttyUSB7", proc / "missing"));
    fs::remove_all(proc);
}

TEST(UdevDeviceListTest, LocationIsTheBusAndPortPath) {
    EXPECT_EQ(LocationFromUsbPath("1-2.3"), 0x123u);
    EXPECT_EQ(LocationFromUsbPath("3-10"), 0x3Au);
    EXPECT_EQ(LocationFromUsbPath(""), 0u);
}

} // namespace
} // namespace lcdiag
