#pragma once

#include "core/files/ConfigFile.h"
#include "sim/ControllerConfig.h"

#include <cstdint>
#include <vector>

namespace lcdiag::test {

// A session of the program's connection dialogue with a simulated receiver, recorded through
// the recording tap as the program records it: the identification, the unit's report, a few
// cycles with a fault, a customer record written back and read back, the port closed.
struct RecordedSession {
    std::vector<std::uint8_t> recording;
    ConnectedUnit unit; // the unit as the dialogue read it, for its configuration file
};

RecordedSession RecordReceiverSession();

} // namespace lcdiag::test
