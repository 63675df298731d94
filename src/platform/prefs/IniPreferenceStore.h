#pragma once

#include "core/app/Preferences.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace lcdiag {

// The per-user preference store on Linux: one INI file (see IniDocument), read for every
// value and replaced as a whole for every write, so that nothing is cached and a crash or
// a full disk never leaves half a file.
class IniPreferenceStore : public PreferenceStore {
public:
    // Larger files are not ours: they are neither read nor overwritten.
    static constexpr std::uintmax_t MaxFileSize = 1024 * 1024;

    explicit IniPreferenceStore(std::filesystem::path file) : file_(std::move(file)) {}

    // $XDG_CONFIG_HOME/lcdiag/preferences.ini, with ~/.config when XDG_CONFIG_HOME is unset
    // or not an absolute path; empty when no home folder is known.
    static std::filesystem::path DefaultFile();

    const std::filesystem::path& File() const { return file_; }

    std::optional<std::string> ReadValue(const PreferenceKey& key, std::string_view name) override;
    bool WriteValue(const PreferenceKey& key, std::string_view name,
                    std::string_view value) override;

private:
    std::filesystem::path file_;
};

} // namespace lcdiag
