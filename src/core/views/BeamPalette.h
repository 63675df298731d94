#pragma once

#include "core/views/Rgb.h"

#include <array>

namespace lcdiag {

// The 14 beam colours of the live pictures, chosen once at start by the build: entries 0-3
// the receiver's beam states, 4-7 their dark variants, 8 and 9 the grey and green of the
// lines view, 10-13 the emitter's beam states.
using BeamPalette = std::array<Rgb, 14>;

namespace beam_colour {
inline constexpr int Interrupted = 0;
inline constexpr int Free = 1;
inline constexpr int BlankedOut = 2;
inline constexpr int WeakSignal = 3;
inline constexpr int DarkOffset = 4; // Interrupted + 4 is the dark interrupted colour, ...
inline constexpr int Grey = 8;
inline constexpr int Green = 9;
inline constexpr int EmitterActive = 10;
inline constexpr int CurrentNotReached = 11;
inline constexpr int CurrentExceeded = 12;
inline constexpr int EmitterInactive = 13;
} // namespace beam_colour

// The manufacturer build shows a weak signal and a current not reached in blue, the
// customer builds in orange and red.
BeamPalette MakeBeamPalette(bool manufacturerFunctions);

} // namespace lcdiag
