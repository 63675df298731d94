#pragma once

#include "sim/RecordLayouts.h"

#include <cstdint>
#include <span>

namespace lcdiag::sim {

// Beam b (from 1) sits at bit 7 - (b-1)%8 of byte (b-1)/8; beams beyond the mask are ignored.
inline void SetBeams(std::span<std::uint8_t> mask, int first, int count) {
    for (int beam = first; beam < first + count; ++beam) {
        const int index = beam - 1;
        if (index >= 0 && index / 8 < static_cast<int>(mask.size())) {
            mask[static_cast<std::size_t>(index / 8)] |=
                static_cast<std::uint8_t>(0x80 >> (index % 8));
        }
    }
}

inline void ClearBeams(std::span<std::uint8_t> mask, int first, int count) {
    for (int beam = first; beam < first + count; ++beam) {
        const int index = beam - 1;
        if (index >= 0 && index / 8 < static_cast<int>(mask.size())) {
            mask[static_cast<std::size_t>(index / 8)] &=
                static_cast<std::uint8_t>(~(0x80 >> (index % 8)));
        }
    }
}

} // namespace lcdiag::sim
