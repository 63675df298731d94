#pragma once

#include "core/app/TextId.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace lcdiag {

// What a language file (".zna") holds: one text and one attribute byte per text id 0-65535,
// the texts as UTF-8. An empty text means "not present".
struct LanguageData {
    std::string name; // display name; empty when the file names none
    bool headerFlag = false;
    std::vector<std::string> texts = std::vector<std::string>(TextIdCount);
    std::vector<std::uint8_t> attributes = std::vector<std::uint8_t>(TextIdCount);
};

// Reads a language file's bytes into data, which the caller passes cleared. Takes as much as
// the file's structure allows: nothing from a foreign or short header, the header flag and
// name when those are complete, the texts only with a complete index. An index entry whose
// text runs past the end of the file leaves that text empty (its attribute is kept).
// Returns whether the index was complete.
bool DecodeZna(std::span<const std::uint8_t> bytes, LanguageData& data);

// The bytes of a language file: header, name, index and the non-empty texts in id order.
// Nullopt when a text is longer than 65535 UTF-16 code units or the texts together exceed
// the 32-bit offsets of the index.
std::optional<std::vector<std::uint8_t>> EncodeZna(const LanguageData& data);

} // namespace lcdiag
