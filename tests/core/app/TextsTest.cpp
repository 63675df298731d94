#include "core/app/Texts.h"

#include "AppTestSupport.h"
#include "core/app/TLocaleFile.h"
#include "core/app/TextFormat.h"

#include <gtest/gtest.h>
#include <vector>

namespace lcdiag {
namespace {

using test::RecordingDialogs;

// Installs a language of the given texts and a recording dialog for one test.
class Texts : public ::testing::Test {
protected:
    Texts() {
        locale.SetFolder(temp.Path());
        SetMessageDialogs(&dialogs);
    }
    ~Texts() override {
        SetTextLocale(nullptr);
        SetMessageDialogs(nullptr);
    }

    void UseLanguage(const std::vector<std::pair<TextId, std::string>>& texts) {
        locale.Load("test.zna", true);
        for (const auto& [id, text] : texts) {
            locale.SetText(id, text);
        }
        SetTextLocale(&locale);
    }

    test::TempFolder temp;
    TLocaleFile locale;
    RecordingDialogs dialogs;
};

TEST_F(Texts, EachMissingTextFallsBackToTheBuiltinText) {
    EXPECT_EQ(GetText(101), "Unknown Fault!");
    UseLanguage({{101, "Unbekannter Fehler!"}});
    EXPECT_EQ(GetText(101), "Unbekannter Fehler!");
    EXPECT_EQ(GetText(102), "Could not open COM-Port!");
    EXPECT_EQ(GetText(112), "An error occurred during the transfer of the manufacturer data!\r\n"
                            "Please try again!");
    EXPECT_TRUE(dialogs.shown.empty());
}

TEST_F(Texts, BackslashNBecomesALineBreak) {
    UseLanguage({{3001, "Einstellungen\\nspeichern \\\\n"}});
    EXPECT_EQ(GetText(3001), "Einstellungen\r\nspeichern \\\r\n");
}

TEST_F(Texts, AMissingTextIsReportedAndYieldsNothing) {
    EXPECT_FALSE(TextExists(9999));
    EXPECT_EQ(GetText(9999), "");
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, MessageKind::Fault);
    EXPECT_EQ(dialogs.shown[0].text, "String resource 9999 not available!");

    UseLanguage({{103, "Text %d fehlt!"}});
    EXPECT_EQ(GetText(70000), "");
    EXPECT_EQ(dialogs.shown.back().text, "Text 70000 fehlt!");

    UseLanguage({{9000, "nur hier"}});
    EXPECT_EQ(GetText(4294967295u), "");
    EXPECT_EQ(dialogs.shown.back().text, "String-Ressource 4294967295 nicht vorhanden!");
    EXPECT_TRUE(TextExists(9000));
    EXPECT_TRUE(TextExists(1)); // built in
    EXPECT_FALSE(TextExists(1017));
}

TEST_F(Texts, FormattedTexts) {
    EXPECT_EQ(GetTextInt(2002, 10), "Confirm with this button within 10 seconds");
    EXPECT_EQ(GetTextStr(257, "ZENO 4"), "Information about ZENO 4");
    EXPECT_EQ(GetTextArgs(121, {"abc", "Relay delay [ms]"}),
              "'abc' is invalid for the field 'Relay delay [ms]'!");
    UseLanguage({{2002, "%s %s %n Sekunden"}}); // a careless translation
    EXPECT_EQ(GetTextInt(2002, 10), "10 %s %n Sekunden");
}

TEST_F(Texts, MessageCodesChooseKindAndButtons) {
    dialogs.answer = MessageResult::Yes;
    EXPECT_EQ(ShowMessageId(msg::Confirmation | 166), MessageResult::Yes);
    EXPECT_EQ(ShowMessageIdInt(msg::Fault | 110, 7), MessageResult::Yes);
    EXPECT_EQ(ShowMessageIdStr(msg::Information | 257, "x"), MessageResult::Yes);
    ShowMessageIdArgs(msg::Warning | 184, {"a", "b"});
    ShowMessageText(0x00000000, "plain");
    ShowMessageText(0x53000000, "unused kind");
    ShowMessageText(msg::Confirmation, ""); // an empty text shows "Unknown Fault!" as a fault
    ASSERT_EQ(dialogs.shown.size(), 7u);
    EXPECT_EQ(dialogs.shown[0].kind, MessageKind::Confirmation);
    EXPECT_EQ(dialogs.shown[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(dialogs.shown[0].text,
              "Are you sure that you want to deactivate the muting function?");
    EXPECT_EQ(dialogs.shown[1].kind, MessageKind::Fault);
    EXPECT_EQ(dialogs.shown[1].text, "An unknown error has occurred! (7)");
    EXPECT_EQ(dialogs.shown[2].kind, MessageKind::Information);
    EXPECT_EQ(dialogs.shown[3].kind, MessageKind::Warning);
    EXPECT_EQ(dialogs.shown[3].buttons, MessageButtons::Ok);
    EXPECT_NE(dialogs.shown[3].text.find("option \"a\" before you activate the option \"b\""),
              std::string::npos);
    EXPECT_EQ(dialogs.shown[4].kind, MessageKind::Fault);
    EXPECT_EQ(dialogs.shown[5].buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(dialogs.shown[5].kind, MessageKind::Fault);
    EXPECT_EQ(dialogs.shown[6].kind, MessageKind::Fault);
    EXPECT_EQ(dialogs.shown[6].buttons, MessageButtons::Ok);
    EXPECT_EQ(dialogs.shown[6].text, "Unknown Fault!");
    EXPECT_EQ(CaptionTextId(MessageKind::Warning), 300u);
    EXPECT_EQ(ButtonTextId(MessageResult::Ignore), 406u);
}

TEST_F(Texts, OneDialogAtATime) {
    MessageResult nested = MessageResult::Ok;
    dialogs.onShow = [&] { nested = ShowMessageId(msg::Warning | 102); };
    EXPECT_EQ(ShowMessageId(msg::Fault | 101), MessageResult::Ok);
    EXPECT_EQ(nested, MessageResult::None);
    EXPECT_EQ(dialogs.shown.size(), 1u);
    dialogs.onShow = nullptr;
    EXPECT_EQ(ShowMessageId(msg::Fault | 102), MessageResult::Ok); // closed again

    SetMessageDialogs(nullptr);
    EXPECT_EQ(ShowMessageId(msg::Fault | 101), MessageResult::None);
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
