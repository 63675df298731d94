#include "platform/check/ConnectionFacts.h"

#include "platform/serial/UsbAdapter.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <fstream>
#include <pwd.h>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace lcdiag {
namespace {

namespace fs = std::filesystem;

std::string FirstLine(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line;
}

std::optional<std::uint16_t> HexId(const fs::path& file) {
    const std::string text = FirstLine(file);
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (error != std::errc() || text.empty() || value > 0xFFFF) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(value);
}

std::optional<UsbFacts> UsbDevice(const fs::path& dir) {
    const auto vendor = HexId(dir / "idVendor");
    const auto product = HexId(dir / "idProduct");
    if (!vendor || !product) {
        return std::nullopt;
    }
    return UsbFacts{dir,      dir.filename().string(),   *vendor,
                    *product, FirstLine(dir / "serial"), FirstLine(dir / "product")};
}

// The first parent of a tty's device that carries USB ids: the usb_device.
std::optional<UsbFacts> UsbParent(fs::path dir, const fs::path& sys) {
    for (; dir.has_relative_path() && dir != sys; dir = dir.parent_path()) {
        if (auto usb = UsbDevice(dir)) {
            return usb;
        }
    }
    return std::nullopt;
}

NodeFacts StatNode(const fs::path& node) {
    struct stat info {};
    if (stat(node.c_str(), &info) != 0) {
        return {};
    }
    return {true, static_cast<unsigned>(info.st_mode & 07777), info.st_uid, info.st_gid};
}

bool IsAdapter(const UsbFacts& usb) {
    return usb.vendorId == AdapterVendorId && usb.productId == AdapterProductId;
}

// Virtual consoles have no device; the legacy serial driver's placeholders have type 0.
std::optional<PortFacts> TtyPort(const fs::path& entry, const CheckRoots& roots) {
    std::error_code error;
    const fs::path device = fs::canonical(entry / "device", error);
    if (error || FirstLine(entry / "type") == "0") {
        return std::nullopt;
    }
    PortFacts port;
    port.name = entry.filename().string();
    port.node = "/dev/" + port.name;
    // Since Linux 6.5 the serial core puts a controller and a port device ("serial-base")
    // between a UART's tty and the device its driver serves.
    fs::path owner = device;
    while (fs::read_symlink(owner / "subsystem", error).filename() == "serial-base") {
        owner = owner.parent_path();
    }
    port.driver = fs::read_symlink(owner / "driver", error).filename().string();
    port.usb = UsbParent(device, fs::canonical(roots.sys, error));
    return port;
}

std::vector<PortFacts> TtyPorts(const CheckRoots& roots) {
    std::vector<PortFacts> ports;
    std::error_code error;
    for (fs::directory_iterator entry(roots.sys / "class" / "tty", error), end;
         !error && entry != end; entry.increment(error)) {
        if (auto port = TtyPort(entry->path(), roots)) {
            ports.push_back(std::move(*port));
        }
    }
    std::sort(ports.begin(), ports.end(), [](const PortFacts& a, const PortFacts& b) {
        return a.name.size() != b.name.size() ? a.name.size() < b.name.size() : a.name < b.name;
    });
    return ports;
}

std::vector<UsbFacts> UnboundAdapters(const CheckRoots& roots,
                                      const std::vector<PortFacts>& ports) {
    std::vector<UsbFacts> adapters;
    std::error_code error;
    for (fs::directory_iterator entry(roots.sys / "bus" / "usb" / "devices", error), end;
         !error && entry != end; entry.increment(error)) {
        std::error_code gone;
        auto usb = UsbDevice(fs::canonical(entry->path(), gone));
        const bool bound = usb && std::any_of(ports.begin(), ports.end(), [&](const auto& port) {
                               return port.usb && port.usb->dir == usb->dir;
                           });
        if (usb && IsAdapter(*usb) && !bound) {
            adapters.push_back(std::move(*usb));
        }
    }
    return adapters;
}

// A path the user named: a listed port under another name, or a port of its own.
void AddNamedPort(const std::string& path, std::vector<PortFacts>& ports) {
    std::error_code error;
    const fs::path resolved = fs::canonical(path, error);
    const std::string node = error ? path : resolved.string();
    if (std::any_of(ports.begin(), ports.end(),
                    [&](const PortFacts& port) { return port.node == node; })) {
        return;
    }
    PortFacts port;
    port.name = fs::path(node).filename().string();
    port.node = node;
    port.named = true;
    port.stat = StatNode(node);
    ports.push_back(std::move(port));
}

void CheckNodes(const CheckRoots& roots, const CheckIdentity& identity, PortFacts& port) {
    const fs::path node = port.named ? fs::path(port.node) : roots.dev / port.name;
    if (!port.named) {
        port.stat = StatNode(node);
    }
    port.mayOpen = port.stat.exists && identity.mayOpen && identity.mayOpen(node);
    port.holders = NodeHolders(port.node, roots.proc);
    std::erase_if(port.holders, [&](const TNodeHolder& h) { return h.Pid == identity.pid; });
}

std::optional<TNodeHolder> FindProcess(const fs::path& proc, const std::string& name) {
    std::error_code error;
    for (fs::directory_iterator entry(proc, error), end; !error && entry != end;
         entry.increment(error)) {
        const std::string pid = entry->path().filename().string();
        if (pid.find_first_not_of("0123456789") == std::string::npos &&
            FirstLine(entry->path() / "comm") == name) {
            return TNodeHolder{std::stoi(pid), name};
        }
    }
    return std::nullopt;
}

std::optional<fs::path> InstalledRule(const CheckRoots& roots) {
    for (const fs::path& folder : roots.ruleFolders) {
        std::error_code error;
        if (fs::is_regular_file(folder / "60-lcdiag.rules", error)) {
            return folder / "60-lcdiag.rules";
        }
    }
    return std::nullopt;
}

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::istringstream in(text);
    for (std::string part; std::getline(in, part, separator);) {
        parts.push_back(part);
    }
    return parts;
}

} // namespace

std::vector<GroupEntry> ParseGroupFile(const std::string& text) {
    std::vector<GroupEntry> groups;
    for (const std::string& line : Split(text, '\n')) {
        const auto fields = Split(line, ':');
        unsigned gid = 0;
        if (fields.size() < 3 || fields[0].empty() ||
            std::from_chars(fields[2].data(), fields[2].data() + fields[2].size(), gid).ec !=
                std::errc()) {
            continue; // comments, NIS "+" lines and damaged entries
        }
        groups.push_back({fields[0], gid,
                          fields.size() > 3 ? Split(fields[3], ',') : std::vector<std::string>{}});
    }
    return groups;
}

CheckIdentity CurrentIdentity() {
    CheckIdentity identity;
    identity.uid = getuid();
    identity.pid = getpid();
    if (const passwd* user = getpwuid(identity.uid)) {
        identity.userName = user->pw_name;
        identity.primaryGid = user->pw_gid;
    }
    std::vector<gid_t> groups(static_cast<std::size_t>(std::max(getgroups(0, nullptr), 0)));
    groups.resize(static_cast<std::size_t>(
        std::max(getgroups(static_cast<int>(groups.size()), groups.data()), 0)));
    identity.sessionGroups.assign(groups.begin(), groups.end());
    identity.sessionGroups.push_back(getegid());
    identity.remote = std::getenv("SSH_CONNECTION") != nullptr;
    identity.mayOpen = [](const fs::path& node) { return access(node.c_str(), R_OK | W_OK) == 0; };
    return identity;
}

ConnectionFacts GatherFacts(const CheckRoots& roots, const CheckIdentity& identity,
                            const std::vector<std::string>& namedPorts) {
    ConnectionFacts facts;
    facts.identity = identity;
    facts.ports = TtyPorts(roots);
    facts.unboundAdapters = UnboundAdapters(roots, facts.ports);
    for (const std::string& path : namedPorts) {
        AddNamedPort(path, facts.ports);
    }
    for (PortFacts& port : facts.ports) {
        CheckNodes(roots, identity, port);
    }
    facts.rule = InstalledRule(roots);
    facts.modemManager = FindProcess(roots.proc, "ModemManager");
    std::ifstream groupFile(roots.groupFile);
    facts.groups = ParseGroupFile(std::string(std::istreambuf_iterator<char>(groupFile), {}));
    return facts;
}

} // namespace lcdiag
