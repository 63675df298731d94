#include "sim/Transmitter.h"

#include <algorithm>

namespace lcdiag::sim {

void Transmitter::Send(std::span<const std::uint8_t> bytes) {
    for (std::uint8_t byte : bytes) {
        items_.push_back({byte, 0});
    }
}

void Transmitter::Send(std::string_view text) {
    for (char c : text) {
        items_.push_back({static_cast<std::uint8_t>(c), 0});
    }
}

void Transmitter::Pause(std::uint32_t ms) {
    if (ms > 0) {
        items_.push_back({0, ms});
    }
}

std::size_t Transmitter::Pending() const {
    return static_cast<std::size_t>(std::count_if(
        items_.begin(), items_.end(), [](const Item& item) { return item.pause == 0; }));
}

bool Transmitter::PauseOneMillisecond() {
    if (items_.empty() || items_.front().pause == 0) {
        return false;
    }
    if (--items_.front().pause == 0) {
        items_.pop_front();
    }
    return true;
}

std::optional<std::uint8_t> Transmitter::TakeByte() {
    if (items_.empty() || items_.front().pause != 0) {
        return std::nullopt;
    }
    const std::uint8_t byte = items_.front().byte;
    items_.pop_front();
    return byte;
}

} // namespace lcdiag::sim
