#pragma once

#include "platform/serial/UdevDeviceList.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace lcdiag {

// Where the connection check looks; tests point every root into a fake tree.
struct CheckRoots {
    std::filesystem::path sys = "/sys";
    std::filesystem::path dev = "/dev";
    std::filesystem::path proc = "/proc";
    std::vector<std::filesystem::path> ruleFolders = {"/etc/udev/rules.d", "/usr/lib/udev/rules.d",
                                                      "/lib/udev/rules.d"};
    std::filesystem::path groupFile = "/etc/group";
};

// Who runs the check.
struct CheckIdentity {
    unsigned uid = 0;
    unsigned primaryGid = 0; // the user's own group, from the password database
    std::string userName;
    std::vector<unsigned> sessionGroups; // the groups this session was started with
    bool remote = false;                 // logged in over SSH: the seat's access list is not ours
    int pid = 0;                         // the checking process itself never counts as a holder
    // Whether this user may open the node for reading and writing, whatever grants it
    // (access(2) in the program). Where the mode bits refuse, a yes is an access list.
    std::function<bool(const std::filesystem::path&)> mayOpen;
};

// The identity of this process and session.
CheckIdentity CurrentIdentity();

// The USB device behind a port, or an adapter found on USB.
struct UsbFacts {
    std::filesystem::path dir; // its folder in sysfs, resolved
    std::string sysName;       // "1-2.3"
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::string serial;
    std::string product;
};

struct NodeFacts {
    bool exists = false;
    unsigned mode = 0; // permission bits
    unsigned uid = 0;
    unsigned gid = 0;
};

struct PortFacts {
    std::string name;   // "ttyUSB0"
    std::string node;   // "/dev/ttyUSB0", as the links of processes name it
    std::string driver; // "ftdi_sio"; empty for a port the kernel's tty class does not list
    std::optional<UsbFacts> usb;
    bool named = false; // given by the caller and not listed by the kernel
    NodeFacts stat;
    bool mayOpen = false; // the identity's verdict on the node
    std::vector<TNodeHolder> holders;
};

struct GroupEntry {
    std::string name;
    unsigned gid = 0;
    std::vector<std::string> members;
};

struct ConnectionFacts {
    CheckIdentity identity;
    std::vector<PortFacts> ports;
    std::vector<UsbFacts> unboundAdapters; // the device's adapters without a tty
    std::optional<std::filesystem::path> rule;
    std::optional<TNodeHolder> modemManager;
    std::vector<GroupEntry> groups;
};

// Reads sysfs, the device nodes, the processes, the udev rule folders and the group file.
// namedPorts are paths the user gave (a pseudo-terminal, a link under /dev/serial); one that
// names a listed port adds nothing.
ConnectionFacts GatherFacts(const CheckRoots& roots, const CheckIdentity& identity,
                            const std::vector<std::string>& namedPorts = {});

std::vector<GroupEntry> ParseGroupFile(const std::string& text);

} // namespace lcdiag
