#include "core/app/ZnaFile.h"

#include "core/app/Utf16.h"

#include <limits>

namespace lcdiag {
namespace {

constexpr std::size_t HeaderSize = 16;
constexpr std::size_t NameOffset = 20;
constexpr std::size_t IndexEntrySize = 8;
constexpr std::size_t IndexSize = TextIdCount * IndexEntrySize;
constexpr std::uint8_t Version = 1;

std::uint32_t ReadU32(std::span<const std::uint8_t> bytes, std::size_t at) {
    return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) |
           (static_cast<std::uint32_t>(bytes[at + 3]) << 24);
}

std::uint16_t ReadU16(std::span<const std::uint8_t> bytes, std::size_t at) {
    return static_cast<std::uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

void PutU16(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void PutUtf16(std::vector<std::uint8_t>& out, const std::u16string& text) {
    for (char16_t unit : text) {
        PutU16(out, unit);
    }
}

bool HasValidHeader(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= HeaderSize && bytes[0] == 'Z' && bytes[1] == 'N' && bytes[2] == 'A' &&
           bytes[3] == Version;
}

// The text of one index entry, or empty when it lies outside the file.
std::string TextAt(std::span<const std::uint8_t> bytes, std::uint64_t textArea,
                   std::span<const std::uint8_t> entry) {
    const std::uint64_t start = textArea + ReadU32(entry, 0);
    const std::uint64_t size = 2 * std::uint64_t{ReadU16(entry, 4)};
    if (start > bytes.size() || size > bytes.size() - start) {
        return {};
    }
    return Utf16LeToUtf8(bytes.subspan(start, size));
}

} // namespace

bool DecodeZna(std::span<const std::uint8_t> bytes, LanguageData& data) {
    if (!HasValidHeader(bytes)) {
        return false;
    }
    data.headerFlag = bytes[4] != 0;
    if (bytes.size() < NameOffset) {
        return false;
    }
    const std::uint64_t nameSize = 2 * std::uint64_t{ReadU32(bytes, HeaderSize)};
    if (nameSize > bytes.size() - NameOffset) {
        return false;
    }
    if (nameSize > 0) {
        data.name = Utf16LeToUtf8(bytes.subspan(NameOffset, nameSize));
    }
    const std::uint64_t indexStart = NameOffset + nameSize;
    if (IndexSize > bytes.size() - indexStart) {
        return false;
    }
    const std::uint64_t textArea = indexStart + IndexSize;
    for (std::uint32_t id = 0; id < TextIdCount; ++id) {
        const auto entry = bytes.subspan(indexStart + id * IndexEntrySize, IndexEntrySize);
        if (ReadU16(entry, 4) != 0) {
            data.texts[id] = TextAt(bytes, textArea, entry);
        }
        data.attributes[id] = entry[6];
    }
    return true;
}

std::optional<std::vector<std::uint8_t>> EncodeZna(const LanguageData& data) {
    if (data.texts.size() != TextIdCount || data.attributes.size() != TextIdCount) {
        return std::nullopt;
    }
    std::vector<std::u16string> texts(TextIdCount);
    std::uint64_t textAreaSize = 0;
    for (std::uint32_t id = 0; id < TextIdCount; ++id) {
        texts[id] = Utf8ToUtf16(data.texts[id]);
        if (texts[id].size() > std::numeric_limits<std::uint16_t>::max()) {
            return std::nullopt;
        }
        textAreaSize += 2 * texts[id].size();
    }
    if (textAreaSize > std::numeric_limits<std::uint32_t>::max()) {
        return std::nullopt;
    }
    const std::u16string name = Utf8ToUtf16(data.name);
    std::vector<std::uint8_t> out = {'Z', 'N', 'A', Version, data.headerFlag, 0, 0, 0};
    out.reserve(NameOffset + 2 * name.size() + IndexSize + textAreaSize);
    PutU32(out, 0);
    PutU32(out, TextIdCount - 1);
    PutU32(out, static_cast<std::uint32_t>(name.size()));
    PutUtf16(out, name);
    std::uint32_t offset = 0;
    for (std::uint32_t id = 0; id < TextIdCount; ++id) {
        PutU32(out, offset);
        PutU16(out, static_cast<std::uint16_t>(texts[id].size()));
        out.push_back(data.attributes[id]);
        out.push_back(0);
        offset += static_cast<std::uint32_t>(2 * texts[id].size());
    }
    for (const std::u16string& text : texts) {
        PutUtf16(out, text);
    }
    return out;
}

} // namespace lcdiag
