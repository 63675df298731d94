#pragma once

#include "core/device/ControllerType.h"

#include <string>
#include <string_view>

namespace lcdiag {

class ModuleDataTable;

// The geometry of the device types 1 to 8 (a type code and a beam count, as a module record
// holds them). A type outside 1 to 8 gives 0 unless a function says otherwise; a beam count
// is taken as the byte it comes from (0 to 255).
namespace device_type {

int Resolution(int type);                 // mm
int BeamPitch(int type);                  // mm
int FieldHeight(int type, int beamCount); // protection field height, mm
int Beams(int type, int beamCount);       // beams the device has
int MaxBeams(int type);                   // 192 for an unknown type
int MaxBeamsHalf(int type);               // 96 for an unknown type
int BeamColumns(int type);                // 2 for an unknown type
int BeamGroups(int type, int zoom);       // beams per group at zoom level 0 to 2
// Types 3, 4, 5 and 7 are light grids with widely spaced beams; 1, 2, 6 and 8 light curtains.
bool IsLightGrid(int type);

// "14 mm"
std::string ResolutionText(int type);
// "160 mm"; for type 5 followed by " - " + the beam count + " " + beamWord, for type 7 by
// " - 1 " + beamWord. beamWord is the caller's text 2035 ("beam").
std::string ProtectionFieldText(int type, int beamCount, std::string_view beamWord);

// The variant in a type name: 1 for the standard controller (FirmwareTypeDigit 1), 2 for the
// muting/cyclic operation controllers (2 and 3), 1 for anything else.
int NamingVariant(int firmwareTypeDigit);

} // namespace device_type

// The order type name of a unit in naming scheme 1 ("Z4-..."), 2 ("DVX..."/"DVY...") or 3
// ("TOBNZ4..."), for controller variant 1 or 2; empty when the combination has no name.
std::string GetTypeName(ControllerType unit, int scheme, int variant, int type, int beamCount);
// The same for the module record at the index (empty for an index outside the table).
std::string GetTypeName(ControllerType unit, int scheme, int variant,
                        const ModuleDataTable& modules, int moduleIndex);

} // namespace lcdiag
