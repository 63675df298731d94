#include "core/safety/Password.h"

#include <gtest/gtest.h>

namespace lcdiag {
namespace {

TEST(ScramblePassword, TransposesTheBitPlanes) {
    EXPECT_EQ(ScramblePassword(u""), "");
    // "A" = 0x41: planes 0 and 6 set, one character: output bits 0 and 6.
    EXPECT_EQ(ScramblePassword(u"A"), "41");
    // "AB" = 0x41, 0x42: plane 0 gives bit 0 (A), plane 1 bit 3 (B), plane 6 bits 12 and 13.
    EXPECT_EQ(ScramblePassword(u"AB"), "0930");
    // "abcd": plane 0 of 0x61..0x64 is 1, 0, 1, 0 and plane 1 is 0, 1, 1, 0: byte 0 = 0x65.
    EXPECT_EQ(ScramblePassword(u"abcd"), "6508F00F");
}

TEST(ScramblePassword, KeepsLetterCaseAndReducesWideCharactersToTheirLowByte) {
    EXPECT_NE(ScramblePassword(u"Secret"), ScramblePassword(u"secret"));
    EXPECT_EQ(ScramblePassword(u"\u0141x"), ScramblePassword(u"Ax")); // 0x141 -> 0x41
    EXPECT_EQ(ScramblePassword(u"\u2041"), ScramblePassword(u"A"));
}

} // namespace
} // namespace lcdiag
