#include "core/app/TextFormat.h"

#include <gtest/gtest.h>
#include <vector>

namespace lcdiag {
namespace {

std::string Format(std::string_view format, std::vector<TextArg> args) {
    return FormatText(format, args);
}

TEST(TextFormat, FillsTheConversionsTheTextsUse) {
    EXPECT_EQ(Format("An unknown error has occurred! (%d)", {std::int64_t{-17}}),
              "An unknown error has occurred! (-17)");
    EXPECT_EQ(Format("'%s' is invalid for the field '%s'!", {"12x", "Relay delay [ms]"}),
              "'12x' is invalid for the field 'Relay delay [ms]'!");
    EXPECT_EQ(Format("100%% [%5d] [%-4s] [%2s]", {std::int64_t{42}, "ab", "long"}),
              "100% [   42] [ab  ] [long]");
    EXPECT_EQ(Format("[%4s]", {"\xC3\xBC"}), "[   \xC3\xBC]"); // width counts characters
}

// Language files are written by anyone: whatever the format string holds, the result is a
// plain text and nothing is read that was not passed.
TEST(TextFormat, HostileFormatStringsStayHarmless) {
    EXPECT_EQ(Format("%s and %d", {std::int64_t{5}, "text"}), "5 and text");
    EXPECT_EQ(Format("%d %s %d", {std::int64_t{1}}), "1 %s %d");
    EXPECT_EQ(Format("%s", {"a", "b", "c"}), "a");
    EXPECT_EQ(Format("%n %x %p %5.2f %*d %", {std::int64_t{1}}), "%n %x %p %5.2f %*d %");
    EXPECT_EQ(Format("%99999999999999999999d", {std::int64_t{1}}).size(), 1000u);
    const std::string longText(100000, 'y');
    EXPECT_EQ(Format(longText + "%s", {longText}).size(), 200000u);
    EXPECT_EQ(Format("%s", {std::string("a\0b", 3)}), std::string("a\0b", 3));
}

} // namespace
} // namespace lcdiag
