#include "sim/ControllerConfig.h"

#include <algorithm>

namespace lcdiag::sim {

std::string Firmware::Digits() const {
    const std::string digits = std::to_string(std::clamp(version, 0, 999));
    return std::string(3 - digits.size(), '0') + digits;
}

} // namespace lcdiag::sim
