#include "core/app/Preferences.h"

#include "AppTestSupport.h"
#include "core/app/IniDocument.h"
#include "core/app/ScreenProfile.h"

#include <gtest/gtest.h>

namespace lcdiag {
namespace {

using test::MemoryPreferenceStore;

TEST(Preferences, RootKeySelection) {
    struct Row {
        std::string_view path;
        RootKey root;
        std::string_view subKey;
    };
    const Row rows[] = {
        {"HKEY_CURRENT_USER\\Software\\Kelberg\\DVX7", RootKey::CurrentUser,
         "Software\\Kelberg\\DVX7"},
        {"Software\\Kelberg\\DVX7", RootKey::CurrentUser, "Software\\Kelberg\\DVX7"},
        {"HKEY_LOCAL_MACHINE\\\\\\Hardware", RootKey::LocalMachine, "Hardware"},
        {"x\\HKEY_USERS\\a", RootKey::Users, "a"},
        {"HKEY_CLASSES_ROOT\\HKEY_CURRENT_CONFIG\\b", RootKey::CurrentConfig, "b"},
        // The order of the search decides, not the order in the path.
        {"HKEY_CURRENT_CONFIG\\HKEY_CLASSES_ROOT\\c", RootKey::ClassesRoot, "c"},
        {"HKEY_USERS", RootKey::Users, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.path);
        const PreferenceKey key = SelectRootKey(row.path);
        EXPECT_EQ(key.root, row.root);
        EXPECT_EQ(key.subKey, row.subKey);
    }
    EXPECT_EQ(PreferenceKeyPath(), "HKEY_CURRENT_USER\\Software\\Kelberg\\DVX7");
}

TEST(Preferences, DefaultsFirstThenValuesPerKeyAndName) {
    MemoryPreferenceStore store;
    const std::string& path = PreferenceKeyPath();
    EXPECT_EQ(RegReadString(store, path, pref::Lang, ""), "");
    EXPECT_EQ(RegReadInteger(store, path, pref::Resolution, 0), 0);
    EXPECT_EQ(RegReadInteger(store, path, pref::Dimensions, 0), 0);
    EXPECT_EQ(RegReadString(store, path, pref::ComPort, pref::DefaultComPort), "USB");
    EXPECT_TRUE(store.document.empty()); // reading creates nothing

    EXPECT_TRUE(RegWriteInteger(store, path, pref::Resolution, -3));
    EXPECT_TRUE(RegWriteString(store, path, pref::ComPort, "/dev/ttyUSB0"));
    EXPECT_TRUE(RegWriteString(store, "Software\\Kelberg\\DVX7", pref::Lang, "Deutsch.zna"));
    EXPECT_EQ(RegReadInteger(store, path, pref::Resolution, 0), -3);
    EXPECT_EQ(RegReadString(store, path, "comport", ""), "/dev/ttyUSB0");
    // A path without a root name lands under HKEY_CURRENT_USER.
    EXPECT_EQ(RegReadString(store, path, pref::Lang, ""), "Deutsch.zna");
    EXPECT_EQ(RegReadString(store, "HKEY_USERS\\Software\\Kelberg\\DVX7", pref::Lang, "-"), "-");
}

TEST(Preferences, AValueOfTheOtherType) {
    MemoryPreferenceStore store;
    const std::string& path = PreferenceKeyPath();
    RegWriteInteger(store, path, pref::Dimensions, 1);
    EXPECT_EQ(RegReadString(store, path, pref::Dimensions, ""), "1");
    for (const std::string_view text : {"USB", "", " 1", "1.5", "2147483648", "0x10"}) {
        RegWriteString(store, path, pref::Resolution, text);
        EXPECT_EQ(RegReadInteger(store, path, pref::Resolution, 4), 4) << text;
    }
    RegWriteString(store, path, pref::Resolution, "-2147483648");
    EXPECT_EQ(RegReadInteger(store, path, pref::Resolution, 4), -2147483647 - 1);
}

TEST(IniDocument, ChangesOnlyTheLineOfTheValue) {
    const std::string document = "; written by hand\n"
                                 "[HKEY_CURRENT_USER\\Software\\Other]\n"
                                 "Lang=keep\n"
                                 "\n"
                                 "[hkey_current_user\\software\\kelberg\\dvx7]\r\n"
                                 "  lang = Deutsch.zna  \r\n"
                                 "Resolution=1\n"
                                 "\n";
    const std::string section = "HKEY_CURRENT_USER\\Software\\Kelberg\\DVX7";
    EXPECT_EQ(IniReadValue(document, section, "Lang"), "Deutsch.zna");
    EXPECT_EQ(IniReadValue(document, section, "Password"), std::nullopt);
    EXPECT_EQ(IniReadValue(document, "HKEY_CURRENT_USER\\Software", "Lang"), std::nullopt);

    auto changed = IniWriteValue(document, section, "LANG", "English.zna");
    ASSERT_TRUE(changed);
    changed = IniWriteValue(*changed, section, "ComPort", "USB");
    ASSERT_TRUE(changed);
    EXPECT_EQ(*changed, "; written by hand\n"
                        "[HKEY_CURRENT_USER\\Software\\Other]\n"
                        "Lang=keep\n"
                        "\n"
                        "[hkey_current_user\\software\\kelberg\\dvx7]\n"
                        "LANG=English.zna\n"
                        "Resolution=1\n"
                        "ComPort=USB\n"
                        "\n");
}

// Line ends converted twice (CR CR LF) end the line: the values read without carriage returns,
// and writing one value changes no other.
TEST(IniDocument, LinesEndingInSeveralCarriageReturnsKeepTheirValuesAcrossAWrite) {
    const std::string section = "HKEY_CURRENT_USER\\Software\\Kelberg\\DVX7";
    const std::string document = "[" + section + "]\r\r\nLang=German\r\r\r\nResolution=2\r\r\n";
    EXPECT_EQ(IniReadValue(document, section, "Lang"), "German");
    const auto changed = IniWriteValue(document, section, "ComPort", "USB");
    ASSERT_TRUE(changed);
    EXPECT_EQ(*changed, "[" + section + "]\nLang=German\nResolution=2\nComPort=USB\n");
}

TEST(IniDocument, AnyValueSurvivesAndBadNamesAreRefused) {
    const std::string section = "HKEY_CURRENT_USER\\x";
    for (const std::string_view value :
         {"", " padded ", "\"quoted\"", "a\\b", "line\r\nbreak", "=;#[x]", "\""}) {
        const auto document = IniWriteValue("", section, "v", value);
        ASSERT_TRUE(document) << value;
        EXPECT_EQ(IniReadValue(*document, section, "v"), value);
    }
    EXPECT_EQ(*IniWriteValue("", section, "v", " a\\b"), "[HKEY_CURRENT_USER\\x]\nv=\" a\\\\b\"\n");
    for (const std::string_view name : {"", " ", "a=b", "a\nb", "#a", ";a", "[a]"}) {
        EXPECT_FALSE(IniWriteValue("", section, name, "1")) << name;
    }
    EXPECT_FALSE(IniWriteValue("", "a\nb", "v", "1"));
}

TEST(ScreenProfile, StoredProfileIsUsedOnlyWhenItIsOneThatFitsTheScreen) {
    EXPECT_EQ(ChooseScreenProfile(4, 1440, 900), 4);
    EXPECT_EQ(ChooseScreenProfile(4, 1439, 900), 0);
    EXPECT_EQ(ChooseScreenProfile(3, 1280, 1023), 0);
    EXPECT_EQ(ChooseScreenProfile(2, 1920, 1080), 2);
    // Profile 0 is never refused, even on a smaller screen.
    EXPECT_EQ(ChooseScreenProfile(0, 640, 480), 0);
    EXPECT_TRUE(ProfileFitsScreen(0, 640, 480));
    // The stored value is user data.
    EXPECT_EQ(ChooseScreenProfile(5, 4000, 4000), 0);
    EXPECT_EQ(ChooseScreenProfile(-1, 4000, 4000), 0);
}

} // namespace
} // namespace lcdiag
