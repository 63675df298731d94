#pragma once

#include "sim/ControllerConfig.h"

#include <string>
#include <vector>

namespace lcdiag::sim {

// The command line of lcdiag-sim.
struct SimOptions {
    ControllerConfig config;
    bool help = false;
    std::string error; // not empty when the command line could not be read
};

SimOptions ParseSimOptions(const std::vector<std::string>& arguments);

// What lcdiag-sim does, how it is used and what it cannot do.
const char* SimUsage();

} // namespace lcdiag::sim
