#include "platform/prefs/IniPreferenceStore.h"

#include "AppTestSupport.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace lcdiag {
namespace {

using test::TempFolder;

// Sets an environment variable for one test and restores it afterwards.
class ScopedEnv {
public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedEnv() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }
    ScopedEnv(const ScopedEnv&) = delete;
    ScopedEnv& operator=(const ScopedEnv&) = delete;

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(IniPreferenceStore, FileLivesUnderTheUsersConfigFolder) {
    const ScopedEnv home("HOME", "/home/tech");
    {
        const ScopedEnv xdg("XDG_CONFIG_HOME", "/cfg");
        EXPECT_EQ(IniPreferenceStore::DefaultFile(), "/cfg/lcdiag/preferences.ini");
    }
    for (const char* ignored : {static_cast<const char*>(nullptr), "", "relative/cfg"}) {
        const ScopedEnv xdg("XDG_CONFIG_HOME", ignored);
        EXPECT_EQ(IniPreferenceStore::DefaultFile(), "/home/tech/.config/lcdiag/preferences.ini");
    }
}

TEST(IniPreferenceStore, FirstStartReadsDefaultsAndWritesNothing) {
    const TempFolder temp;
    IniPreferenceStore store(temp / "config/lcdiag/preferences.ini");
    EXPECT_EQ(RegReadString(store, PreferenceKeyPath(), pref::ComPort, pref::DefaultComPort),
              "USB");
    EXPECT_EQ(RegReadInteger(store, PreferenceKeyPath(), pref::Resolution, 0), 0);
    EXPECT_FALSE(std::filesystem::exists(temp / "config"));
}

TEST(IniPreferenceStore, AWrittenValueSurvivesANewStoreAndReplacesTheFileWhole) {
    const TempFolder temp;
    const auto file = temp / "config/lcdiag/preferences.ini";
    {
        IniPreferenceStore store(file);
        ASSERT_TRUE(RegWriteString(store, PreferenceKeyPath(), pref::Lang, "Deutsch.zna"));
        ASSERT_TRUE(RegWriteInteger(store, "Software\\Kelberg\\DVX7", pref::Resolution, 3));
    }
    IniPreferenceStore store(file);
    EXPECT_EQ(RegReadString(store, PreferenceKeyPath(), pref::Lang, ""), "Deutsch.zna");
    EXPECT_EQ(RegReadInteger(store, PreferenceKeyPath(), pref::Resolution, 0), 3);
    const auto bytes = test::ReadFile(file);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()),
              "[HKEY_CURRENT_USER\\Software\\Kelberg\\DVX7]\nLang=Deutsch.zna\nResolution=3\n");
    struct stat info {};
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u); // the scrambled password lives here
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(file.parent_path()),
                            std::filesystem::directory_iterator{}),
              1); // no temporary file left behind
}

TEST(IniPreferenceStore, AFileItCannotReadIsNeverOverwritten) {
    const TempFolder temp;
    const auto file = temp / "preferences.ini";
    std::filesystem::create_directory(file); // not a file at all
    IniPreferenceStore folder(file);
    EXPECT_FALSE(RegWriteInteger(folder, PreferenceKeyPath(), pref::Dimensions, 1));

    const auto big = temp / "big.ini";
    test::WriteFile(big, std::vector<std::uint8_t>(IniPreferenceStore::MaxFileSize + 1, 'x'));
    IniPreferenceStore tooBig(big);
    EXPECT_EQ(RegReadInteger(tooBig, PreferenceKeyPath(), pref::Dimensions, 0), 0);
    EXPECT_FALSE(RegWriteInteger(tooBig, PreferenceKeyPath(), pref::Dimensions, 1));
    EXPECT_EQ(std::filesystem::file_size(big), IniPreferenceStore::MaxFileSize + 1);

    IniPreferenceStore nowhere{std::filesystem::path{}};
    EXPECT_FALSE(RegWriteInteger(nowhere, PreferenceKeyPath(), pref::Dimensions, 1));
}

} // namespace
} // namespace lcdiag
