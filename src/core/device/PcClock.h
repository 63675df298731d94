#pragma once

namespace lcdiag {

// A date and time of the PC's local clock.
struct CalendarTime {
    int year = 2000;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;

    friend bool operator==(const CalendarTime&, const CalendarTime&) = default;
};

// The PC's calendar clock, which stamps the records the PC builds. The platform supplies the
// real one; tests pass a fixed time.
class PcClock {
public:
    virtual ~PcClock() = default;
    virtual CalendarTime Now() const = 0;
};

} // namespace lcdiag
