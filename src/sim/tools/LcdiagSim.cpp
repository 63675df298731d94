// lcdiag-sim: a simulated light curtain controller on a pseudo-terminal, in real time.
#include "sim/SimController.h"
#include "sim/SimOptions.h"
#include "sim/tools/PtyLink.h"
#include "sim/tools/PtyServer.h"

#include <csignal>
#include <iostream>
#include <optional>

namespace {

using namespace lcdiag;
using namespace lcdiag::sim;

volatile std::sig_atomic_t stopRequested = 0;

void RequestStop(int) {
    stopRequested = 1;
}

} // namespace

int main(int argc, char** argv) {
    const SimOptions options = ParseSimOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (options.help) {
        std::cout << SimUsage();
        return 0;
    }
    if (!options.error.empty()) {
        std::cerr << "lcdiag-sim: " << options.error << "\n\n" << SimUsage();
        return 2;
    }
    std::string error;
    std::optional<PtyLink> link = PtyLink::Create(error);
    if (!link) {
        std::cerr << "lcdiag-sim: no pseudo-terminal: " << error << '\n';
        return 1;
    }
    std::signal(SIGINT, RequestStop);
    std::signal(SIGTERM, RequestStop);
    std::cout << link->SlavePath() << std::endl;
    const ControllerConfig& config = options.config;
    std::cerr << "lcdiag-sim: " << (config.unit == Unit::Receiver ? "receiver" : "emitter")
              << " controller, " << (config.layout == Layout::Long ? "long" : "short")
              << " layout, firmware " << config.firmware.typeDigit << " " << config.firmware.Text()
              << ", device type " << config.deviceType << "; Ctrl+C ends\n";
    PtyServer server(*link, config);
    while (stopRequested == 0) {
        server.Serve();
    }
    return 0;
}
