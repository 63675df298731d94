#include "platform/prefs/UserFolders.h"

#include <algorithm>
#include <cstdlib>
#include <pwd.h>
#include <unistd.h>

namespace lcdiag {
namespace {

std::filesystem::path HomeFolder() {
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        return home;
    }
    const passwd* user = ::getpwuid(::getuid());
    return user != nullptr && user->pw_dir != nullptr ? user->pw_dir : "";
}

} // namespace

std::filesystem::path UserBaseFolder(const char* variable, const std::filesystem::path& fallback) {
    std::filesystem::path base;
    if (const char* value = std::getenv(variable); value != nullptr) {
        base = value;
    }
    if (base.is_absolute()) {
        return base;
    }
    const std::filesystem::path home = HomeFolder();
    return home.empty() ? std::filesystem::path{} : home / fallback;
}

std::vector<std::filesystem::path> LanguageFolders(const std::filesystem::path& programFolder) {
    const std::filesystem::path user = UserBaseFolder("XDG_DATA_HOME", ".local/share");
    const std::filesystem::path candidates[] = {
        programFolder / "Lang",
        (programFolder / ".." / "share" / "lcdiag" / "Lang").lexically_normal(),
        "/usr/share/lcdiag/Lang",
        user.empty() ? std::filesystem::path{} : user / "lcdiag" / "Lang",
    };
    std::vector<std::filesystem::path> folders;
    for (const std::filesystem::path& folder : candidates) {
        if (!folder.empty() && std::find(folders.begin(), folders.end(), folder) == folders.end()) {
            folders.push_back(folder);
        }
    }
    return folders;
}

} // namespace lcdiag
