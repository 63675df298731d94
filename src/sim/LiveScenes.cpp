#include "sim/LiveScenes.h"

#include "sim/BeamMask.h"

#include <algorithm>

namespace lcdiag::sim {

namespace {

constexpr std::uint32_t StepPerBeam = 60;    // the moving object's pace
constexpr std::uint32_t ObjectAbsent = 1500; // pause between two passes
constexpr std::uint32_t WeakSlot = 250;      // weak beams flicker in slots of this length
constexpr std::uint32_t MutingPeriod = 8000; // one muting sequence
constexpr std::uint32_t FaultPeriod = 9000;  // a fault comes ...
constexpr std::uint32_t FaultFrom = 6000;    // ... at this point of its period
constexpr std::uint32_t FaultUntil = 8000;   // ... and goes again here
constexpr int WeakBeamCount = 3;

// Fault codes that come and go: EDM off, OSSD OFF, customer checksum, run-time difference;
// for the emitter low and high beam current.
constexpr std::uint32_t ReceiverFaults[] = {1u << 2, 1u << 8, 1u << 18, 1u << 19};
constexpr std::uint32_t EmitterFaults[] = {1u << 4, 1u << 5};

bool Within(std::uint32_t t, std::uint32_t from, std::uint32_t until) {
    return t >= from && t < until;
}

} // namespace

std::uint32_t Mix(std::uint32_t seed, std::uint32_t a, std::uint32_t b) {
    std::uint64_t x = (std::uint64_t{seed} << 32) ^ (std::uint64_t{a} * 0x9E3779B97F4A7C15u) ^ b;
    x ^= x >> 30;
    x *= 0xBF58476D1CE4E5B9u;
    x ^= x >> 27;
    x *= 0x94D049BB133111EBu;
    x ^= x >> 31;
    return static_cast<std::uint32_t>(x);
}

BeamZone BlankedZoneOf(int beams) {
    return {std::max(2, beams / 3 + 1), std::max(1, beams / 8)};
}

LiveScenes::LiveScenes(const Scenes& scenes, Unit unit, int beams, std::uint32_t seed)
    : scenes_(scenes), unit_(unit), beams_(std::clamp(beams, 1, MaskBytes * 8)), seed_(seed) {}

FieldState LiveScenes::At(std::uint32_t ms) const {
    FieldState field;
    if (unit_ == Unit::Receiver) {
        if (scenes_.movingObject) {
            AddMovingObject(field, ms);
        }
        if (scenes_.blankedZone) {
            const BeamZone zone = BlankedZoneOf(beams_);
            SetBeams(field.interrupted, zone.first, zone.count);
        }
        if (scenes_.teachObject) {
            SetBeams(field.interrupted, scenes_.teachObject->first, scenes_.teachObject->count);
        }
        if (scenes_.mutingSensors) {
            AddMutingSensors(field, ms);
        }
    }
    if (scenes_.weakBeams) {
        AddWeakBeams(field, ms);
    }
    if (scenes_.intermittentFaults) {
        AddFaults(field, ms);
    }
    return field;
}

void LiveScenes::AddMovingObject(FieldState& field, std::uint32_t ms) const {
    const int width = std::max(1, beams_ / 12);
    const auto steps = static_cast<std::uint32_t>(beams_ - width);
    const std::uint32_t travel = std::max<std::uint32_t>(2 * steps, 10) * StepPerBeam;
    const std::uint32_t t = ms % (travel + ObjectAbsent);
    if (t >= travel) {
        return;
    }
    const std::uint32_t step = std::min(t / StepPerBeam, 2 * steps);
    const std::uint32_t offset = step <= steps ? step : 2 * steps - step;
    SetBeams(field.interrupted, static_cast<int>(offset) + 1, width);
}

void LiveScenes::AddWeakBeams(FieldState& field, std::uint32_t ms) const {
    const std::uint32_t slot = ms / WeakSlot;
    for (int i = 0; i < std::min(WeakBeamCount, beams_); ++i) {
        const int beam = static_cast<int>(Mix(seed_, 100u + static_cast<std::uint32_t>(i)) %
                                          static_cast<std::uint32_t>(beams_)) +
                         1;
        if (Mix(seed_, slot, static_cast<std::uint32_t>(beam)) % 3 != 0) {
            SetBeams(field.weak, beam, 1);
        }
    }
}

void LiveScenes::AddMutingSensors(FieldState& field, std::uint32_t ms) const {
    const std::uint32_t t = ms % MutingPeriod;
    field.sensorOne = Within(t, 1000, 5000);
    field.sensorTwo = Within(t, 1400, 5400);
}

void LiveScenes::AddFaults(FieldState& field, std::uint32_t ms) const {
    if (!Within(ms % FaultPeriod, FaultFrom, FaultUntil)) {
        return;
    }
    const std::uint32_t pick = Mix(seed_, ms / FaultPeriod, 7);
    field.faults = unit_ == Unit::Receiver ? ReceiverFaults[pick % std::size(ReceiverFaults)]
                                           : EmitterFaults[pick % std::size(EmitterFaults)];
}

} // namespace lcdiag::sim
