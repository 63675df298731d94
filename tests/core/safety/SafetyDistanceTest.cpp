#include "core/safety/SafetyDistance.h"

#include <gtest/gtest.h>

namespace lcdiag {
namespace {

constexpr std::int64_t None = -1;

std::int64_t Or(const std::optional<std::int64_t>& value) {
    return value.value_or(None);
}

// S = 2 T + 8 (d - 14), at least 100; above 500 mm again with K = 1.6 m/s and at least 500,
// rounded up. S1 to reflecting surfaces grows with the gap.
TEST(SafetyDistance, CalcSDOnTheExamplesAndEdges) {
    constexpr auto E = PerformanceLevel::E;
    constexpr auto CD = PerformanceLevel::CD;
    const int empty = ParseDistanceInput("");
    struct Row {
        int d, t1, t2, gap;
        PerformanceLevel level;
        std::string_view distance;
        std::int64_t total, reflection;
        std::string_view red; // the input label drawn red
    };
    const Row rows[] = {
        {14, 100, 20, 3000, E, "240", 120, 131, ""},
        {30, 300, 0, 3000, E, "608 (K = 1,6m/s)", 300, 131, ""},
        {14, 260, 0, 3000, E, "500 (K = 1,6m/s)", 260, 131, ""}, // 1.6 T below 500
        {14, 313, 0, 3000, E, "501 (K = 1,6m/s)", 313, 131, ""}, // 500.8 rounded up
        {14, 250, 0, 3000, E, "500", 250, 131, ""},              // exactly 500 keeps K = 2
        {14, 10, 0, 3000, E, "100", 10, 131, ""},
        {40, 0, 0, 3000, E, "208", 0, 131, ""},
        {41, 50, 50, 3000, E, "", 100, 131, "resolution"},
        {14, -5, 0, 5000, E, "", None, 219, "overrun"},
        {14, 0, 0, empty, E, "100", 0, None, "gap"},
        {14, 0, 0, 50001, E, "100", 0, None, "gap"},
        {14, 0, 0, 3000, CD, "100", 0, 262, ""},
        {14, 0, 0, 3001, E, "100", 0, 132, ""},
        {14, 0, 0, 50000, CD, "100", 0, 4375, ""}, // 4374.45
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.d << " " << row.t1 << " " << row.gap);
        const auto r = CalcSD({row.level, row.d, row.gap, row.t1, row.t2});
        EXPECT_EQ(SafetyDistanceText(r), row.distance);
        EXPECT_EQ(Or(r.totalResponseTime), row.total);
        EXPECT_EQ(Or(r.reflectionDistance), row.reflection);
        EXPECT_EQ(r.resolutionInvalid, row.red == "resolution");
        EXPECT_EQ(r.overrunInvalid, row.red == "overrun");
        EXPECT_EQ(r.gapInvalid, row.red == "gap");
    }
    const auto largest = CalcSD({E, 40, 300, INT32_MAX, INT32_MAX}); // no overflow
    EXPECT_EQ(largest.totalResponseTime, 2LL * INT32_MAX);
    EXPECT_EQ(largest.safetyDistance, (16LL * 2 * INT32_MAX + 9) / 10 + 208);
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
