#include "platform/prefs/UserFolders.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <string>

namespace lcdiag {
namespace {

// Sets a variable for one test and puts the old value back.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) {
            old_ = old;
        }
        value != nullptr ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedVariable() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }

private:
    const char* name_;
    std::optional<std::string> old_;
};

TEST(UserFolders, LanguageFoldersBesideTheProgramTheInstalledOnesThenTheUsers) {
    const ScopedVariable data("XDG_DATA_HOME", "/home/tech/data");
    using Folders = std::vector<std::filesystem::path>;
    EXPECT_EQ(LanguageFolders("/opt/lcdiag/bin"),
              (Folders{"/opt/lcdiag/bin/Lang", "/opt/lcdiag/share/lcdiag/Lang",
                       "/usr/share/lcdiag/Lang", "/home/tech/data/lcdiag/Lang"}));
    // Installed in /usr: the prefix's data folder is the system's, once.
    EXPECT_EQ(LanguageFolders("/usr/bin"),
              (Folders{"/usr/bin/Lang", "/usr/share/lcdiag/Lang", "/home/tech/data/lcdiag/Lang"}));

    const ScopedVariable relative("XDG_DATA_HOME", "data"); // not absolute: ignored
    const ScopedVariable home("HOME", "/home/tech");
    EXPECT_EQ(LanguageFolders("/usr/bin").back(), "/home/tech/.local/share/lcdiag/Lang");
}

} // namespace
} // namespace lcdiag
