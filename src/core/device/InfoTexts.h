#pragma once

#include <string>

namespace lcdiag {

// The values of the information panel, as plain texts; each starts as its unknown value. The
// panel adds the units (" mm", " h") itself.
struct InfoTexts {
    std::string type = "xxxxxxxxxx";
    std::string resolution = "xx";
    std::string protectionField = "xx";
    std::string firmware = "x.xx";
    std::string serialNumber = "xxxxxxxxxx";
    std::string configurationDate = "xx.xx.xxxx";
    std::string configurationTime = "xx:xx:xx";
    std::string operatingHours = "0";

    friend bool operator==(const InfoTexts&, const InfoTexts&) = default;
};

// What taking in a diagnostic cycle asks of the views.
struct CycleOutcome {
    bool applied = false;        // a cycle was applied: redraw the current view
    bool infoChanged = false;    // the information panel shows other texts now
    bool showErrorPanel = false; // faults arrived while the error panel was hidden

    friend bool operator==(const CycleOutcome&, const CycleOutcome&) = default;
};

} // namespace lcdiag
