// The GUI tests run on Qt's offscreen platform with private run-time, configuration and state
// folders, so that they need no display and leave the user's preferences and traces alone.
#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

// Libraries that Qt loads keep caches until the process ends; they are not the program's.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libdbus-1.so\nleak:libfontconfig.so\n";
}

namespace {

std::filesystem::path PrivateFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "lcdiag-gui-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        std::abort();
    }
    return pattern;
}

} // namespace

int main(int argc, char** argv) {
    const std::filesystem::path folder = PrivateFolder();
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
    setenv("XDG_CONFIG_HOME", (folder / "config").c_str(), 1);
    setenv("XDG_STATE_HOME", (folder / "state").c_str(), 1);
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
    return result;
}
