#pragma once

#include <filesystem>
#include <vector>

namespace lcdiag {

// A per-user base folder of the desktop's conventions: $variable when it is an absolute path,
// else the home folder's `fallback` (".config", ".local/share"); empty when no home folder is
// known.
std::filesystem::path UserBaseFolder(const char* variable, const std::filesystem::path& fallback);

// Where the program looks for language files, in order of preference: "Lang" beside the
// program (a self-built one), the data folder of the prefix it is installed in
// (<prefix>/share/lcdiag/Lang, so that an unpacked package finds its own), the system's
// /usr/share/lcdiag/Lang, and the user's ($XDG_DATA_HOME/lcdiag/Lang, ~/.local/share when
// unset), where a language can be added without root. Each folder once.
std::vector<std::filesystem::path> LanguageFolders(const std::filesystem::path& programFolder);

} // namespace lcdiag
