#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <vector>

namespace lcdiag {

// The whole file, or nothing when it is missing, unreadable or larger than `maxSize` bytes.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::filesystem::path& path,
                                                       std::uintmax_t maxSize);

// Makes `bytes` the file's whole content, or changes nothing: the bytes go into a new file
// beside the target, which is then renamed over it, so that no reader ever sees half a file.
// Returns false, with the old file intact and no temporary file left behind, when the folder
// is missing or not writable, the write fails, or the target is a read-only file (one without
// any write permission: renaming over it would bypass the protection an overwrite honours).
// A replaced file keeps its permissions. The folder is not created.
bool ReplaceFile(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

} // namespace lcdiag
