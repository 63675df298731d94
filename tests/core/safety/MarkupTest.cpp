#include "core/safety/Markup.h"

#include <gtest/gtest.h>

namespace lcdiag {
namespace {

// Every character 10 pixels wide, 12 in bold; every text 20 pixels high.
class FixedMetrics : public TextMetrics {
public:
    int Width(std::string_view text, TextStyle style) const override {
        return static_cast<int>(text.size()) * (style.bold ? 12 : 10);
    }
    int Height(std::string_view, TextStyle) const override { return 20; }
};

std::string Joined(const std::vector<MarkupToken>& tokens) {
    std::string text;
    for (const MarkupToken& token : tokens) {
        text += token.text;
    }
    return text;
}

std::string Wrap(std::string_view text, int limit) {
    return Joined(WrapMarkup(TokenizeMarkup(text), FixedMetrics(), {}, limit));
}

TEST(Markup, TokensKeepTagsWordsAndBlankRunsInOrder) {
    const auto tokens = TokenizeMarkup("  a<b>bc</b>  d<x <br>e<unclosed");
    const std::vector<MarkupToken> expected{
        {TokenKind::Blank, "  "},     {TokenKind::Word, "a"},      {TokenKind::Tag, "<b>"},
        {TokenKind::Word, "bc"},      {TokenKind::Tag, "</b>"},    {TokenKind::Blank, "  "},
        {TokenKind::Word, "d"},       {TokenKind::Tag, "<x <br>"}, {TokenKind::Word, "e"},
        {TokenKind::Tag, "<unclosed"}};
    EXPECT_EQ(tokens, expected);
    EXPECT_TRUE(TokenizeMarkup("").empty());
}

TEST(Markup, WordsWrapAndTheBlankBeforeAWrappedWordIsDropped) {
    EXPECT_EQ(Wrap("aaa bbb ccc", 70), "aaa bbb<br>ccc");
    EXPECT_EQ(Wrap("aaa bbb ccc", 110), "aaa bbb ccc");
    // A word wider than the line stands alone and overflows.
    EXPECT_EQ(Wrap("a bbbbbbbbbbbb c", 50), "a<br>bbbbbbbbbbbb<br>c");
    EXPECT_EQ(Wrap("aa<br>bb cc", 50), "aa<br>bb cc"); // <br> starts a fresh line
}

TEST(Markup, BoldWordsAreMeasuredInBold) {
    // "<b>aaaa</b> bb" is 48 + 10 + 20 = 78 pixels: it fits into 80 but not into 70.
    EXPECT_EQ(Wrap("<b>aaaa</b> bb", 80), "<b>aaaa</b> bb");
    EXPECT_EQ(Wrap("<b>aaaa</b> bb", 70), "<b>aaaa</b><br>bb");
    const auto lines = LayoutParagraph("<b>aaaa</b> bb", FixedMetrics(), {}, 80);
    ASSERT_EQ(lines.size(), 1U);
    EXPECT_EQ(lines[0].width, 78);
}

TEST(Markup, WordsJoinedByATagContinueTheLine) {
    // "aaaa<i>bbbb" is 80 pixels wide: the next word must wrap at a limit of 100.
    EXPECT_EQ(Wrap("aaaa<i>bbbb cc", 100), "aaaa<i>bbbb<br>cc");
}

TEST(Markup, BulletLinesContinueAtTheIndent) {
    const auto wrapped = Wrap(" - aaa bbb ccc", 100);
    EXPECT_EQ(wrapped, " - aaa bbb<br><t>ccc");
    const auto lines = LayoutParagraph(" - aaa bbb ccc", FixedMetrics(), {}, 100);
    ASSERT_EQ(lines.size(), 2U);
    EXPECT_EQ(lines[1].width, 30 + 30); // indent of " - " plus "ccc"
    // Without a word after the bullet mark, or not at the line start, there is no indent.
    EXPECT_EQ(Wrap("x - aaa bbb ccc", 90), "x - aaa<br>bbb ccc");
}

TEST(Markup, TablesNeedExactlyColumnsTimesRowsCells) {
    const FixedMetrics metrics;
    std::string text = "c0";
    for (int k = 1; k < 143; ++k) {
        text += "|c" + std::to_string(k);
    }
    EXPECT_FALSE(LayoutTable(7, 21, text, metrics, {}, 500, 20)); // 143 cells, 147 declared
    EXPECT_TRUE(LayoutTable(11, 13, text, metrics, {}, 500, 20));
    EXPECT_FALSE(LayoutTable(0, 0, "", metrics, {}, 500, 20));
    EXPECT_FALSE(LayoutTable(-1, -1, "", metrics, {}, 500, 20));
}

TEST(Markup, TableColumnsAndRowsFitTheirWidestAndTallestCells) {
    const auto table = LayoutTable(2, 2, "a|bbbb|ccc ccc|d", FixedMetrics(), {}, 82, 20);
    ASSERT_TRUE(table);
    // Cells wrap at 82 - 22 = 60 pixels: "ccc ccc" (70) takes two lines.
    EXPECT_EQ(table->columnWidths, (std::vector<int>{30 + 20, 40 + 20}));
    EXPECT_EQ(table->rowHeights, (std::vector<int>{24, 44}));
    EXPECT_EQ(table->width, 110);
    EXPECT_EQ(table->height, 68);

    const auto box = LayoutTable(1, 1, "one paragraph", FixedMetrics(), {}, 500, 20);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->width, 130 + 20);
}

TEST(Markup, AlignmentTagsAndOffsets) {
    MarkupAlignment alignment = MarkupAlignment::Left;
    EXPECT_TRUE(ApplyAlignmentTag("<r>", alignment));
    EXPECT_EQ(AlignedOffset(alignment, 100, 30), 70);
    EXPECT_TRUE(ApplyAlignmentTag("<c>", alignment));
    EXPECT_EQ(AlignedOffset(alignment, 100, 30), 35);
    EXPECT_FALSE(ApplyAlignmentTag("<b>", alignment));
    EXPECT_EQ(alignment, MarkupAlignment::Centred);
}

} // namespace
} // namespace lcdiag
