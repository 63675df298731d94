#pragma once

#include <cstdint>

namespace lcdiag {

// A 32-bit millisecond tick that wraps: compare two ticks by unsigned subtraction.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::uint32_t Now() const = 0;
};

// Milliseconds from `earlier` to `later`, correct across the wrap of the tick.
constexpr std::uint32_t Elapsed(std::uint32_t earlier, std::uint32_t later) {
    return later - earlier;
}

} // namespace lcdiag
