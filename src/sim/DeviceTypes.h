#pragma once

#include "core/protocol/Layout.h"
#include "sim/ControllerConfig.h"

#include <string>

namespace lcdiag::sim {

// The device types 1 to 8 as far as the simulated controllers need them: how many beams a
// unit of the type may have, what its factory allows it and a believable type designation
// for its factory record.
struct DeviceTypeInfo {
    int code = 1;
    int minBeams = 1;
    int maxBeams = 1;
    int typicalBeams = 1;
    int resolution = 0;  // mm
    int pitch = 0;       // mm
    int floatingMax = 0; // floating beams the factory allows
    bool cyclic = true;  // offers cyclic operation; the beam grids (3, 4, 5, 7) do not
};

const DeviceTypeInfo& DeviceTypeOf(int code); // a code outside 1-8 gives type 1

// Beams present in the unit: the configured count, or a typical one for 0, kept within the
// type's range and the 144 beams that the short layout can describe.
int ResolvedBeamCount(const ControllerConfig& config);

// Height of the protective field in mm for n beams.
int FieldHeight(int code, int beams);

// The type designation a factory would write, e.g. "Z4-RU-11-330-1".
std::string Designation(Unit unit, int code, int beams, int typeDigit);

} // namespace lcdiag::sim
