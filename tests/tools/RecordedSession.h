#pragma once

#include "core/files/ConfigFile.h"
#include "sim/ControllerConfig.h"

#include <cstdint>
#include <vector>

namespace lcdiag::test {

// A session of the program's connection dialogue with a simulated unit, recorded through the
// recording tap as the program records it: the identification, the unit's report, a few
// cycles with a fault, its customer record written back, the port closed.
struct RecordedSession {
    std::vector<std::uint8_t> recording;
    ConnectedUnit unit; // the unit as the dialogue read it, for its configuration file
};

RecordedSession RecordSession(sim::Unit unit);

} // namespace lcdiag::test
