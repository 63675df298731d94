#include "core/views/BarTrace.h"

#include <gtest/gtest.h>

namespace lcdiag {
namespace {

// Valid rows are only counted; an invalid row writes the trace at its first and every
// hundredth occurrence.
TEST(BarTraceTest, InvalidRowsWriteTheTraceAtTheFirstAndEveryHundredth) {
    BarTrace trace;
    const BarGeometry valid = MakeBarGeometry(784, 538, 23, 23, 57, 31);
    for (int row = 0; row < 500; ++row) {
        EXPECT_FALSE(trace.CountRow(valid));
    }
    // A view 63 pixels wide puts the receiver body's left edge at 0.
    const BarGeometry broken = MakeBarGeometry(63, 100, 23, 23, 57, 31);
    ASSERT_EQ(broken.receiver.body.left, 0);
    const std::optional<std::string> first = trace.CountRow(broken);
    ASSERT_TRUE(first);
    EXPECT_EQ(*first, "0001: -16 -180 73 311\n"
                      "0002: 0 -180 89 311\n"
                      "0003: -16 -180 73 -103\n"
                      "0004: 0 -180 89 -103\n"
                      "0005: -16 -103 73 311\n"
                      "0006: 0 -103 89 311\n"
                      "0007: 500\n"
                      "0008: 0\n"
                      "0009: 500\n");
    for (int row = 1; row < 100; ++row) {
        EXPECT_FALSE(trace.CountRow(broken));
    }
    const std::optional<std::string> hundredth = trace.CountRow(broken);
    ASSERT_TRUE(hundredth);
    EXPECT_NE(hundredth->find("0008: 100\n"), std::string::npos);
    EXPECT_NE(hundredth->find("0009: 500\n"), std::string::npos);
}

} // namespace
} // namespace lcdiag
