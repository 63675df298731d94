#pragma once

namespace lcdiag {

// The record layout of the connected controller: older firmware sends the short layout,
// newer firmware the long one. Internally every record is held in the long layout.
enum class Layout { Short, Long };

constexpr Layout LayoutOf(bool longLayout) {
    return longLayout ? Layout::Long : Layout::Short;
}

} // namespace lcdiag
