#include "core/safety/SafetyDistance.h"

#include <charconv>

namespace lcdiag {

namespace {

constexpr std::int64_t MinResolution = 14;
constexpr std::int64_t MaxResolution = 40;
constexpr std::int64_t MinGap = 300;
constexpr std::int64_t MaxGap = 50000;
// Up to this gap the distance to reflecting surfaces is a constant.
constexpr std::int64_t ConstantReflectionUpToGap = 3000;

// ceil(numerator / denominator) for numerator >= 0.
constexpr std::int64_t DivideRoundingUp(std::int64_t numerator, std::int64_t denominator) {
    return (numerator + denominator - 1) / denominator;
}

// S = 2 T + C; above 500 mm K = 1.6 m/s applies, but never below 500 mm; never below 100 mm.
void ComputeSafetyDistance(std::int64_t t, std::int64_t d, SafetyDistanceResult& result) {
    const std::int64_t c = 8 * (d - MinResolution);
    std::int64_t s = 2 * t + c;
    if (s > 500) {
        s = DivideRoundingUp(16 * t, 10) + c;
        if (s < 500) {
            s = 500;
        }
        result.slowApproach = true;
    }
    if (s < 100) {
        s = 100;
    }
    result.safetyDistance = s;
}

// Beam divergence in millionths: 0.087489 for PL c,d and 0.043661 for PL e.
std::int64_t ReflectionDistance(PerformanceLevel level, std::int64_t gap) {
    const bool e = level == PerformanceLevel::E;
    if (gap <= ConstantReflectionUpToGap) {
        return e ? 131 : 262;
    }
    return DivideRoundingUp((e ? 43661 : 87489) * gap, 1000000);
}

} // namespace

SafetyDistanceResult CalcSD(const SafetyDistanceInputs& inputs) {
    const std::int64_t d = inputs.resolution;
    const std::int64_t gap = inputs.emitterReceiverGap;
    SafetyDistanceResult result;
    result.resolutionInvalid = d < MinResolution || d > MaxResolution;
    result.gapInvalid = gap < MinGap || gap > MaxGap;
    result.overrunInvalid = inputs.overrunTime < 0;
    result.responseInvalid = inputs.responseTime < 0;

    if (!result.overrunInvalid && !result.responseInvalid) {
        const std::int64_t t = std::int64_t{inputs.overrunTime} + inputs.responseTime;
        result.totalResponseTime = t;
        if (!result.resolutionInvalid) {
            ComputeSafetyDistance(t, d, result);
        }
    }
    if (!result.gapInvalid) {
        result.reflectionDistance = ReflectionDistance(inputs.level, gap);
    }
    return result;
}

std::string SafetyDistanceText(const SafetyDistanceResult& result) {
    if (!result.safetyDistance) {
        return {};
    }
    return std::to_string(*result.safetyDistance) + (result.slowApproach ? " (K = 1,6m/s)" : "");
}

SafetyDistanceFields CalcSDFields(const SafetyDistanceInputs& inputs) {
    const SafetyDistanceResult result = CalcSD(inputs);
    const auto text = [](const std::optional<std::int64_t>& value) {
        return value ? std::to_string(*value) : std::string();
    };
    return {result, text(result.totalResponseTime), SafetyDistanceText(result),
            text(result.reflectionDistance)};
}

std::int32_t ParseDistanceInput(std::string_view text) {
    if (text.size() > 1 && text.front() == '+' && text[1] != '-') {
        text.remove_prefix(1);
    }
    std::int32_t value = -1;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size()) {
        return -1;
    }
    return value;
}

} // namespace lcdiag
