#include "core/device/FaultList.h"

#include <algorithm>

namespace lcdiag {

namespace {

// Fault bits the units can report: the receiver has no codes 16, 17 and 24, the emitter
// reports codes 2 to 7 only.
constexpr std::uint32_t ReceiverFaultBits = 0x7E7FFF;
constexpr std::uint32_t EmitterFaultBits = 0x7E;

std::uint32_t ReportableBits(ControllerType unit) {
    switch (unit) {
    case ControllerType::Receiver:
        return ReceiverFaultBits;
    case ControllerType::Emitter:
        return EmitterFaultBits;
    }
    return 0;
}

int FirstTextId(ControllerType unit) {
    return unit == ControllerType::Receiver ? 200 : 250;
}

} // namespace

int FaultTextId(ControllerType unit, int code) {
    const bool reportable =
        code >= 1 && code <= 32 && (ReportableBits(unit) >> (code - 1) & 1) != 0;
    return reportable ? FirstTextId(unit) + code - 1 : 0;
}

bool FaultList::AddFaults(std::uint32_t word, ControllerType unit) {
    word &= ReportableBits(unit);
    if (word == 0) {
        return false;
    }
    for (int bit = 0; bit < 32; ++bit) {
        if ((word >> bit & 1) == 0) {
            continue;
        }
        const int code = bit + 1;
        std::erase_if(entries_, [code](const FaultEntry& entry) { return entry.code == code; });
        entries_.insert(entries_.begin(), {code, FaultTextId(unit, code)});
    }
    ++revision_;
    const bool show = !panelVisible_;
    panelVisible_ = true;
    return show;
}

void FaultList::Clear() {
    entries_.clear();
    ++revision_;
}

void FaultList::ToggleWindow() {
    entries_.clear();
    panelVisible_ = !panelVisible_;
    ++revision_;
}

void FaultList::HidePanel() {
    panelVisible_ = false;
    ++revision_;
}

bool SwitchToControllerType(ControllerType& connected, ControllerType type, FaultList& faults,
                            bool force) {
    if (type == connected && !force) {
        return false;
    }
    connected = type;
    faults.Clear();
    return true;
}

} // namespace lcdiag
