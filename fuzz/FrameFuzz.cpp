// Feeds arbitrary device bytes to frame selection and to every decoder: nothing may read or
// write outside its buffers.
#include "core/protocol/FrameSelection.h"
#include "core/protocol/RecordCodec.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace {

using namespace lcdiag;

void DecodeEveryKind(const RecordCodec& codec, std::span<const std::uint8_t> data, Layout layout) {
    std::array<std::uint8_t, 8 * 152> target{};
    for (BlockKind kind :
         {BlockKind::Factory, BlockKind::Customer, BlockKind::CyclePart, BlockKind::Diagnostic}) {
        codec.Decode(data, target, layout, kind);
    }
    codec.DecodeCustomerSet(data, target, layout, data.empty() ? 0 : data[0] % 9);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    static const KeywordTable table;
    const RecordCodec codec(table.KeywordSum());
    if (size < 2) {
        return 0;
    }
    // The first byte chooses the layout and which ids are expected; the rest is the buffer.
    const Layout layout = (bytes[0] & 0x80) != 0 ? Layout::Long : Layout::Short;
    ExpectedKeywordList expected;
    for (int id = 0; id < KeywordTable::Count; ++id) {
        if ((bytes[0] + id) % 3 == 0) {
            expected.Add(id);
        }
    }
    const std::span<const std::uint8_t> buffer(bytes + 1, size - 1);
    if (const auto frame = SelectFrame(table, expected, buffer, layout)) {
        const auto data = buffer.subspan(static_cast<std::size_t>(frame->position))
                              .first(static_cast<std::size_t>(frame->length));
        DecodeEveryKind(codec, data.subspan(table.Text(frame->id).size()), layout);
    }
    DecodeEveryKind(codec, buffer, layout);
    return 0;
}
