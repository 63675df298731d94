#pragma once

#include "core/protocol/Clock.h"

#include <cstdint>

namespace lcdiag::sim {

// A millisecond tick that moves only when told to: tests and the simulated port own time.
class VirtualClock final : public Clock {
public:
    explicit VirtualClock(std::uint32_t start = 0) : now_(start) {}

    std::uint32_t Now() const override { return now_; }
    void Advance(std::uint32_t ms) { now_ += ms; }

private:
    std::uint32_t now_;
};

} // namespace lcdiag::sim
