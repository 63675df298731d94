#include "core/protocol/PortSwitch.h"

namespace lcdiag {

PortEvents* PortSwitch::Input::Target() const {
    return &owner_.Selected() == &source_ ? owner_.listener_ : nullptr;
}

void PortSwitch::Input::Pass(void (PortEvents::*event)()) const {
    if (PortEvents* target = Target()) {
        (target->*event)();
    }
}

void PortSwitch::Input::ComPortRxChar(int count) {
    if (PortEvents* target = Target()) {
        target->ComPortRxChar(count);
    }
}

void PortSwitch::Select(Port& source, const Clock& clock) {
    source_ = &source;
    clock_.Select(clock);
}

} // namespace lcdiag
