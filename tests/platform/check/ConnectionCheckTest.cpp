#include "platform/check/ConnectionCheck.h"

#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <unistd.h>

namespace lcdiag {
namespace {

namespace fs = std::filesystem;

void Write(const fs::path& file, const std::string& text) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << text << '\n';
}

void Link(const fs::path& target, const fs::path& link) {
    fs::create_directories(link.parent_path());
    fs::create_symlink(target, link);
}

// A machine in a temporary folder: sysfs, device nodes, processes, rule folders, group file.
// Its nodes belong to the group the test may give them; the user is somebody else.
class FakeMachine {
public:
    FakeMachine() {
        std::string pattern = (fs::temp_directory_path() / "lcdiag-check-XXXXXX").string();
        root = mkdtemp(pattern.data());
        roots = {root / "sys",
                 root / "dev",
                 root / "proc",
                 {root / "etc", root / "lib"},
                 root / "group"};
        identity = {
            getuid() + 1000, 4242, "tech", {}, false, 99, [this](const fs::path&) {
                        return acl; }};
        fs::create_directories(root / "sys" / "class" / "tty");
    }
    ~FakeMachine() { fs::remove_all(root); }

    void Tty(const std::string& name, const fs::path& device, const std::string& driver,
             const std::string& type = "4") {
        const fs::path dir = roots.sys / "devices" / device;
        fs::create_directories(dir);
        Link(roots.sys / "bus" / "drivers" / driver, dir / "driver");
        Link(dir, roots.sys / "class" / "tty" / name / "device");
        Write(roots.sys / "class" / "tty" / name / "type", type);
        Write(roots.dev / name, "");
        if (geteuid() == 0 && chown((roots.dev / name).c_str(), 0, NodeGid) != 0) {
            ADD_FAILURE() << "chown";
        }
        fs::permissions(roots.dev / name, fs::perms(0660));
    }
    fs::path Usb(const std::string& name, const std::string& product = "9e2b") {
        const fs::path dir = roots.sys / "devices" / "usb1" / name;
        Write(dir / "idVendor", "0403");
        Write(dir / "idProduct", product);
        Write(dir / "serial", "FT12AB");
        Write(dir / "product", "Light curtain adapter");
        Link(dir, roots.sys / "bus" / "usb" / "devices" / name);
        return fs::path("usb1") / name / (name + ":1.0");
    }
    void Adapter() { Tty("ttyUSB0", Usb("1-2") / "ttyUSB0", "ftdi_sio"); }
    void Process(int pid, const std::string& name, const std::string& node = "") {
        Write(roots.proc / std::to_string(pid) / "comm", name);
        if (!node.empty()) {
            Link(node, roots.proc / std::to_string(pid) / "fd" / "3");
        }
    }
    void Rule() { Write(roots.ruleFolders[1] / "60-lcdiag.rules", "# rules"); }
    // Builds the machine from words: what is plugged in, installed, running, granted.
    void Build(const std::string& recipe) {
        const auto has = [&](const char* word) { return recipe.find(word) != std::string::npos; };
        const std::map<std::string, std::function<void()>> steps = {
            {"adapter", [&] { Adapter(); }},
            {"rule", [&] { Rule(); }},
            {"unbound", [&] { Usb("1-2"); }},
            {"converter", [&] { Tty("ttyUSB3", Usb("1-3", "6001") / "ttyUSB3", "ftdi_sio"); }},
            {"16550", [&] { Uart(); }},
            {"modemmanager", [&] { Process(300, "ModemManager"); }},
            {"minicom", [&] { Process(4711, "minicom", "/dev/ttyUSB0"); }},
            {"acl", [&] { acl = true; }}};
        for (const auto& [word, step] : steps) {
            if (has(word.c_str())) {
                step();
            }
        }
        Process(99, "lcdiag", "/dev/ttyUSB0"); // the check itself
        Write(roots.groupFile, "root:x:0:\ndialout:x:" + std::to_string(NodeGid) + ":other" +
                                   (has("member") ? ",tech" : ""));
        identity.sessionGroups =
            has("session") ? std::vector<unsigned>{NodeGid} : std::vector<unsigned>{};
    }
    // A 16550 behind the serial core's controller and port devices (Linux 6.5 and later).
    void Uart() {
        const fs::path pnp = roots.sys / "devices" / "pnp0" / "00:01";
        Tty("ttyS0", "pnp0/00:01/00:01:0/00:01:0.0", "port");
        Link(roots.sys / "bus" / "serial-base", pnp / "00:01:0" / "subsystem");
        Link(roots.sys / "bus" / "serial-base", pnp / "00:01:0" / "00:01:0.0" / "subsystem");
        Link(roots.sys / "bus" / "drivers" / "serial", pnp / "driver");
    }

    CheckReport Check(const std::vector<std::string>& named = {}) {
        return EvaluateFacts(GatherFacts(roots, identity, named));
    }

    const unsigned NodeGid = geteuid() == 0 ? 20 : getegid();
    fs::path root;
    CheckRoots roots;
    CheckIdentity identity;
    bool acl = false;
};

// Whether a section whose title starts with title holds a finding of that kind whose text
// and fix contain the expected parts (an expected empty fix: none at all).
bool Contains(const CheckReport& report, const std::string& title, const Finding& expected) {
    for (const CheckSection& section : report.sections) {
        for (const Finding& f : section.findings) {
            if (section.title.starts_with(title) && f.kind == expected.kind &&
                f.text.find(expected.text) != std::string::npos &&
                (expected.fix.empty() ? f.fix.empty()
                                      : f.fix.find(expected.fix) != std::string::npos)) {
                return true;
            }
        }
    }
    return false;
}

const std::string AdapterTitle =
    "Port /dev/ttyUSB0 (driver ftdi_sio, USB 0403:9e2b, serial FT12AB, \"Light curtain adapter\")";
const std::string InstallRule = "sudo install -m 644 packaging/udev/60-lcdiag.rules";
using K = FindingKind;

TEST(ConnectionCheckTest, EveryFindingWithItsFix) {
    struct Case {
        const char* machine;
        std::string title;
        Finding expected;
        int faults;
        std::vector<std::string> named = {};
    };
    const std::string usb = "USB adapter 1-2 (USB 0403:9e2b, serial FT12AB";
    const Case cases[] = {
        {"adapter rule session", AdapterTitle, {K::Ok, "the device's own USB adapter", ""}, 0},
        {"adapter rule session", AdapterTitle, {K::Ok, "you may open it (group dialout)", ""}, 0},
        {"", "Ports", {K::Fault, "no serial port and no USB adapter", "--simulate receiver"}, 1},
        {"adapter rule",
         AdapterTitle,
         {K::Fault, "not in its group dialout", "-aG dialout $USER"},
         1},
        {"adapter rule member",
         AdapterTitle,
         {K::Fault, "in group dialout per /etc/group", "log out and in again"},
         1},
        {"adapter rule acl", AdapterTitle, {K::Ok, "an access list allows it", ""}, 0},
        {"adapter rule session minicom",
         AdapterTitle,
         {K::Fault, "held open by minicom (pid 4711)", "close minicom, or: kill 4711"},
         1},
        {"adapter session modemmanager",
         AdapterTitle,
         {K::Fault, "ModemManager (pid 300) runs and may probe it", InstallRule},
         1},
        {"adapter rule session modemmanager", AdapterTitle, {K::Ok, "leaves it alone", ""}, 0},
        {"unbound", usb, {K::Fault, "no tty is bound", InstallRule}, 1},
        {"unbound rule",
         usb,
         {K::Fault, "not applied to it yet", "unplug and plug the adapter"},
         1},
        {"adapter rule session", "udev rule", {K::Ok, "installed: ", ""}, 0},
        {"adapter session", "udev rule", {K::Note, "is not installed", InstallRule}, 0},
        {"16550 session",
         "Port /dev/ttyS0 (driver serial)",
         {K::Ok, "a serial port of the PC", ""},
         0},
        {"converter session",
         "Port /dev/ttyUSB3 (driver ftdi_sio, USB 0403:6001",
         {K::Note, "not the device's own adapter", ""},
         0},
        {"16550 session",
         "Port /nowhere/ttyX (named",
         {K::Fault, "there is no such port", "lcdiag-sim prints"},
         1,
         {"/nowhere/ttyX"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.machine + (": " + c.expected.text));
        FakeMachine machine;
        machine.Build(c.machine);
        const CheckReport report = machine.Check(c.named);
        EXPECT_TRUE(Contains(report, c.title, c.expected)) << [&] {
            std::ostringstream text;
            PrintReport(report, text);
            return text.str();
        }();
        EXPECT_EQ(report.Faults(), c.faults);
    }
}

TEST(ConnectionCheckTest, ListsRealPortsOnlyAndNamedPortsOnce) {
    FakeMachine machine;
    machine.Tty("ttyS0", "pnp0/00:01", "serial8250");
    machine.Tty("ttyS1", "platform/serial8250", "serial8250", "0");       // a placeholder
    fs::create_directories(machine.roots.sys / "class" / "tty" / "tty1"); // a virtual console
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master) | unlockpt(master), 0);
    const std::string pty = ptsname(master);
    machine.Process(4711, "minicom", pty);
    machine.identity.mayOpen = [](const fs::path& node) { return access(node.c_str(), W_OK) == 0; };

    const CheckReport report = machine.Check({pty, "/dev/ttyS0"});
    std::vector<std::string> titles;
    for (const CheckSection& section : report.sections) {
        titles.push_back(section.title);
    }
    EXPECT_EQ(titles, (std::vector<std::string>{"Port /dev/ttyS0 (driver serial8250)",
                                                "Port " + pty + " (pseudo-terminal)",
                                                "udev rule and ModemManager"}));
    EXPECT_TRUE(Contains(report, "Port " + pty, {K::Note, "breaks do not", ""}));
    EXPECT_TRUE(Contains(report, "Port " + pty, {K::Fault, "held open by minicom", "kill 4711"}));
    close(master);
}

TEST(ConnectionCheckTest, PrintsWrappedLinesWithTheirFixesAndASummary) {
    const std::string a(60, 'a'), b(40, 'b'), x(50, 'x'), c(50, 'c');
    CheckReport report{"tech (uid 1000), session groups tech", {}};
    report.sections.push_back({"Port /dev/ttyUSB0 (driver ftdi_sio)",
                               {{K::Ok, "the device's own USB adapter", ""},
                                {K::Fault, "held open by minicom (pid 4711)", "kill 4711"},
                                {K::Note, a + " " + b, x + " " + c + " &&\ny"}}});
    std::ostringstream out;
    PrintReport(report, out);
    const std::string expected = "lcdiag connection check\n"
                                 "User tech (uid 1000), session groups tech\n\n"
                                 "Port /dev/ttyUSB0 (driver ftdi_sio)\n"
                                 "  ok    the device's own USB adapter\n"
                                 "  FAULT held open by minicom (pid 4711)\n"
                                 "        fix: kill 4711\n"
                                 "  note  @a\n"
                                 "        @b\n"
                                 "        fix: @x\n"
                                 "             @c &&\n"
                                 "             y\n\n"
                                 "Summary: 1 problem found.\n";
    std::string text = out.str();
    for (const std::string& word : {a, b, x, c}) {
        text.replace(text.find(word), word.size(), "@" + word.substr(0, 1));
    }
    EXPECT_EQ(text, expected);
}

} // namespace
} // namespace lcdiag
