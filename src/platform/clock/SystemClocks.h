#pragma once

#include "core/device/PcClock.h"
#include "core/protocol/Clock.h"

namespace lcdiag {

// The millisecond tick of the steady clock, wrapping at 32 bits like the dialogue expects.
class SteadyTickClock final : public Clock {
public:
    std::uint32_t Now() const override;
};

// The PC's local date and time, which stamps the records the PC builds.
class LocalPcClock final : public PcClock {
public:
    CalendarTime Now() const override;
};

} // namespace lcdiag
