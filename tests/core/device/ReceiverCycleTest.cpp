#include "core/device/ReceiverCycle.h"

#include "core/device/EmitterCycle.h"
#include "core/device/FaultList.h"
#include "core/protocol/KeywordTable.h"
#include "core/protocol/RecordCodec.h"

#include <gtest/gtest.h>
#include <vector>

namespace lcdiag {
namespace {

using Bytes = std::vector<std::uint8_t>;

class ReceiverCycleTest : public ::testing::Test {
protected:
    // A long part with its digit, beam count, a byte 3, a fault byte 4 and a good checksum.
    Bytes Part(int part, int beams = 16, std::uint8_t byte3 = 1, std::uint8_t faults = 0) {
        Bytes bytes(41, 0);
        bytes[1] = static_cast<std::uint8_t>('0' + part);
        bytes[2] = static_cast<std::uint8_t>(beams);
        bytes[3] = byte3;
        bytes[part == 1 ? 30 : 4] = faults;
        bytes[6] = 0xF0; // the first four beams in the part's mask
        const char* serial = part == 1   ? "AB\x01"
                                           "CD"
                             : part == 2 ? "EFGHI"
                                         : "zzzzz";
        std::copy_n(serial, 5, bytes.begin() + 34);
        codec.WriteChecksum(bytes, BlockKind::CyclePart, Layout::Long);
        return bytes;
    }

    CycleOutcome Receive(const Bytes& part, Layout layout = Layout::Long) {
        return cycle.ReceivePart(part, layout, codec, faults, info);
    }

    CycleOutcome ReceiveTriple(const Bytes& p1, const Bytes& p2, const Bytes& p3) {
        CycleOutcome outcome = Receive(p1);
        const CycleOutcome second = Receive(p2);
        const CycleOutcome third = Receive(p3);
        outcome.showErrorPanel |= second.showErrorPanel || third.showErrorPanel;
        outcome.applied = third.applied;
        outcome.infoChanged = third.infoChanged;
        return outcome;
    }

    KeywordTable table;
    RecordCodec codec{table.KeywordSum()};
    FaultList faults;
    InfoTexts info;
    ReceiverCycle cycle;
};

TEST_F(ReceiverCycleTest, AppliesACompleteCycleAndRefreshesTheInformation) {
    EXPECT_EQ(cycle.BeamCount(), 0);
    EXPECT_EQ(ReceiveTriple(Part(1, 15), Part(2, 15, 1), Part(3, 15)),
              (CycleOutcome{true, true, false}));
    EXPECT_TRUE(cycle.Valid());
    EXPECT_EQ(cycle.BeamCount(), 15);
    EXPECT_EQ(info.serialNumber, "ABCDEFGHI");
    EXPECT_EQ(info.resolution, "14");
    EXPECT_EQ(info.protectionField, "160");
    EXPECT_TRUE(cycle.FreeMask().Test(3));
    EXPECT_FALSE(cycle.ActiveMask().Test(4));
    EXPECT_EQ(ReceiveTriple(Part(1, 15), Part(2, 15, 1), Part(3, 15)),
              (CycleOutcome{true, false, false}));
    cycle.Clear();
    EXPECT_EQ(cycle.BeamCount(), 0);
}

TEST_F(ReceiverCycleTest, SingleBeamGridIsDrawnWithOneBeam) {
    ReceiveTriple(Part(1, 5), Part(2, 5, 7), Part(3, 5));
    EXPECT_EQ(info.protectionField, "500");
    EXPECT_EQ(info.resolution, "500");
    EXPECT_EQ(cycle.BeamCount(), 1);
    EXPECT_EQ(cycle.Applied().part2.Byte(CyclePart2Field::BeamCount), 1);
    EXPECT_EQ(cycle.Applied().part3.Byte(CyclePart3Field::BeamCount), 1);
}

TEST_F(ReceiverCycleTest, DropsACycleWithABadPartButReportsTheGoodPartsFaults) {
    ReceiveTriple(Part(1, 15), Part(2, 15, 1), Part(3, 15));
    Bytes bad = Part(2, 40, 2, 0x01);
    bad[10] ^= 1;
    EXPECT_EQ(ReceiveTriple(Part(1, 40, 1, 0x02), bad, Part(3, 40, 1, 0x02)),
              (CycleOutcome{false, false, true}));
    EXPECT_EQ(cycle.BeamCount(), 15); // the previous cycle stays
    EXPECT_EQ(info.protectionField, "160");
    EXPECT_EQ(faults.Entries(), (std::vector<FaultEntry>{{18, 217}, {2, 201}}));
}

TEST_F(ReceiverCycleTest, BuildsTheFaultWordFromTheThreeParts) {
    ReceiveTriple(Part(1, 8), Part(2, 8), Part(3, 8, 1, 0x81)); // part 3: bits 0 and 7 masked
    EXPECT_TRUE(faults.Entries().empty());
    // Part 1: codes 1 and 8; part 2 bit 6 is code 15 (bit 7 masked).
    ReceiveTriple(Part(1, 8, 1, 0x81), Part(2, 8, 1, 0xC0), Part(3, 8));
    EXPECT_EQ(faults.Entries(), (std::vector<FaultEntry>{{15, 214}, {8, 207}, {1, 200}}));
    ReceiveTriple(Part(1, 8, 1, 0x01), Part(2, 8), Part(3, 8, 1, 0x7E));
    EXPECT_EQ(faults.Entries().size(), 9u);
    EXPECT_EQ(faults.Entries()[0], (FaultEntry{23, 222}));
    EXPECT_EQ(faults.Entries()[6], (FaultEntry{1, 200}));
}

TEST_F(ReceiverCycleTest, JudgesShortPartsByTheChecksumTheyArrivedWith) {
    const auto shortPart = [&](int part, bool good) {
        Bytes bytes(35, 0);
        bytes[1] = static_cast<std::uint8_t>('0' + part);
        bytes[2] = 20;
        bytes[3] = 2;
        codec.WriteChecksum(bytes, BlockKind::CyclePart, Layout::Short);
        if (!good)
            bytes[20] ^= 1;
        return bytes;
    };
    Receive(shortPart(1, true), Layout::Short);
    Receive(shortPart(2, false), Layout::Short);
    EXPECT_FALSE(Receive(shortPart(3, true), Layout::Short).applied);
    Receive(shortPart(1, true), Layout::Short);
    Receive(shortPart(2, true), Layout::Short);
    EXPECT_TRUE(Receive(shortPart(3, true), Layout::Short).applied);
    EXPECT_EQ(cycle.BeamCount(), 20);
    EXPECT_EQ(info.protectionField, "410");
}

TEST_F(ReceiverCycleTest, SurvivesWhateverTheControllerSends) {
    EXPECT_EQ(Receive(Bytes(40, '3')), CycleOutcome{});
    Bytes unknown = Part(1);
    unknown[1] = '4';
    EXPECT_EQ(Receive(unknown), CycleOutcome{});
    // A beam count beyond what a mask holds is clamped for the views.
    ReceiveTriple(Part(1, 255), Part(2, 255, 1), Part(3, 255));
    EXPECT_EQ(cycle.BeamCount(), BeamMask::Capacity);
    EXPECT_EQ(info.protectionField, "2560");
}

class EmitterCycleTest : public ReceiverCycleTest {
protected:
    Bytes Record(int beams, std::uint8_t faultBits) {
        Bytes bytes(64, 0);
        bytes[0] = static_cast<std::uint8_t>(beams);
        bytes[1] = faultBits;
        codec.WriteChecksum(bytes, BlockKind::Diagnostic, Layout::Long);
        return bytes;
    }
    CycleOutcome Receive(const Bytes& record) {
        return emitter.Receive(record, Layout::Long, codec, factory, faults, info);
    }

    EmitterFactoryRecord factory;
    EmitterCycle emitter;
};

TEST_F(EmitterCycleTest, AppliesGoodRecordsAndReportsTheirFaults) {
    factory.SetByte(EmitterFactoryField::DeviceType, 2);
    EXPECT_EQ(Receive(Record(20, 0x02)), (CycleOutcome{true, true, true}));
    EXPECT_EQ(faults.Entries(), std::vector<FaultEntry>{(FaultEntry{2, 251})});
    EXPECT_EQ(info.protectionField, "410");
    EXPECT_EQ(info.resolution, "30");
    EXPECT_EQ(emitter.BeamCount(), 20);

    EXPECT_EQ(Receive(Record(20, 0x81)), (CycleOutcome{true, false, false}));
    EXPECT_EQ(faults.Entries().size(), 1u);
    Bytes bad = Record(30, 0x04);
    bad[40] = 1;
    EXPECT_EQ(Receive(bad), CycleOutcome{});
    EXPECT_EQ(emitter.BeamCount(), 20);
    EXPECT_EQ(Receive(Bytes(63, 0)), CycleOutcome{});
}

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
