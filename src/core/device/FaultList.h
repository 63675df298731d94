#pragma once

#include "core/device/ControllerType.h"

#include <cstdint>
#include <vector>

namespace lcdiag {

// A fault the controller reported: its code and the text id the list shows it with.
struct FaultEntry {
    int code = 0;
    int textId = 0;

    friend bool operator==(const FaultEntry&, const FaultEntry&) = default;
};

// The text id of a fault code: receiver codes 1-15 and 18-23 have texts 200-214 and 217-222,
// emitter codes 2-7 texts 251-256. 0 for a code the unit cannot report.
int FaultTextId(ControllerType unit, int code);

// The faults shown in the error panel: one entry per code, the newest on top, and whether
// the panel (and the check mark of its "Fault window" menu item) is shown. The view mirrors
// it whenever Revision() has changed.
class FaultList {
public:
    // In one update, bit i of the word (ascending) reports fault code i + 1: its entry moves
    // to the top, or is inserted there. Bits of codes the unit cannot report are ignored.
    // Returns true when the panel has to be shown now (a non-zero word while it was hidden);
    // it then counts as shown.
    bool AddFaults(std::uint32_t word, ControllerType unit);
    void Clear();
    // The "Fault window" menu item: clears the list and shows or hides the panel.
    void ToggleWindow();
    // A reset of the dialogue hides the panel.
    void HidePanel();

    const std::vector<FaultEntry>& Entries() const { return entries_; }
    bool PanelVisible() const { return panelVisible_; }
    // Changes once with every update of the list or the panel.
    std::uint32_t Revision() const { return revision_; }

private:
    std::vector<FaultEntry> entries_; // newest first
    bool panelVisible_ = false;
    std::uint32_t revision_ = 0;
};

// Makes `type` the connected unit: stores it and clears the fault list (one update). Nothing
// happens when it already is the connected unit, unless `force` is set (start-up, so that
// the full switch runs once). Returns whether the switch ran: the caller then redraws title,
// information and legend and shows the unit's panels.
bool SwitchToControllerType(ControllerType& connected, ControllerType type, FaultList& faults,
                            bool force = false);

} // namespace lcdiag
