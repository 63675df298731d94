#include "../QtTestSupport.h"
#include "gui/safety/DocImage.h"
#include "gui/safety/TFRM_Warnings.h"

#include <QCheckBox>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>

namespace lcdiag {
namespace {

using test::Child;
using test::Settle;
using test::WaitUntil;

class WarningsTest : public ::testing::Test {
protected:
    void Show(int mode, int textSize = 12) {
        note.NoteMode = mode;
        note.SetNoteTextSize(textSize);
        note.SetNoteArg(0, "DVX-DVY 710, 712, 715");
        note.show();
        ASSERT_TRUE(WaitUntil([&] { return note.isVisible(); }));
    }
    QCheckBox* CheckBox() { return Child<QCheckBox>(note, "CheckBox1"); }
    QPushButton* Ok() { return Child<QPushButton>(note, "Button1"); }
    QPushButton* Cancel() { return Child<QPushButton>(note, "Button2"); }
    QScrollBar* ScrollBar() { return Child<QScrollArea>(note, "ScrollBox1")->verticalScrollBar(); }

    const Texts texts;
    TFRM_Warnings note{texts};
};

TEST_F(WarningsTest, CheckBoxWaitsForTheEndOfTheTextAndOkFollowsIt) {
    Show(0, 16);
    ASSERT_GT(ScrollBar()->maximum(), 0) << "the note must be longer than its window";
    // The document leaves room for a scroll bar, so that nothing scrolls sideways.
    EXPECT_LT(note.Document().x() + note.Document().width(),
              Child<QScrollArea>(note, "ScrollBox1")->width());
    Settle(150);
    EXPECT_FALSE(CheckBox()->isEnabled());
    EXPECT_FALSE(CheckBox()->isChecked());
    EXPECT_FALSE(Ok()->isEnabled());
    ScrollBar()->setValue(ScrollBar()->maximum() - 1);
    Settle(150);
    EXPECT_FALSE(CheckBox()->isEnabled());

    ScrollBar()->setValue(ScrollBar()->maximum());
    ASSERT_TRUE(WaitUntil([&] { return CheckBox()->isEnabled(); }));
    EXPECT_FALSE(Child<QTimer>(note, "Timer1")->isActive());
    EXPECT_FALSE(Ok()->isEnabled());
    CheckBox()->click();
    EXPECT_TRUE(Ok()->isEnabled());
    CheckBox()->click();
    EXPECT_FALSE(Ok()->isEnabled());
    ScrollBar()->setValue(0); // once available, the box stays so
    CheckBox()->click();
    Ok()->click();
    EXPECT_EQ(note.result(), TFRM_Warnings::Confirmed);
    EXPECT_FALSE(note.isVisible());

    Show(0, 16); // showing again starts unchecked at the top
    EXPECT_EQ(ScrollBar()->value(), 0);
    EXPECT_FALSE(CheckBox()->isChecked());
    EXPECT_FALSE(CheckBox()->isEnabled());
    EXPECT_FALSE(Ok()->isEnabled());
}

TEST_F(WarningsTest, CancelAndClosingTheWindowAreNoConfirmation) {
    Show(1);
    Cancel()->click();
    EXPECT_EQ(note.result(), TFRM_Warnings::NotConfirmed);
    Show(1);
    note.close();
    EXPECT_EQ(note.result(), TFRM_Warnings::NotConfirmed);
}

TEST_F(WarningsTest, ShortNoteEnablesTheCheckBoxOnTheFirstTick) {
    Show(3, 8);
    EXPECT_EQ(ScrollBar()->maximum(), 0);
    EXPECT_FALSE(CheckBox()->isEnabled());
    Settle(120);
    EXPECT_TRUE(CheckBox()->isEnabled());
    EXPECT_FALSE(Ok()->isEnabled());
}

TEST_F(WarningsTest, AdviceHasOnlyOkInTheCorner) {
    Show(4);
    EXPECT_EQ(note.windowTitle(), QStringLiteral("Advice"));
    EXPECT_TRUE(CheckBox()->isHidden());
    EXPECT_TRUE(Cancel()->isHidden());
    EXPECT_TRUE(Ok()->isEnabled());
    EXPECT_EQ(Ok()->geometry().bottomRight(), note.rect().bottomRight() - QPoint(4, 4));
    Ok()->click();
    EXPECT_EQ(note.result(), TFRM_Warnings::Confirmed);
}

std::size_t Cells(const std::string& text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '|')) + 1;
}

TEST(WarningsTables, ShortHeadingRowIsCompletedSoThatTheRowsKeepTheirColumns) {
    EXPECT_EQ(WithCompleteHeading({true, 3, 2, "a|b|1|2|3"}), "a|b||1|2|3");
    EXPECT_EQ(WithCompleteHeading({true, 3, 1, "a"}), "a||");
    EXPECT_EQ(WithCompleteHeading({true, 2, 2, "a|b|c|d"}), "a|b|c|d");
    // More missing than a row, or too many cells: left to the document, which draws nothing.
    EXPECT_EQ(WithCompleteHeading({true, 3, 3, "a|b|c|d"}), "a|b|c|d");
    EXPECT_EQ(WithCompleteHeading({true, 2, 1, "a|b|c"}), "a|b|c");

    // The table of effective resolutions of the floating blanking note.
    const SafetyNote note = AssembleSafetyNote(Texts(), 0, {});
    const auto table = std::find_if(note.paragraphs.begin(), note.paragraphs.end(),
                                    [](const NoteParagraph& p) { return p.columns == 7; });
    ASSERT_NE(table, note.paragraphs.end());
    EXPECT_EQ(Cells(WithCompleteHeading(*table)), 7u * 21u);
}

} // namespace
} // namespace lcdiag
