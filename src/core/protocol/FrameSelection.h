#pragma once

#include "core/protocol/ExpectedKeywordList.h"
#include "core/protocol/KeywordTable.h"

#include <cstdint>
#include <optional>
#include <span>

namespace lcdiag {

// A complete frame found in the received bytes: its keyword, where it starts and how many
// bytes it spans (keyword and data).
struct SelectedFrame {
    int id = -1;
    int position = 0;
    int length = 0;
};

// Finds the expected keyword whose first occurrence comes earliest in the buffer and whose
// whole frame has arrived; on a tie the id added to the list first wins. An incomplete frame
// is never selected: its bytes wait for the rest.
std::optional<SelectedFrame> SelectFrame(const KeywordTable& table,
                                         const ExpectedKeywordList& expected,
                                         std::span<const std::uint8_t> buffer, Layout layout);

} // namespace lcdiag
