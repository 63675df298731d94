#pragma once

#include "platform/check/ConnectionFacts.h"

#include <ostream>
#include <string>
#include <vector>

namespace lcdiag {

// Why a device does not answer, as far as the PC's side can tell: for every port and for the
// device's USB adapter, whether it is there, whether this user may open it, who else holds it,
// whether ModemManager may probe it and whether the udev rule is in place.

enum class FindingKind { Ok, Note, Fault };

struct Finding {
    FindingKind kind = FindingKind::Ok;
    std::string text;
    std::string fix; // the one command or step that mends a problem; empty for the rest

    friend bool operator==(const Finding&, const Finding&) = default;
};

struct CheckSection {
    std::string title; // "Port /dev/ttyUSB0 (driver ftdi_sio, USB 0403:9e2b, ...)"
    std::vector<Finding> findings;
};

struct CheckReport {
    std::string user; // "root (uid 0), groups root"
    std::vector<CheckSection> sections;

    int Faults() const;
};

CheckReport EvaluateFacts(const ConnectionFacts& facts);

// Plain text for a terminal, lines of at most 100 characters.
void PrintReport(const CheckReport& report, std::ostream& out);

// The check for this machine and user, printed; ports are paths named on the command line.
// Returns the program's exit code: 0 without a fault, 1 with one.
int RunConnectionCheck(std::ostream& out, const std::vector<std::string>& ports = {});

} // namespace lcdiag
