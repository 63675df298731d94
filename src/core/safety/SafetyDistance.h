#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lcdiag {

// Safety category of the installation; it sets the beam divergence used for S1.
enum class PerformanceLevel { CD, E };

// The calculator's inputs as the page holds them: a text that is not an integer is -1.
struct SafetyDistanceInputs {
    PerformanceLevel level = PerformanceLevel::E;
    std::int32_t resolution = 14;          // d [mm]
    std::int32_t emitterReceiverGap = 300; // D [mm]
    std::int32_t overrunTime = 0;          // t1 [ms]
    std::int32_t responseTime = 0;         // t2 [ms]
};

// The outputs; an empty optional is an empty field.
struct SafetyDistanceResult {
    std::optional<std::int64_t> totalResponseTime;  // T [ms]
    std::optional<std::int64_t> safetyDistance;     // S [mm]
    bool slowApproach = false;                      // S was computed with K = 1.6 m/s
    std::optional<std::int64_t> reflectionDistance; // S1 [mm]
    // Which input labels are drawn red (outside their valid range).
    bool resolutionInvalid = false;
    bool gapInvalid = false;
    bool overrunInvalid = false;
    bool responseInvalid = false;
};

// Minimum distances of a vertically installed light curtain of resolution 14 to 40 mm:
// S to the danger zone and S1 to reflecting surfaces.
SafetyDistanceResult CalcSD(const SafetyDistanceInputs& inputs);

// The text of the S field: the distance, with the note when K = 1.6 m/s applied.
std::string SafetyDistanceText(const SafetyDistanceResult& result);

// The calculator's result with its three output fields as the page shows them: T, S (see
// SafetyDistanceText) and S1, each empty while it cannot be computed. The page and the
// command-line tool both compute through it.
struct SafetyDistanceFields {
    SafetyDistanceResult result;
    std::string totalResponseTime;
    std::string safetyDistance;
    std::string reflectionDistance;
};

SafetyDistanceFields CalcSDFields(const SafetyDistanceInputs& inputs);

// The page's reading of a field: the decimal integer it holds, or -1 when it holds none.
std::int32_t ParseDistanceInput(std::string_view text);

} // namespace lcdiag
