#include "platform/prefs/IniPreferenceStore.h"

#include "core/app/IniDocument.h"
#include "platform/prefs/UserFolders.h"

#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <unistd.h>

namespace lcdiag {
namespace {

// The file's text; an empty text when it does not exist, nullopt when it cannot be read.
std::optional<std::string> ReadDocument(const std::filesystem::path& file) {
    std::error_code error;
    const auto status = std::filesystem::status(file, error);
    if (status.type() == std::filesystem::file_type::not_found) {
        return std::string{};
    }
    const std::uintmax_t size = std::filesystem::file_size(file, error);
    if (error || size > IniPreferenceStore::MaxFileSize) {
        return std::nullopt;
    }
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) {
        return std::nullopt;
    }
    return text;
}

bool WriteAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0 && errno == EINTR) {
            continue;
        }
        if (written <= 0) {
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// Writes a temporary file beside the target, flushes it to the disk and renames it over the
// target: readers see the old or the new file, never a part.
bool ReplaceDocument(const std::filesystem::path& file, std::string_view text) {
    std::string temporary = file.string() + ".XXXXXX";
    const int fd = ::mkstemp(temporary.data());
    if (fd < 0) {
        return false;
    }
    const bool written = WriteAll(fd, text) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || ::rename(temporary.c_str(), file.c_str()) != 0) {
        ::unlink(temporary.c_str());
        return false;
    }
    return true;
}

// Creates the folder and its missing parents, readable by the user alone.
bool MakeFolder(const std::filesystem::path& folder) {
    std::error_code error;
    if (folder.empty() || std::filesystem::is_directory(folder, error)) {
        return true;
    }
    if (!MakeFolder(folder.parent_path())) {
        return false;
    }
    return ::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

} // namespace

std::filesystem::path IniPreferenceStore::DefaultFile() {
    const std::filesystem::path config = UserBaseFolder("XDG_CONFIG_HOME", ".config");
    return config.empty() ? std::filesystem::path{} : config / "lcdiag" / "preferences.ini";
}

std::optional<std::string> IniPreferenceStore::ReadValue(const PreferenceKey& key,
                                                         std::string_view name) {
    if (file_.empty()) {
        return std::nullopt;
    }
    const auto document = ReadDocument(file_);
    if (!document) {
        return std::nullopt;
    }
    return IniReadValue(*document, IniSectionName(key), name);
}

bool IniPreferenceStore::WriteValue(const PreferenceKey& key, std::string_view name,
                                    std::string_view value) {
    if (file_.empty()) {
        return false;
    }
    const auto document = ReadDocument(file_);
    if (!document) {
        return false;
    }
    const auto changed = IniWriteValue(*document, IniSectionName(key), name, value);
    return changed && MakeFolder(file_.parent_path()) && ReplaceDocument(file_, *changed);
}

} // namespace lcdiag
