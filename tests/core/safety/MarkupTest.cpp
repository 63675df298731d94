#include "core/safety/Markup.h"

#include "core/app/Texts.h"
#include "core/safety/SafetyNotes.h"

#include <gtest/gtest.h>
#include <tuple>

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

// Every character is 10 pixels wide, 12 in bold.
TEST(Markup, WordsWrapAtTheLimit) {
    const std::tuple<std::string_view, int, std::string_view> rows[] = {
        {"aaa bbb ccc", 70, "aaa bbb<br>ccc"}, // the blank before a wrapped word is dropped
        {"aaa bbb ccc", 110, "aaa bbb ccc"},
        {"a bbbbbbbbbbbb c", 50, "a<br>bbbbbbbbbbbb<br>c"}, // too wide: alone, overflowing
        {"aa<br>bb cc", 50, "aa<br>bb cc"},                 // <br> starts a fresh line
        {"<b>aaaa</b> bb", 80, "<b>aaaa</b> bb"},           // 48 + 10 + 20 = 78
        {"<b>aaaa</b> bb", 70, "<b>aaaa</b><br>bb"},
        {"aaaa<i>bbbb cc", 100, "aaaa<i>bbbb<br>cc"},    // joined by a tag: one 80-pixel word
        {" - aaa bbb ccc", 100, " - aaa bbb<br><t>ccc"}, // bullet lines continue indented
        {"x - aaa bbb ccc", 90, "x - aaa<br>bbb ccc"},   // not at the line start: no bullet
        {"", 50, ""},
    };
    for (const auto& [text, limit, wrapped] : rows) {
        EXPECT_EQ(Wrap(text, limit), wrapped) << text << " in " << limit;
    }
    const auto bold = LayoutParagraph("<b>aaaa</b> bb", FixedMetrics(), {}, 80);
    ASSERT_EQ(bold.size(), 1U);
    EXPECT_EQ(bold[0].width, 78);
    const auto bullet = LayoutParagraph(" - aaa bbb ccc", FixedMetrics(), {}, 100);
    ASSERT_EQ(bullet.size(), 2U);
    EXPECT_EQ(bullet[1].width, 30 + 30); // indent of " - " plus "ccc"
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

std::string AllText(const SafetyNote& note) {
    std::string all;
    for (const NoteParagraph& paragraph : note.paragraphs) {
        all += paragraph.text;
    }
    return all;
}

TEST(SafetyNotes, FloatingBlankingNoteWithItsTableOfResolutions) {
    const SafetyNote note = AssembleSafetyNote(Texts(), 0, {"DVX-DVY 710, 712, 715"});
    EXPECT_EQ(note.number, 1);
    EXPECT_EQ(note.title, Texts().GetText(8051));
    EXPECT_EQ(note.checkBoxText, "Adjustment of safety distance implemented");
    ASSERT_FALSE(note.paragraphs.empty());
    // The title goes into the heading's "%s"; nothing is left unreplaced.
    EXPECT_NE(note.paragraphs[0].text.find("DVX-DVY 710, 712, 715"), std::string::npos);
    EXPECT_EQ(AllText(note).find("%s"), std::string::npos);
    const auto table = std::find_if(note.paragraphs.begin(), note.paragraphs.end(),
                                    [](const NoteParagraph& p) { return p.table; });
    ASSERT_NE(table, note.paragraphs.end());
    // The built-in table declares 7 x 21 cells but holds 143 (its heading row has three):
    // the renderer draws nothing for it unless a language file corrects the text.
    EXPECT_EQ(table->columns, 7);
    EXPECT_EQ(table->rows, 21);
    EXPECT_EQ(std::count(table->text.begin(), table->text.end(), '|') + 1, 143);
}

TEST(SafetyNotes, EveryNoteHasTitleAndParagraphsAndOnlyNoteFiveLacksTheCheckBox) {
    for (int mode = 0; mode < SafetyNote::Count; ++mode) {
        const SafetyNote note = AssembleSafetyNote(Texts(), mode, {"Title", "1.05"});
        EXPECT_FALSE(note.title.empty()) << mode;
        EXPECT_FALSE(note.paragraphs.empty()) << mode;
        EXPECT_EQ(note.checkBoxText.empty(), mode == 4) << mode;
    }
    EXPECT_NE(AllText(AssembleSafetyNote(Texts(), 4, {"Title", "1.05"})).find("1.05"),
              std::string::npos);
    // Slots never set give empty replacements.
    EXPECT_EQ(AllText(AssembleSafetyNote(Texts(), 4, {})).find("%s"), std::string::npos);
}

} // namespace
} // namespace lcdiag
