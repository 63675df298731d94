#include "core/app/LanguageSelection.h"

#include "AppTestSupport.h"
#include "core/app/Texts.h"

#include <gtest/gtest.h>

namespace lcdiag {
namespace {

using test::MemoryPreferenceStore;
using test::TempFolder;

class LanguageSelection : public ::testing::Test {
protected:
    LanguageSelection() {
        AddLanguage("deutsch.zna", "Deutsch", "Unbekannter Fehler!");
        AddLanguage("zz.zna", "Français", "Erreur inconnue !");
        AddLanguage("old.zna", "", ""); // name length 0: shown as "old"
    }

    void AddLanguage(const std::string& file, const std::string& name, const std::string& text) {
        TLocaleFile writer;
        writer.SetFolder(temp.Path());
        writer.Load(file, false);
        writer.SetLanguageName(name);
        writer.SetText(101, text);
        writer.Save();
    }

    void Prefer(std::string_view file) {
        RegWriteString(store, PreferenceKeyPath(), pref::Lang, file);
    }

    TempFolder temp;
    MemoryPreferenceStore store;
    TLocaleFile locale;
};

TEST_F(LanguageSelection, ThePreferredFileIsLoadedWhateverItsLetterCase) {
    Prefer("DEUTSCH.ZNA");
    SelectStartupLanguage(locale, {temp.Path()}, store);
    EXPECT_EQ(locale.FileName(), "deutsch.zna");
    EXPECT_TRUE(locale.ReadOnly());
    EXPECT_EQ(locale.Lookup(101), "Unbekannter Fehler!");
    EXPECT_EQ(locale.LanguageCount(), 4);
}

TEST_F(LanguageSelection, AnUnknownOrEmptyPreferenceMeansTheBuiltinTexts) {
    for (const std::string_view file : {"", "gone.zna", "../deutsch.zna"}) {
        TLocaleFile fresh;
        Prefer(file);
        SelectStartupLanguage(fresh, {temp.Path()}, store);
        EXPECT_TRUE(fresh.FullPath().empty()) << file;
        EXPECT_EQ(fresh.Lookup(101), "Unknown Fault!") << file;
    }
}

TEST_F(LanguageSelection, MenuIsSortedByNameAndTaggedByEntry) {
    Prefer("zz.zna");
    SelectStartupLanguage(locale, {temp.Path()}, store);
    const auto items = LanguageMenuItems(locale);
    ASSERT_EQ(items.size(), 4u);
    // Entries: 0 English, 1 deutsch.zna, 2 old.zna, 3 zz.zna.
    const std::vector<std::pair<int, std::string>> expected = {
        {42, "Deutsch"}, {41, "English"}, {44, "Français"}, {43, "old"}};
    for (std::size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i].tag, expected[i].first);
        EXPECT_EQ(items[i].caption, expected[i].second);
        EXPECT_EQ(items[i].checked, items[i].tag == 44);
    }

    TLocaleFile builtin;
    Prefer("");
    SelectStartupLanguage(builtin, {temp.Path()}, store);
    for (const auto& item : LanguageMenuItems(builtin)) {
        EXPECT_EQ(item.checked, item.tag == 41) << item.tag;
    }
}

TEST_F(LanguageSelection, ChoosingStoresTheFileAndAsksForARestart) {
    test::RecordingDialogs dialogs;
    const Texts texts(nullptr, &dialogs);
    SelectStartupLanguage(locale, {temp.Path()}, store);
    EXPECT_TRUE(ChooseLanguage(locale, 42, store, texts));
    EXPECT_EQ(RegReadString(store, PreferenceKeyPath(), pref::Lang, ""), "deutsch.zna");
    EXPECT_TRUE(locale.FullPath().empty()); // the texts change at the next start
    EXPECT_TRUE(ChooseLanguage(locale, 41, store, texts));
    EXPECT_EQ(RegReadString(store, PreferenceKeyPath(), pref::Lang, "-"), "");
    EXPECT_FALSE(ChooseLanguage(locale, 45, store, texts));
    EXPECT_FALSE(ChooseLanguage(locale, -2147483647 - 1, store, texts));
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[0].text,
              "You need to restart the program for the changes to take effect.");
    EXPECT_EQ(dialogs.shown[0].kind, MessageKind::Information);
}

} // namespace
} // namespace lcdiag
