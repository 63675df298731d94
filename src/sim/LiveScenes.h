#pragma once

#include "sim/ControllerConfig.h"
#include "sim/RecordLayouts.h"

#include <array>
#include <cstdint>

namespace lcdiag::sim {

// What the unit sees at one moment: the beams whose light is interrupted or weak, faults that
// are present and the muting sensor inputs.
struct FieldState {
    std::array<std::uint8_t, MaskBytes> interrupted{};
    std::array<std::uint8_t, MaskBytes> weak{};
    std::uint32_t faults = 0; // receiver fault word, or emitter fault byte
    bool sensorOne = false;
    bool sensorTwo = false;
};

// The zone that the blanked-zone scene blanks and puts an object into; never the
// synchronisation beam.
BeamZone BlankedZoneOf(int beams);

// The live pictures of the demo as a pure function of time: the same seed and moment always
// give the same field, however often it is asked.
class LiveScenes {
public:
    LiveScenes(const Scenes& scenes, Unit unit, int beams, std::uint32_t seed);

    FieldState At(std::uint32_t ms) const;

private:
    void AddMovingObject(FieldState& field, std::uint32_t ms) const;
    void AddWeakBeams(FieldState& field, std::uint32_t ms) const;
    void AddMutingSensors(FieldState& field, std::uint32_t ms) const;
    void AddFaults(FieldState& field, std::uint32_t ms) const;

    Scenes scenes_;
    Unit unit_;
    int beams_;
    std::uint32_t seed_;
};

// A well-mixed 32-bit value of its inputs, for choices that must not depend on call order.
std::uint32_t Mix(std::uint32_t seed, std::uint32_t a, std::uint32_t b = 0);

} // namespace lcdiag::sim
