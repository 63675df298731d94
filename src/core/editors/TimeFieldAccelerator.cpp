#include "core/editors/TimeFieldAccelerator.h"

namespace lcdiag {

TimeFieldAccelerator::TimeFieldAccelerator(AccelerationTimer& timer, std::span<TimeField> fields)
    : timer_(timer), fields_(fields) {}

void TimeFieldAccelerator::Pressed(int index, Button button) {
    if (button != Button::Left || index < 0 || static_cast<std::size_t>(index) >= fields_.size()) {
        return;
    }
    held_ = &fields_[static_cast<std::size_t>(index)];
    held_->AccelerationStarted();
    timer_.Start(Interval);
}

void TimeFieldAccelerator::Released(Button button) {
    if (button == Button::Left) {
        Stop();
    }
}

// A tick that arrives after the timer stopped finds no field and stops it again.
void TimeFieldAccelerator::Tick() {
    if (held_ == nullptr || !held_->AccelerationTick()) {
        Stop();
    }
}

void TimeFieldAccelerator::Stop() {
    timer_.Stop();
    held_ = nullptr;
}

} // namespace lcdiag
