#pragma once

#include "core/device/PcClock.h"

namespace lcdiag::test {

// A PC clock that always shows the same moment.
class FixedClock : public PcClock {
public:
    explicit FixedClock(CalendarTime time = {2014, 3, 5, 17, 8, 9}) : time_(time) {}
    CalendarTime Now() const override { return time_; }

private:
    CalendarTime time_;
};

} // namespace lcdiag::test
