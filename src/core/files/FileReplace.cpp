#include "core/files/FileReplace.h"

#include <cstdio>
#include <fstream>
#include <string>
#include <system_error>
#include <utility>

namespace lcdiag {
namespace {

namespace fs = std::filesystem;

// Names tried for the temporary file before giving up: "<name>.tmp", "<name>.tmp1", ...
constexpr int TemporaryNames = 100;

bool IsReadOnlyFile(const fs::path& path) {
    constexpr fs::perms anyWrite =
        fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    std::error_code error;
    const fs::file_status status = fs::status(path, error);
    return fs::exists(status) && (status.permissions() & anyWrite) == fs::perms::none;
}

// Creates the file only when no file of that name exists, so that a file someone else owns
// (a leftover of a crash, a user's own "x.tmp") is never overwritten or removed.
std::FILE* CreateNewFile(const fs::path& path) {
    return std::fopen(path.string().c_str(), "wbx");
}

// A new file beside the target under the first free temporary name; no file when the folder
// does not take one.
std::pair<fs::path, std::FILE*> CreateTemporaryBeside(const fs::path& path) {
    for (int attempt = 0; attempt < TemporaryNames; ++attempt) {
        fs::path temporary = path;
        temporary += attempt == 0 ? ".tmp" : ".tmp" + std::to_string(attempt);
        if (std::FILE* file = CreateNewFile(temporary)) {
            return {temporary, file};
        }
        std::error_code error;
        if (!fs::exists(fs::symlink_status(temporary, error))) {
            break; // not a name clash: the folder is missing or not writable
        }
    }
    return {fs::path{}, nullptr};
}

// Writes and closes the file; false when any part of it failed (a full disk shows on close).
bool WriteAndClose(std::FILE* file, std::span<const std::uint8_t> bytes) {
    const bool written =
        bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    return std::fclose(file) == 0 && written;
}

void CopyPermissions(const fs::path& from, const fs::path& to) {
    std::error_code error;
    const fs::file_status status = fs::status(from, error);
    if (fs::exists(status)) {
        fs::permissions(to, status.permissions(), error);
    }
}

} // namespace

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const fs::path& path,
                                                       std::uintmax_t maxSize) {
    std::error_code error;
    const std::uintmax_t size = fs::file_size(path, error);
    if (error || size > maxSize) {
        return std::nullopt;
    }
    std::ifstream in(path, std::ios::binary);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (!in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size))) {
        return std::nullopt;
    }
    return bytes;
}

bool ReplaceFile(const fs::path& path, std::span<const std::uint8_t> bytes) {
    if (IsReadOnlyFile(path)) {
        return false;
    }
    const auto [temporary, file] = CreateTemporaryBeside(path);
    if (file == nullptr) {
        return false;
    }
    std::error_code error;
    if (WriteAndClose(file, bytes)) {
        CopyPermissions(path, temporary);
        fs::rename(temporary, path, error);
        if (!error) {
            return true;
        }
    }
    fs::remove(temporary, error);
    return false;
}

} // namespace lcdiag
