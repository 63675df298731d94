#include "core/device/DeviceType.h"

#include "core/device/Decimal.h"
#include "core/device/ModuleDataTable.h"

#include <algorithm>
#include <array>

namespace lcdiag {

namespace device_type {

namespace {

struct Geometry {
    int resolution;
    int pitch;
    int maxBeams;
    int maxBeamsHalf;
    int columns;
    std::array<int, 3> groups; // beams per group at zoom levels 0 to 2
};

// Row 0 stands for every unknown type.
constexpr std::array<Geometry, 9> Geometries{{
    {0, 0, 192, 96, 2, {0, 0, 0}},
    {14, 10, 192, 96, 2, {32, 16, 8}},
    {30, 20, 104, 52, 2, {16, 8, 4}},
    {300, 300, 4, 4, 1, {4, 0, 0}},
    {400, 400, 3, 3, 1, {3, 0, 0}},
    {500, 500, 2, 2, 1, {2, 0, 0}},
    {50, 40, 50, 50, 1, {8, 4, 2}},
    {500, 500, 1, 1, 1, {1, 0, 0}},
    {35, 30, 74, 74, 1, {11, 5, 3}},
}};

const Geometry& Of(int type) {
    return Geometries[static_cast<std::size_t>(type >= 1 && type <= 8 ? type : 0)];
}

int AsByte(int beamCount) {
    return std::clamp(beamCount, 0, 255);
}

} // namespace

int Resolution(int type) {
    return Of(type).resolution;
}

int BeamPitch(int type) {
    return Of(type).pitch;
}

int FieldHeight(int type, int beamCount) {
    const int n = AsByte(beamCount);
    switch (type) {
    case 1:
        return 10 * n + 10;
    case 2:
        return 20 * n + 10;
    case 3:
        return 900;
    case 4:
        return 800;
    case 5:
    case 7:
        return 500;
    case 6:
        return 40 * n + 10;
    case 8:
        // Modules of 11 beams (320 mm), then of 5 (160 mm), then of 3 (80 mm).
        return 320 * (n / 11) + 160 * (n % 11 / 5) + 80 * (n % 11 % 5 / 3) + 10;
    default:
        return 0;
    }
}

int Beams(int type, int beamCount) {
    switch (type) {
    case 3:
        return 4;
    case 4:
        return 3;
    case 7:
        return 1;
    case 1:
    case 2:
    case 5:
    case 6:
    case 8:
        return AsByte(beamCount);
    default:
        return 0;
    }
}

int MaxBeams(int type) {
    return Of(type).maxBeams;
}

int MaxBeamsHalf(int type) {
    return Of(type).maxBeamsHalf;
}

int BeamColumns(int type) {
    return Of(type).columns;
}

int BeamGroups(int type, int zoom) {
    return zoom >= 0 && zoom <= 2 ? Of(type).groups[static_cast<std::size_t>(zoom)] : 0;
}

bool IsLightGrid(int type) {
    return type == 3 || type == 4 || type == 5 || type == 7;
}

std::string ResolutionText(int type) {
    return std::to_string(Resolution(type)) + " mm";
}

std::string ProtectionFieldText(int type, int beamCount, std::string_view beamWord) {
    std::string text = std::to_string(FieldHeight(type, beamCount)) + " mm";
    if (type == 5) {
        text += " - " + std::to_string(AsByte(beamCount)) + " " + std::string(beamWord);
    } else if (type == 7) {
        text += " - 1 " + std::string(beamWord);
    }
    return text;
}

int NamingVariant(int firmwareTypeDigit) {
    return firmwareTypeDigit == 2 || firmwareTypeDigit == 3 ? 2 : 1;
}

} // namespace device_type

namespace {

using namespace device_type;

// What a type name is made of.
struct Model {
    ControllerType unit;
    int variant;
    int type;
    int beams;

    bool Curtain() const { return type == 1 || type == 2 || type == 6; }
    bool Grid() const { return type >= 3 && type <= 5; }
    // The one-beam type-5 grid carries emitter and receiver in one unit.
    bool Combined() const { return type == 5 && beams == 1; }
    bool KnownUnit() const {
        return unit == ControllerType::Receiver || unit == ControllerType::Emitter;
    }
};

// Scheme 1 ("Z4-RU-11-160-1") and, without the hyphen after the unit, scheme 3
// ("TOBNZ4RU11-160-1").
std::string PrefixedName(const Model& m, bool compact) {
    std::string name = compact ? "TOBNZ4" : m.Curtain() ? "Z4-" : m.Grid() ? "MSZ4-" : "";
    const bool named = !name.empty() && m.KnownUnit() && (m.variant == 1 || m.variant == 2) &&
                       (m.Curtain() || m.Grid());
    if (!named) {
        return {};
    }
    name += m.Combined() ? "TRU" : m.unit == ControllerType::Receiver ? "RU" : "TU";
    name += compact ? "" : "-";
    name += std::to_string(m.variant);
    name += m.Curtain() ? std::to_string(m.type) : m.Combined() ? "0" : std::to_string(8 - m.type);
    name += '-';
    name += std::to_string(m.Curtain() ? FieldHeight(m.type, m.beams) : Resolution(m.type));
    name += m.type == 1 ? "-1" : m.Curtain() ? "-4" : "-2";
    return name;
}

std::string ModelName(const Model& m) {
    const bool first = m.variant == 1;
    if (m.variant != 1 && m.variant != 2) {
        return {};
    }
    if (m.Curtain()) {
        return first ? "DVX710" : "DVX715I";
    }
    if (m.Combined()) {
        return first ? "DVY712P" : "DVY715IP";
    }
    if (m.Grid()) {
        return first ? "DVY710" : "DVY715I";
    }
    return m.type == 8 && first ? "DVX730-" : "";
}

// Scheme 2: "DVX710R0160-14RFB".
std::string ModelTypeName(const Model& m) {
    std::string name = ModelName(m);
    if (name.empty() || !m.KnownUnit()) {
        return {};
    }
    name += m.Combined() ? "E/R" : m.unit == ControllerType::Receiver ? "R" : "E";
    name += m.type == 8 ? "-" : "";
    name += PaddedDecimal(FieldHeight(m.type, m.beams), 4);
    if (m.Grid()) {
        name += m.Combined() ? "-02" : '-' + PaddedDecimal(m.beams, 2);
        return name + "RF";
    }
    name += '-';
    name += std::to_string(Resolution(m.type));
    return m.type == 8 ? name : name + (m.variant == 1 ? "RFB" : "RFBC");
}

} // namespace

std::string GetTypeName(ControllerType unit, int scheme, int variant, int type, int beamCount) {
    const Model model{unit, variant, type, std::clamp(beamCount, 0, 255)};
    switch (scheme) {
    case 1:
        return PrefixedName(model, false);
    case 2:
        return ModelTypeName(model);
    case 3:
        return PrefixedName(model, true);
    default:
        return {};
    }
}

std::string GetTypeName(ControllerType unit, int scheme, int variant,
                        const ModuleDataTable& modules, int moduleIndex) {
    const ReceiverFactoryRecord* module = modules.Record(moduleIndex);
    if (module == nullptr) {
        return {};
    }
    return GetTypeName(unit, scheme, variant, module->Byte(ReceiverFactoryField::DeviceType),
                       module->Byte(ReceiverFactoryField::BeamCount));
}

} // namespace lcdiag
