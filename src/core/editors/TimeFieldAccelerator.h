#pragma once

#include "core/editors/TimeField.h"

#include <span>

namespace lcdiag {

// The timer that widens the step of a held arrow control; one serves all time fields.
class AccelerationTimer {
public:
    virtual ~AccelerationTimer() = default;
    virtual void Start(int intervalMilliseconds) = 0;
    virtual void Stop() = 0;
};

// Holding the left button on a field's arrows widens its step every two seconds. The arrow
// control's own auto-repeat makes the clicks; this only remembers which field is held and
// drives the shared timer.
class TimeFieldAccelerator {
public:
    static constexpr int Interval = 2000; // ms between two widenings

    enum class Button { Left, Other };

    // `fields` are addressed by index (the Tag of the arrow control) and must outlive this.
    TimeFieldAccelerator(AccelerationTimer& timer, std::span<TimeField> fields);

    // A press of a button other than the left one, or on an index that names no field,
    // changes nothing.
    void Pressed(int index, Button button);
    void Released(Button button);
    void Tick();

    // The field whose step is widening, or nullptr once released or at the widest step.
    const TimeField* Accelerating() const { return held_; }

private:
    void Stop();

    AccelerationTimer& timer_;
    std::span<TimeField> fields_;
    TimeField* held_ = nullptr;
};

} // namespace lcdiag
