#include "core/safety/SafetyNotes.h"

#include "core/app/Texts.h"

#include <gtest/gtest.h>

namespace lcdiag {
namespace {

std::string AllText(const SafetyNote& note) {
    std::string all;
    for (const NoteParagraph& paragraph : note.paragraphs) {
        all += paragraph.text;
    }
    return all;
}

TEST(SafetyNotes, FloatingBlankingNoteWithItsTableOfResolutions) {
    const SafetyNote note = AssembleSafetyNote(0, {"DVX-DVY 710, 712, 715"});
    EXPECT_EQ(note.number, 1);
    EXPECT_EQ(note.title, GetText(8051));
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
        const SafetyNote note = AssembleSafetyNote(mode, {"Title", "1.05"});
        EXPECT_FALSE(note.title.empty()) << mode;
        EXPECT_FALSE(note.paragraphs.empty()) << mode;
        EXPECT_EQ(note.checkBoxText.empty(), mode == 4) << mode;
    }
    EXPECT_NE(AllText(AssembleSafetyNote(4, {"Title", "1.05"})).find("1.05"), std::string::npos);
    // Slots never set give empty replacements.
    EXPECT_EQ(AllText(AssembleSafetyNote(4, {})).find("%s"), std::string::npos);
}

} // namespace
} // namespace lcdiag
