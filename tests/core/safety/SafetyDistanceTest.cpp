#include "core/safety/SafetyDistance.h"

#include <gtest/gtest.h>

namespace lcdiag {
namespace {

SafetyDistanceResult Calc(std::int32_t d, std::int32_t t1, std::int32_t t2, std::int32_t gap = 300,
                          PerformanceLevel level = PerformanceLevel::E) {
    return CalcSD({level, d, gap, t1, t2});
}

TEST(SafetyDistance, ApproachSpeedRulesWithTheirRounding) {
    EXPECT_EQ(SafetyDistanceText(Calc(14, 100, 20)), "240");
    EXPECT_EQ(SafetyDistanceText(Calc(30, 300, 0)), "608 (K = 1,6m/s)");
    EXPECT_EQ(SafetyDistanceText(Calc(14, 260, 0)), "500 (K = 1,6m/s)"); // 1.6 T below 500
    EXPECT_EQ(SafetyDistanceText(Calc(14, 10, 0)), "100");
    EXPECT_EQ(SafetyDistanceText(Calc(40, 0, 0)), "208");
    // 1.6 x 313 = 500.8 is rounded up: 501, not 500.
    EXPECT_EQ(SafetyDistanceText(Calc(14, 313, 0)), "501 (K = 1,6m/s)");
    EXPECT_EQ(SafetyDistanceText(Calc(14, 250, 0)), "500"); // exactly 500 keeps K = 2 m/s
}

TEST(SafetyDistance, InvalidInputsEmptyTheirOutputsAndTurnTheirLabelsRed) {
    auto r = Calc(41, 50, 50);
    EXPECT_TRUE(r.resolutionInvalid);
    EXPECT_FALSE(r.safetyDistance);
    EXPECT_EQ(r.totalResponseTime, 100);

    r = Calc(14, -5, 0, 5000);
    EXPECT_TRUE(r.overrunInvalid);
    EXPECT_FALSE(r.totalResponseTime);
    EXPECT_FALSE(r.safetyDistance);
    EXPECT_EQ(r.reflectionDistance, 219); // the gap still counts

    r = Calc(14, 0, 0, ParseDistanceInput(""));
    EXPECT_TRUE(r.gapInvalid);
    EXPECT_FALSE(r.reflectionDistance);
    EXPECT_TRUE(Calc(14, 0, 0, 50001).gapInvalid);
}

TEST(SafetyDistance, ReflectionDistanceByLevelAndGap) {
    EXPECT_EQ(Calc(14, 0, 0, 3000, PerformanceLevel::CD).reflectionDistance, 262);
    EXPECT_EQ(Calc(14, 0, 0, 3000, PerformanceLevel::E).reflectionDistance, 131);
    EXPECT_EQ(Calc(14, 0, 0, 3001, PerformanceLevel::E).reflectionDistance, 132);
    EXPECT_EQ(Calc(14, 0, 0, 5000, PerformanceLevel::E).reflectionDistance, 219);
    EXPECT_EQ(Calc(14, 0, 0, 50000, PerformanceLevel::CD).reflectionDistance, 4375); // 4374.45
}

TEST(SafetyDistance, LargestTimesDoNotOverflow) {
    const auto r = Calc(40, INT32_MAX, INT32_MAX);
    EXPECT_EQ(r.totalResponseTime, 2LL * INT32_MAX);
    EXPECT_EQ(r.safetyDistance, (16LL * 2 * INT32_MAX + 9) / 10 + 208);
}

TEST(SafetyDistance, FieldTextsThatAreNotIntegersReadAsMinusOne) {
    EXPECT_EQ(ParseDistanceInput("300"), 300);
    EXPECT_EQ(ParseDistanceInput("-5"), -5);
    EXPECT_EQ(ParseDistanceInput("+7"), 7);
    for (const char* text : {"", "12a", "1.5", " 14", "+", "+-3", "99999999999", "-"}) {
        EXPECT_EQ(ParseDistanceInput(text), -1) << text;
    }
}

} // namespace
} // namespace lcdiag
