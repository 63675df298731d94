#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <span>
#include <string_view>

namespace lcdiag::sim {

// The send queue of one end of the serial line: bytes waiting to go out, possibly with
// pauses between them, in which the line stays idle.
class Transmitter {
public:
    void Send(std::span<const std::uint8_t> bytes);
    void Send(std::string_view text);
    // The line stays idle this long before the next byte goes out.
    void Pause(std::uint32_t ms);
    void Clear() { items_.clear(); }

    bool Empty() const { return items_.empty(); }
    // Bytes still queued, pauses not counted.
    std::size_t Pending() const;

    // The wire's side: whether a pause holds the line in this millisecond (and lets one
    // millisecond of it pass), and the next byte to go out.
    bool PauseOneMillisecond();
    std::optional<std::uint8_t> TakeByte();

private:
    struct Item {
        std::uint8_t byte = 0;
        std::uint32_t pause = 0; // a pause when not 0
    };
    std::deque<Item> items_;
};

} // namespace lcdiag::sim
