#include "sim/DeviceTypes.h"

#include <algorithm>
#include <array>

namespace lcdiag::sim {

namespace {

// code, beams (min, max, typical), resolution, pitch, floating beams, cyclic operation
constexpr std::array<DeviceTypeInfo, 8> Types{{
    {1, 8, 192, 32, 14, 10, 4, true},
    {2, 4, 104, 20, 30, 20, 2, true},
    {3, 4, 4, 4, 300, 300, 1, false},
    {4, 3, 3, 3, 400, 400, 1, false},
    {5, 1, 2, 2, 500, 500, 0, false},
    {6, 4, 50, 12, 50, 40, 2, true},
    {7, 1, 1, 1, 500, 500, 0, false},
    {8, 11, 74, 16, 35, 30, 0, true},
}};

constexpr int ShortLayoutBeams = 144;

std::string Padded(int value, int digits) {
    std::string text = std::to_string(value);
    return std::string(
               static_cast<std::size_t>(std::max(0, digits - static_cast<int>(text.size()))), '0') +
           text;
}

} // namespace

const DeviceTypeInfo& DeviceTypeOf(int code) {
    return Types[static_cast<std::size_t>(code >= 1 && code <= 8 ? code - 1 : 0)];
}

int ResolvedBeamCount(const ControllerConfig& config) {
    const DeviceTypeInfo& type = DeviceTypeOf(config.deviceType);
    const int wanted = config.beamCount == 0 ? type.typicalBeams : config.beamCount;
    const int most =
        config.layout == Layout::Short ? std::min(type.maxBeams, ShortLayoutBeams) : type.maxBeams;
    return std::clamp(wanted, type.minBeams, most);
}

int FieldHeight(int code, int beams) {
    switch (code) {
    case 1:
        return 10 * beams + 10;
    case 2:
        return 20 * beams + 10;
    case 3:
        return 900;
    case 4:
        return 800;
    case 6:
        return 40 * beams + 10;
    case 8:
        return 320 * (beams / 11) + 160 * ((beams % 11) / 5) + 80 * (((beams % 11) % 5) / 3) + 10;
    default:
        return 500;
    }
}

std::string Designation(Unit unit, int code, int beams, int typeDigit) {
    const std::string variant = typeDigit >= 2 ? "2" : "1";
    const std::string side = unit == Unit::Receiver ? "R" : "T";
    const DeviceTypeInfo& type = DeviceTypeOf(code);
    switch (type.code) {
    case 1:
    case 2:
    case 6:
        return "Z4-" + side + "U-" + variant + std::to_string(type.code) + "-" +
               std::to_string(FieldHeight(type.code, beams)) + (type.code == 1 ? "-1" : "-4");
    case 8:
        return "DVX730-" + std::string(unit == Unit::Receiver ? "R" : "E") + "-" +
               Padded(FieldHeight(type.code, beams), 4) + "-35";
    default:
        break;
    }
    if (type.code == 7 || beams == 1) {
        return "MSZ4-TRU-" + variant + "0-500-2";
    }
    return "MSZ4-" + side + "U-" + variant + std::to_string(8 - type.code) + "-" +
           std::to_string(type.resolution) + "-2";
}

} // namespace lcdiag::sim
