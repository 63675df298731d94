#include "platform/check/ConnectionCheck.h"

#include "platform/serial/UsbAdapter.h"

#include <algorithm>
#include <cstdio>
#include <sstream>

namespace lcdiag {
namespace {

constexpr std::size_t LineWidth = 100;
constexpr const char* RuleName = "60-lcdiag.rules";
constexpr const char* InstallRule =
    "sudo install -m 644 packaging/udev/60-lcdiag.rules /etc/udev/rules.d/ &&\n"
    "sudo udevadm control --reload, then unplug and plug the adapter";

Finding Ok(std::string text) {
    return {FindingKind::Ok, std::move(text), ""};
}
Finding Note(std::string text, std::string fix = "") {
    return {FindingKind::Note, std::move(text), std::move(fix)};
}
Finding Fault(std::string text, std::string fix) {
    return {FindingKind::Fault, std::move(text), std::move(fix)};
}

std::string Hex4(std::uint16_t value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04x", value);
    return text;
}

std::string Join(const std::vector<std::string>& parts, const std::string& separator) {
    std::string joined;
    for (const std::string& part : parts) {
        joined += (joined.empty() ? "" : separator) + part;
    }
    return joined;
}

bool IsAdapter(const PortFacts& port) {
    return port.usb && port.usb->vendorId == AdapterVendorId &&
           port.usb->productId == AdapterProductId;
}

bool IsPty(const PortFacts& port) {
    return port.node.starts_with("/dev/pts/");
}

std::vector<std::string> UsbParts(const UsbFacts& usb) {
    std::vector<std::string> parts{"USB " + Hex4(usb.vendorId) + ":" + Hex4(usb.productId)};
    if (!usb.serial.empty()) {
        parts.push_back("serial " + usb.serial);
    }
    if (!usb.product.empty()) {
        parts.push_back('"' + usb.product + '"');
    }
    return parts;
}

std::string PortTitle(const PortFacts& port) {
    std::vector<std::string> parts;
    if (!port.driver.empty()) {
        parts.push_back("driver " + port.driver);
    }
    if (port.usb) {
        for (std::string& part : UsbParts(*port.usb)) {
            parts.push_back(std::move(part));
        }
    }
    if (port.named) {
        parts.push_back(IsPty(port) ? "pseudo-terminal" : "named on the command line");
    }
    return "Port " + port.node + (parts.empty() ? "" : " (" + Join(parts, ", ") + ")");
}

const GroupEntry* Group(const ConnectionFacts& facts, unsigned gid) {
    const auto found = std::find_if(facts.groups.begin(), facts.groups.end(),
                                    [gid](const GroupEntry& group) { return group.gid == gid; });
    return found == facts.groups.end() ? nullptr : &*found;
}

std::string GroupName(const ConnectionFacts& facts, unsigned gid) {
    const GroupEntry* group = Group(facts, gid);
    return group ? group->name : "gid " + std::to_string(gid);
}

bool InSession(const CheckIdentity& identity, unsigned gid) {
    const auto& groups = identity.sessionGroups;
    return std::find(groups.begin(), groups.end(), gid) != groups.end();
}

// Listed in the group file (or the user's own group): the next login will have it.
bool ListedIn(const ConnectionFacts& facts, unsigned gid) {
    const GroupEntry* group = Group(facts, gid);
    const auto& user = facts.identity.userName;
    return facts.identity.primaryGid == gid ||
           (group &&
            std::find(group->members.begin(), group->members.end(), user) != group->members.end());
}

// The reason the mode bits give, as the kernel weighs them: owner, else group, else others.
std::optional<std::string> ModeGrants(const PortFacts& port, const ConnectionFacts& facts) {
    const NodeFacts& node = port.stat;
    const auto readWrite = [&](int shift) { return ((node.mode >> shift) & 06) == 06; };
    if (node.uid == facts.identity.uid) {
        return readWrite(6) ? std::optional<std::string>("you own it") : std::nullopt;
    }
    if (InSession(facts.identity, node.gid)) {
        return readWrite(3) ? std::optional("group " + GroupName(facts, node.gid)) : std::nullopt;
    }
    return readWrite(0) ? std::optional<std::string>("open to everybody") : std::nullopt;
}

// Why this user may open the port, or nothing.
std::optional<std::string> Grant(const PortFacts& port, const ConnectionFacts& facts) {
    if (facts.identity.uid == 0) {
        return " (you run as root)";
    }
    if (const auto reason = ModeGrants(port, facts)) {
        return " (" + *reason + ")";
    }
    if (port.mayOpen) {
        return std::optional<std::string>(": an access list allows it (the seat's uaccess)");
    }
    return std::nullopt;
}

Finding Refusal(const PortFacts& port, const ConnectionFacts& facts) {
    const NodeFacts& node = port.stat;
    const std::string group = GroupName(facts, node.gid);
    if (IsPty(port)) {
        return Fault("you may not open it: the pseudo-terminal belongs to uid " +
                         std::to_string(node.uid),
                     "start lcdiag-sim as the user who runs lcdiag");
    }
    if ((node.mode & 060) != 060 || node.gid == 0) {
        char mode[8];
        std::snprintf(mode, sizeof mode, "%03o", node.mode);
        return Fault("you may not open it: mode " + std::string(mode) + ", owner uid " +
                         std::to_string(node.uid) + ", group " + group,
                     "sudo chgrp dialout " + port.node + " && sudo chmod 660 " + port.node);
    }
    if (ListedIn(facts, node.gid)) {
        return Fault("you may not open it: you are in group " + group +
                         " per /etc/group, but this session was started before you joined it",
                     "log out and in again");
    }
    return Fault("you may not open it: you are not in its group " + group,
                 "sudo usermod -aG " + group + " $USER, then log out and in again");
}

using PortRule = void (*)(const PortFacts&, const ConnectionFacts&, std::vector<Finding>&);

void WhatItIs(const PortFacts& port, const ConnectionFacts&, std::vector<Finding>& out) {
    if (port.named && !port.stat.exists) {
        return; // said by the access rule
    }
    if (port.named) {
        out.push_back(Note(IsPty(port) ? "a pseudo-terminal: bytes pass, breaks do not, so "
                                         "settings cannot be written through it"
                                       : "not a port the kernel lists as a serial port"));
    } else if (IsAdapter(port)) {
        out.push_back(Ok("the device's own USB adapter"));
    } else if (port.usb) {
        out.push_back(Note("a USB serial converter, not the device's own adapter: choose it "
                           "by its name under \"Choose port\", not as \"USB\""));
    } else {
        out.push_back(Ok("a serial port of the PC"));
    }
}

void Access(const PortFacts& port, const ConnectionFacts& facts, std::vector<Finding>& out) {
    if (!port.stat.exists) {
        out.push_back(port.named ? Fault("there is no such port",
                                         "check the path; lcdiag-sim prints the one it serves")
                                 : Fault("the kernel lists the port, but its node is missing",
                                         "sudo udevadm trigger --subsystem-match=tty"));
    } else if (const auto reason = Grant(port, facts)) {
        out.push_back(Ok("you may open it" + *reason));
    } else {
        out.push_back(Refusal(port, facts));
        if (IsAdapter(port) && facts.identity.remote) {
            out.push_back(Note("the seat's access that " + std::string(RuleName) +
                               " grants goes to the user logged in at this machine, never to "
                               "an SSH session"));
        }
    }
}

void Holders(const PortFacts& port, const ConnectionFacts& facts, std::vector<Finding>& out) {
    if (!port.stat.exists) {
        return;
    }
    if (port.holders.empty()) {
        // Another user's program would matter only once the port is open to this user.
        const bool hidden = facts.identity.uid != 0 && Grant(port, facts);
        out.push_back(Ok(facts.identity.uid == 0 ? "no other program holds it open"
                         : hidden ? "no other program of yours holds it open (other users' "
                                    "programs are not visible to you)"
                                  : "no other program of yours holds it open"));
        return;
    }
    std::vector<std::string> names, pids;
    for (const TNodeHolder& holder : port.holders) {
        names.push_back(holder.Name);
        pids.push_back(std::to_string(holder.Pid));
    }
    out.push_back(Fault("held open by " + HoldersText(port.holders),
                        "close " + Join(names, " and ") + ", or: kill " + Join(pids, " ")));
}

void ModemManagerProbe(const PortFacts& port, const ConnectionFacts& facts,
                       std::vector<Finding>& out) {
    if (!facts.modemManager || !port.usb || !port.stat.exists) {
        return; // it leaves the PC's own serial ports alone unless told otherwise
    }
    const std::string who = "ModemManager (pid " + std::to_string(facts.modemManager->Pid) + ")";
    if (IsAdapter(port) && facts.rule) {
        out.push_back(Ok(who + " runs but leaves it alone (" + RuleName + ")"));
    } else if (IsAdapter(port)) {
        out.push_back(Fault(who + " runs and may probe it with modem commands the device must "
                                  "never see",
                            InstallRule));
    } else {
        out.push_back(Note(who + " runs and may probe it with modem commands",
                           "sudo systemctl stop ModemManager"));
    }
}

constexpr PortRule PortRules[] = {WhatItIs, Access, Holders, ModemManagerProbe};

CheckSection UnboundAdapter(const UsbFacts& usb, const ConnectionFacts& facts) {
    CheckSection section{
        "USB adapter " + usb.sysName + " (" + Join(UsbParts(usb), ", ") + ") without a port", {}};
    if (facts.rule) {
        section.findings.push_back(Fault("no tty is bound to the adapter: the udev rule is "
                                         "installed but was not applied to it yet",
                                         "unplug and plug the adapter in again"));
    } else {
        section.findings.push_back(Fault("no tty is bound to the adapter: the kernel's ftdi_sio "
                                         "driver knows its product id only from the udev rule",
                                         InstallRule));
    }
    return section;
}

CheckSection System(const ConnectionFacts& facts) {
    CheckSection section{"udev rule and ModemManager", {}};
    if (facts.rule) {
        section.findings.push_back(
            Ok("the udev rule for the device's USB adapter is installed: " + facts.rule->string()));
    } else {
        section.findings.push_back(Note("the udev rule " + std::string(RuleName) +
                                            " for the device's USB adapter is not installed",
                                        InstallRule));
    }
    if (facts.modemManager) {
        section.findings.push_back(
            Note("ModemManager runs (pid " + std::to_string(facts.modemManager->Pid) + ")"));
    } else {
        section.findings.push_back(Ok("ModemManager does not run"));
    }
    return section;
}

std::string UserLine(const ConnectionFacts& facts) {
    const CheckIdentity& identity = facts.identity;
    std::vector<std::string> groups;
    for (const unsigned gid : identity.sessionGroups) {
        const std::string name = GroupName(facts, gid);
        if (std::find(groups.begin(), groups.end(), name) == groups.end()) {
            groups.push_back(name);
        }
    }
    return (identity.userName.empty() ? "you" : identity.userName) + " (uid " +
           std::to_string(identity.uid) + "), session groups " + Join(groups, ", ") +
           (identity.remote ? ", logged in over SSH" : "");
}

// Greedy word wrap; the first line starts with first, the others with rest. A line break in
// the text is kept (it parts a command where a shell continues it).
void Wrap(std::ostream& out, const std::string& text, const std::string& first,
          const std::string& rest) {
    std::istringstream paragraphs(text);
    std::string line = first;
    for (std::string paragraph; std::getline(paragraphs, paragraph);) {
        std::istringstream words(paragraph);
        bool empty = true;
        for (std::string word; words >> word;) {
            if (!empty && line.size() + 1 + word.size() > LineWidth) {
                out << line << '\n';
                line = rest;
                empty = true;
            }
            line += (empty ? "" : " ") + word;
            empty = false;
        }
        out << line << '\n';
        line = rest;
    }
}

const char* Label(FindingKind kind) {
    switch (kind) {
    case FindingKind::Ok:
        return "  ok    ";
    case FindingKind::Note:
        return "  note  ";
    case FindingKind::Fault:
        return "  FAULT ";
    }
    return "        ";
}

} // namespace

int CheckReport::Faults() const {
    int faults = 0;
    for (const CheckSection& section : sections) {
        faults += static_cast<int>(std::count_if(
            section.findings.begin(), section.findings.end(),
            [](const Finding& finding) { return finding.kind == FindingKind::Fault; }));
    }
    return faults;
}

CheckReport EvaluateFacts(const ConnectionFacts& facts) {
    CheckReport report{UserLine(facts), {}};
    for (const PortFacts& port : facts.ports) {
        CheckSection section{PortTitle(port), {}};
        for (const PortRule rule : PortRules) {
            rule(port, facts, section.findings);
        }
        report.sections.push_back(std::move(section));
    }
    for (const UsbFacts& adapter : facts.unboundAdapters) {
        report.sections.push_back(UnboundAdapter(adapter, facts));
    }
    if (report.sections.empty()) {
        report.sections.push_back(
            {"Ports",
             {Fault("no serial port and no USB adapter found",
                    "plug in the device's USB adapter; to try lcdiag without a device:\n"
                    "lcdiag --simulate receiver, or \"Simulated receiver\" in the port menu")}});
    }
    report.sections.push_back(System(facts));
    return report;
}

void PrintReport(const CheckReport& report, std::ostream& out) {
    out << "lcdiag connection check\n";
    Wrap(out, report.user, "User ", "  ");
    for (const CheckSection& section : report.sections) {
        out << '\n';
        Wrap(out, section.title, "", "  ");
        for (const Finding& finding : section.findings) {
            Wrap(out, finding.text, Label(finding.kind), "        ");
            if (!finding.fix.empty()) {
                Wrap(out, finding.fix, "        fix: ", "             ");
            }
        }
    }
    const int faults = report.Faults();
    out << "\nSummary: "
        << (faults == 0   ? std::string("no problem found.")
            : faults == 1 ? std::string("1 problem found.")
                          : std::to_string(faults) + " problems found.")
        << '\n';
}

int RunConnectionCheck(std::ostream& out, const std::vector<std::string>& ports) {
    const CheckReport report = EvaluateFacts(GatherFacts(CheckRoots{}, CurrentIdentity(), ports));
    PrintReport(report, out);
    return report.Faults() == 0 ? 0 : 1;
}

} // namespace lcdiag
