#include "core/app/Texts.h"

#include "AppTestSupport.h"
#include "core/app/TLocaleFile.h"
#include "core/app/TextFormat.h"

#include <gtest/gtest.h>
#include <vector>

namespace lcdiag {
namespace {

using test::RecordingDialogs;

// A language of the given texts and a recording dialog for one test.
class TextsTest : public ::testing::Test {
protected:
    TextsTest() { locale.SetFolder(temp.Path()); }

    void UseLanguage(const std::vector<std::pair<TextId, std::string>>& texts) {
        locale.Load("test.zna", true);
        for (const auto& [id, text] : texts) {
            locale.SetText(id, text);
        }
    }

    test::TempFolder temp;
    TLocaleFile locale;
    RecordingDialogs dialogs;
    Texts texts{&locale, &dialogs};
};

TEST_F(TextsTest, EachMissingTextFallsBackToTheBuiltinText) {
    EXPECT_EQ(texts.GetText(101), "Unknown Fault!");
    UseLanguage({{101, "Unbekannter Fehler!"}});
    EXPECT_EQ(texts.GetText(101), "Unbekannter Fehler!");
    EXPECT_EQ(texts.GetText(102), "Could not open COM-Port!");
    EXPECT_EQ(texts.GetText(112),
              "An error occurred during the transfer of the manufacturer data!\r\n"
              "Please try again!");
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(TextsTest, BackslashNBecomesALineBreak) {
    UseLanguage({{3001, "Einstellungen\\nspeichern \\\\n"}});
    EXPECT_EQ(texts.GetText(3001), "Einstellungen\r\nspeichern \\\r\n");
}

TEST_F(TextsTest, AMissingTextIsReportedAndYieldsNothing) {
    EXPECT_FALSE(texts.TextExists(9999));
    EXPECT_EQ(texts.GetText(9999), "");
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, MessageKind::Fault);
    EXPECT_EQ(dialogs.shown[0].text, "String resource 9999 not available!");

    UseLanguage({{103, "Text %d fehlt!"}});
    EXPECT_EQ(texts.GetText(70000), "");
    EXPECT_EQ(dialogs.shown.back().text, "Text 70000 fehlt!");

    UseLanguage({{9500, "nur hier"}});
    EXPECT_EQ(texts.GetText(4294967295u), "");
    EXPECT_EQ(dialogs.shown.back().text, "String-Ressource 4294967295 nicht vorhanden!");
    EXPECT_TRUE(texts.TextExists(9500));
    EXPECT_TRUE(texts.TextExists(1)); // built in
    EXPECT_FALSE(texts.TextExists(1017));
}

TEST_F(TextsTest, FormattedTexts) {
    EXPECT_EQ(texts.GetTextInt(2002, 10), "Confirm with this button within 10 seconds");
    EXPECT_EQ(texts.GetTextStr(257, "ZENO 4"), "Information about ZENO 4");
    EXPECT_EQ(texts.GetTextArgs(121, {"abc", "Relay delay [ms]"}),
              "'abc' is invalid for the field 'Relay delay [ms]'!");
    UseLanguage({{2002, "%s %s %n Sekunden"}}); // a careless translation
    EXPECT_EQ(texts.GetTextInt(2002, 10), "10 %s %n Sekunden");
}

TEST_F(TextsTest, MessageCodesChooseKindAndButtons) {
    using R = MessageResult;
    dialogs.answer = R::Yes;
    EXPECT_EQ(texts.ShowMessageId(msg::Confirmation | 166), R::Yes);
    EXPECT_EQ(texts.ShowMessageIdInt(msg::Fault | 110, 7), R::Yes);
    EXPECT_EQ(texts.ShowMessageIdStr(msg::Information | 257, "x"), R::Yes);
    texts.ShowMessageIdArgs(msg::Warning | 184, {"a", "b"});
    texts.ShowMessageText(0x00000000, "plain");
    texts.ShowMessageText(0x53000000, "unused kind");
    texts.ShowMessageText(msg::Confirmation, ""); // an empty text shows "Unknown Fault!"
    ASSERT_EQ(dialogs.shown.size(), 7u);
    EXPECT_EQ(dialogs.shown[0].kind, MessageKind::Confirmation);
    EXPECT_EQ(dialogs.shown[0].buttons, (std::vector<R>{R::Yes, R::No}));
    EXPECT_EQ(dialogs.shown[0].text,
              "Are you sure that you want to deactivate the muting function?");
    EXPECT_EQ(dialogs.shown[1].kind, MessageKind::Fault);
    EXPECT_EQ(dialogs.shown[1].text, "An unknown error has occurred! (7)");
    EXPECT_EQ(dialogs.shown[2].kind, MessageKind::Information);
    EXPECT_EQ(dialogs.shown[3].kind, MessageKind::Warning);
    EXPECT_EQ(dialogs.shown[3].buttons, std::vector<R>{R::Ok});
    EXPECT_NE(dialogs.shown[3].text.find("option \"a\" before you activate the option \"b\""),
              std::string::npos);
    EXPECT_EQ(dialogs.shown[4].kind, MessageKind::Fault);
    EXPECT_EQ(dialogs.shown[5].buttons, (std::vector<R>{R::Yes, R::No, R::Cancel}));
    EXPECT_EQ(dialogs.shown[5].kind, MessageKind::Fault);
    EXPECT_EQ(dialogs.shown[6].kind, MessageKind::Fault);
    EXPECT_EQ(dialogs.shown[6].buttons, std::vector<R>{R::Ok});
    EXPECT_EQ(dialogs.shown[6].text, "Unknown Fault!");
}

// The dialog gets every text it shows in the language: caption, button labels, and the
// button a closed dialog answers with.
TEST_F(TextsTest, CaptionAndButtonLabelsComeInTheLanguage) {
    UseLanguage({{303, "Frage"}, {400, "&Ja"}, {401, "&Nein"}, {300, "Warnung"}});
    texts.ShowMessageId(msg::Confirmation | 166);
    texts.ShowMessageText(msg::Warning | 0x01000000, "ok or cancel");
    ASSERT_EQ(dialogs.messages.size(), 2u);
    const DialogMessage& question = dialogs.messages[0];
    EXPECT_EQ(question.caption, "Frage");
    ASSERT_EQ(question.buttons.size(), 2u);
    EXPECT_EQ(question.buttons[0].label, "&Ja");
    EXPECT_EQ(question.buttons[1].label, "&Nein");
    EXPECT_EQ(question.dismissed, MessageResult::No);
    const DialogMessage& warning = dialogs.messages[1];
    EXPECT_EQ(warning.caption, "Warnung");
    ASSERT_EQ(warning.buttons.size(), 2u);
    EXPECT_EQ(warning.buttons[0].label, "OK"); // built in: the language lacks it
    EXPECT_EQ(warning.buttons[1].label, "Cancel");
    EXPECT_EQ(warning.dismissed, MessageResult::Cancel);
}

TEST_F(TextsTest, OneDialogAtATime) {
    MessageResult nested = MessageResult::Ok;
    dialogs.onShow = [&] { nested = texts.ShowMessageId(msg::Warning | 102); };
    EXPECT_EQ(texts.ShowMessageId(msg::Fault | 101), MessageResult::Ok);
    EXPECT_EQ(nested, MessageResult::None);
    EXPECT_EQ(dialogs.shown.size(), 1u);
    dialogs.onShow = nullptr;
    EXPECT_EQ(texts.ShowMessageId(msg::Fault | 102), MessageResult::Ok); // closed again

    const Texts unattended; // no dialogs: nothing is shown
    EXPECT_EQ(unattended.ShowMessageId(msg::Fault | 101), MessageResult::None);
    EXPECT_EQ(unattended.GetText(102), "Could not open COM-Port!");
}

// Each holder of texts speaks its own language to its own dialogs: two side by side, one of
// them with a dialog open, do not meet.
TEST_F(TextsTest, TwoSideBySideShareNothing) {
    UseLanguage({{102, "Port zu!"}});
    RecordingDialogs otherDialogs;
    const Texts other(nullptr, &otherDialogs);
    MessageResult nested = MessageResult::None;
    dialogs.onShow = [&] { nested = other.ShowMessageId(msg::Fault | 102); };
    texts.ShowMessageId(msg::Fault | 102);
    EXPECT_EQ(nested, MessageResult::Ok);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].text, "Port zu!");
    ASSERT_EQ(otherDialogs.shown.size(), 1u);
    EXPECT_EQ(otherDialogs.shown[0].text, "Could not open COM-Port!");
}

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
