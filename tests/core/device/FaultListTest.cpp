#include "core/device/FaultList.h"

#include <gtest/gtest.h>
#include <vector>

namespace lcdiag {
namespace {

constexpr ControllerType Receiver = ControllerType::Receiver;
constexpr ControllerType Emitter = ControllerType::Emitter;

TEST(FaultListTest, KeepsOneEntryPerCodeWithTheNewestOnTop) {
    FaultList faults;
    faults.AddFaults(0b1001, Receiver);
    EXPECT_EQ(faults.Entries(), (std::vector<FaultEntry>{{4, 203}, {1, 200}}));
    faults.AddFaults(0b0001, Receiver);
    faults.AddFaults(0b0001, Receiver);
    EXPECT_EQ(faults.Entries(), (std::vector<FaultEntry>{{1, 200}, {4, 203}}));
    faults.AddFaults(1u << 9 | 1u << 11, Receiver); // both OSSD channels
    EXPECT_EQ(faults.Entries().front(), (FaultEntry{12, 211}));
    EXPECT_EQ(faults.Entries()[1], (FaultEntry{10, 209}));
}

// Codes the unit cannot report change nothing; the panel shows once when faults arrive.
TEST(FaultListTest, IgnoresCodesTheUnitCannotReportAndShowsThePanelOnce) {
    FaultList faults;
    const std::uint32_t revision = faults.Revision();
    EXPECT_FALSE(faults.AddFaults(1u << 15 | 1u << 16 | 1u << 23 | 1u << 30, Receiver));
    EXPECT_FALSE(faults.AddFaults(0x81, Emitter));
    EXPECT_FALSE(faults.AddFaults(0, Receiver));
    EXPECT_TRUE(faults.Entries().empty());
    EXPECT_FALSE(faults.PanelVisible());
    EXPECT_EQ(faults.Revision(), revision);
    EXPECT_EQ(FaultTextId(Receiver, 16), 0);
    EXPECT_EQ(FaultTextId(Receiver, 23), 222);
    EXPECT_EQ(FaultTextId(Emitter, 7), 256);
    EXPECT_EQ(FaultTextId(Emitter, 8), 0);
    EXPECT_EQ(FaultTextId(Emitter, -5), 0);

    EXPECT_TRUE(faults.AddFaults(0x40, Emitter));
    EXPECT_TRUE(faults.PanelVisible());
    EXPECT_FALSE(faults.AddFaults(0x40, Emitter));
    faults.ToggleWindow(); // the menu item hides the panel and clears the list
    EXPECT_FALSE(faults.PanelVisible());
    EXPECT_TRUE(faults.Entries().empty());
    faults.ToggleWindow();
    EXPECT_TRUE(faults.PanelVisible());
    faults.HidePanel();
    EXPECT_TRUE(faults.AddFaults(0x02, Emitter));
}

TEST(FaultListTest, SwitchingTheConnectedUnitClearsTheListOnlyOnAChange) {
    FaultList faults;
    ControllerType connected = Receiver;
    faults.AddFaults(1, Receiver);
    EXPECT_FALSE(SwitchToControllerType(connected, Receiver, faults));
    EXPECT_EQ(faults.Entries().size(), 1u);
    EXPECT_TRUE(SwitchToControllerType(connected, Emitter, faults));
    EXPECT_EQ(connected, Emitter);
    EXPECT_TRUE(faults.Entries().empty());
    faults.AddFaults(2, Emitter);
    EXPECT_TRUE(SwitchToControllerType(connected, Emitter, faults, true));
    EXPECT_TRUE(faults.Entries().empty());
}

} // namespace
} // namespace lcdiag
