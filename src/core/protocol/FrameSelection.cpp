#include "core/protocol/FrameSelection.h"

namespace lcdiag {

std::optional<SelectedFrame> SelectFrame(const KeywordTable& table,
                                         const ExpectedKeywordList& expected,
                                         std::span<const std::uint8_t> buffer, Layout layout) {
    std::optional<SelectedFrame> best;
    const auto count = static_cast<long>(buffer.size());
    for (int id : expected.Ids()) {
        const int position = table.Find(buffer, id);
        if (position < 0 || (best && position >= best->position)) {
            continue;
        }
        const int length = table.FrameLength(id, layout);
        if (length <= count - position) {
            best = SelectedFrame{id, position, length};
        }
    }
    return best;
}

} // namespace lcdiag
