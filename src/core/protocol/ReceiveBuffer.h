#pragma once

#include <array>
#include <cstdint>
#include <span>

namespace lcdiag {

// The bytes received from the controller and not yet handled. When appending would fill it,
// the oldest bytes go first: only the last 3072 are kept.
class ReceiveBuffer {
public:
    static constexpr int Capacity = 4096;
    static constexpr int KeptOnOverflow = 3072;
    static constexpr int MaxReadPerEvent = 1024;

    // Appends at most MaxReadPerEvent bytes (the rest of a larger span is ignored).
    void Append(std::span<const std::uint8_t> bytes);
    // Replaces the content with at most Capacity bytes.
    void Assign(std::span<const std::uint8_t> bytes);
    // Removes the first `count` bytes (all of them when count exceeds the fill).
    void Consume(int count);
    void Clear() { count_ = 0; }

    std::span<const std::uint8_t> Bytes() const {
        return {data_.data(), static_cast<std::size_t>(count_)};
    }
    int Count() const { return count_; }

private:
    std::array<std::uint8_t, Capacity> data_{};
    int count_ = 0;
};

} // namespace lcdiag
