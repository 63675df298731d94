#include "core/protocol/ConfigTrailer.h"

#include "core/protocol/RecordCodec.h"

namespace lcdiag {

std::optional<ConfigTrailer> ConfigTrailer::Parse(const KeywordTable& table,
                                                  std::span<const std::uint8_t> bytes) {
    const std::string_view pattern = table.Text(kw::ConfigTrailerTemplate);
    if (bytes.size() < static_cast<std::size_t>(Size) || pattern.size() != Size) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const auto expected = static_cast<unsigned char>(pattern[i]);
        if (expected != 0 && bytes[i] != expected) {
            return std::nullopt;
        }
    }
    return ConfigTrailer{bytes[10], static_cast<std::uint16_t>(bytes[18] << 8 | bytes[19])};
}

std::optional<int> ConfigTrailer::ActiveSlot(Layout layout) const {
    const int recordSize = BlockLength(BlockKind::Customer, layout);
    if (RingOffset() < 0 || RingOffset() >= CustomerRecordsInSet * recordSize) {
        return std::nullopt;
    }
    return RingOffset() / recordSize;
}

} // namespace lcdiag
