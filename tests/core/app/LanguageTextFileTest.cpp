#include "core/app/LanguageTextFile.h"

#include "core/app/BuiltinTexts.h"

#include <gtest/gtest.h>

namespace lcdiag {
namespace {

TEST(LanguageTextFile, WrittenTextReadsBackExactly) {
    LanguageData data;
    data.name = "Fran\xC3\xA7"
                "ais \"FR\"";
    data.headerFlag = true;
    data.texts[0] = " leading and trailing blanks ";
    data.texts[160] = "option \"shortened muting cycle\"!";
    data.texts[161] = "\"";
    data.texts[162] = "C:\\Lang\\n\r\n\ttab \x01\x1F\x7F end\\";
    data.texts[65535] = "# not a comment = [texts]";
    data.attributes[7] = 255;
    std::string error;
    const auto read = ParseLanguageText(WriteLanguageText(data), error);
    ASSERT_TRUE(read) << error;
    EXPECT_EQ(read->name, data.name);
    EXPECT_TRUE(read->headerFlag);
    EXPECT_EQ(read->texts, data.texts);
    EXPECT_EQ(read->attributes, data.attributes);

    const auto builtin = ParseLanguageText(WriteLanguageText(BuiltinLanguage()), error);
    ASSERT_TRUE(builtin) << error;
    EXPECT_EQ(builtin->texts, BuiltinLanguage().texts);
}

TEST(LanguageTextFile, AcceptsWhatEditorsProduce) {
    std::string error;
    const auto read = ParseLanguageText("\xEF\xBB\xBF# comment\r\n"
                                        "[texts]\r\n"
                                        "  101 =  \"Fehler\"  \r\n"
                                        "\r\n"
                                        "[language]\n"
                                        "flag=1\n"
                                        "name=\"Deutsch\"",
                                        error);
    ASSERT_TRUE(read) << error;
    EXPECT_EQ(read->texts[101], "Fehler");
    EXPECT_EQ(read->name, "Deutsch");
    EXPECT_TRUE(read->headerFlag);
}

TEST(LanguageTextFile, ReportsTheFirstProblemWithItsLine) {
    const std::pair<std::string_view, std::string_view> cases[] = {
        {"101=\"x\"", "line 1: a value before the first section"},
        {"[texts]\n101=x", "line 2: the text must be enclosed in double quotes"},
        {"[texts]\n65536=\"x\"", "line 2: the text id must be a number from 0 to 65535"},
        {"[texts]\n-1=\"x\"", "line 2: the text id must be a number from 0 to 65535"},
        {"[texts]\n5=\"a\"\n5=\"b\"", "line 3: text id 5 is given twice"},
        {"[texts]\n5=\"a\\q\"", "line 2: unknown escape (use \\r, \\n, \\t, \\\\, \\\" or \\xHH)"},
        {"[texts]\n5=\"a\\x80\"",
         "line 2: unknown escape (use \\r, \\n, \\t, \\\\, \\\" or \\xHH)"},
        {"[texts]\n5=\"\xC3\"", "line 2: the line is not UTF-8"},
        {"[fonts]", "line 1: unknown section (use [language], [texts] or [attributes])"},
        {"[attributes]\n5=256", "line 2: an attribute is a number from 0 to 255"},
        {"[language]\nflag=2", "line 2: the flag is 0 or 1"},
        {"[texts]\njust text", "line 2: expected a section or key=value"},
    };
    for (const auto& [text, expected] : cases) {
        std::string error;
        EXPECT_FALSE(ParseLanguageText(text, error)) << text;
        EXPECT_EQ(error, expected) << text;
    }
    std::string error;
    const std::string tooLong = "[texts]\n1=\"" + std::string(65536, 'x') + "\"";
    EXPECT_FALSE(ParseLanguageText(tooLong, error));
    EXPECT_EQ(error, "line 2: the text is longer than 65535 characters");
}

} // namespace
} // namespace lcdiag
