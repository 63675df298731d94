#pragma once

#include <cstdint>

namespace lcdiag {

// The version of this PC software, written into every record the PC builds.
struct PcSoftwareVersion {
    std::uint8_t major = 0;
    std::uint8_t minor = 0;
};

// What the connected controller reported about its firmware.
struct ControllerFirmware {
    int version = 0;   // FirmwareVersion as an integer, 133 for "1.33"
    int typeDigit = 1; // FirmwareTypeDigit: 1 standard, 2 muting/cyclic, 3 muting with RS485

    // Controller variants 2 and 3 carry the muting and cyclic operation functions.
    bool IsMutingVariant() const { return typeDigit == 2 || typeDigit == 3; }
    // From 1.33 the muting times have 24 bits.
    bool HasLongMutingTimes() const { return version >= 133; }
    // More than two floating beams: from 1.22 on the standard version, 1.36 on the others.
    bool SupportsManyFloatingBeams() const { return version >= (typeDigit == 1 ? 122 : 136); }
};

} // namespace lcdiag
