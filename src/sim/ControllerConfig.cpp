#include "sim/ControllerConfig.h"

#include <algorithm>

namespace lcdiag::sim {

std::string Firmware::Digits() const {
    const std::string digits = std::to_string(std::clamp(version, 0, 999));
    return std::string(3 - digits.size(), '0') + digits;
}

std::string Firmware::Text() const {
    const std::string digits = Digits();
    return digits.substr(0, 1) + "." + digits.substr(1);
}

} // namespace lcdiag::sim
