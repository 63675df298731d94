#include "core/views/StatusIndicators.h"

#include "SampleCycles.h"
#include "core/views/LiveViewData.h"
#include "core/views/StatusLayout.h"

#include <gtest/gtest.h>
#include <map>
#include <vector>

namespace lcdiag {
namespace {

using namespace testing;

// Bit 2 of function-status byte 1 clear means EDM active; its signal needs both bytes' bit 2.
// The cycle count shows the low bits of the cyclic status; without a valid cycle all is dark.
TEST(StatusIndicatorsTest, EdmCycleCountAndNoCycle) {
    ReceiverSample sample;
    sample.cyclic = 0x80 | 0x0B;
    EXPECT_EQ(FunctionTableLights(ReceiverData(sample))[2], (FunctionLights{true, false}));
    EXPECT_EQ(CycleCountShown(ReceiverData(sample)), 11);
    sample.function1 = 0x04;
    sample.function2 = 0x04;
    EXPECT_EQ(FunctionTableLights(ReceiverData(sample))[2], (FunctionLights{false, true}));

    sample.function1 = 0xFF;
    LiveViewData data = ReceiverData(sample);
    data.receiverCycle.Clear();
    for (const FunctionLights& light : FunctionTableLights(data)) {
        EXPECT_EQ(light, FunctionLights{});
    }
    EXPECT_EQ(CycleCountShown(data), 0);
}

// Every status bit lights exactly its own indicator: one bit at a time, over a cycle whose
// other bits leave the table dark (bit 2 of function-status byte 1 set: EDM not active).
TEST(StatusIndicatorsTest, EachStatusBitLightsOnlyItsOwnIndicator) {
    struct Case {
        std::uint8_t ReceiverSample::*byte;
        int bit;
        int row; // -1: no indicator
        bool signal;
    };
    const std::vector<Case> cases{
        {&ReceiverSample::function1, 0, 1, false},  {&ReceiverSample::function1, 1, 1, false},
        {&ReceiverSample::function1, 3, 5, false},  {&ReceiverSample::function1, 4, 6, false},
        {&ReceiverSample::function1, 5, 7, false},  {&ReceiverSample::function1, 6, 3, false},
        {&ReceiverSample::function1, 7, 4, false},  {&ReceiverSample::function2, 0, -1, false},
        {&ReceiverSample::function2, 1, -1, false}, {&ReceiverSample::function2, 2, 2, true},
        {&ReceiverSample::function2, 3, 0, true},   {&ReceiverSample::function2, 7, -1, false},
        {&ReceiverSample::muting, 0, 8, false},     {&ReceiverSample::muting, 1, 9, false},
        {&ReceiverSample::muting, 2, 10, false},    {&ReceiverSample::muting, 3, 11, true},
        {&ReceiverSample::muting, 4, 12, true},     {&ReceiverSample::muting, 5, -1, false},
        {&ReceiverSample::cyclic, 7, 13, false},    {&ReceiverSample::cyclic, 3, -1, false},
    };
    for (const Case& c : cases) {
        ReceiverSample sample;
        sample.function1 = 0x04;
        sample.*c.byte = static_cast<std::uint8_t>(sample.*c.byte | 1 << c.bit);
        const auto lights = FunctionTableLights(ReceiverData(sample));
        for (int row = 0; row < ReceiverFunctionRowCount; ++row) {
            const FunctionLights expected{row == c.row && !c.signal, row == c.row && c.signal};
            EXPECT_EQ(lights[static_cast<std::size_t>(row)], expected)
                << "bit " << c.bit << ", row " << row;
        }
    }
    // A lit flag has an indicator to show it.
    const auto rows = FunctionRows(ControllerType::Receiver);
    for (const Case& c : cases) {
        if (c.row >= 0) {
            const FunctionRow& row = rows[static_cast<std::size_t>(c.row)];
            EXPECT_TRUE(c.signal ? row.hasSignal : row.hasActive) << "row " << c.row;
        }
    }
}

// The status view's LED rows and the LED panels of the bar view read the same LED byte:
// each row's bit lights the panel cell the row shows, and each cell is named as the legend
// names it (column 0: multi function, blanking, signal reception; column 1: restart,
// OSSD OFF, OSSD ON; the emitter's send and status).
TEST(StatusIndicatorsTest, LedRowsShowTheCellTheirBitLights) {
    const std::map<int, TextId> receiverNames{{0, 4036}, {1, 4035}, {2, 4034},
                                              {3, 4033}, {4, 4032}, {5, 4031}};
    const std::map<int, TextId> emitterNames{{2, 4132}, {5, 4131}};
    for (ControllerType unit : {ControllerType::Receiver, ControllerType::Emitter}) {
        const auto& names = unit == ControllerType::Receiver ? receiverNames : emitterNames;
        for (const LedRow& row : LedRows(unit)) {
            EXPECT_EQ(LedCellOfBit(unit, row.bit), row.cell) << row.text;
            ASSERT_TRUE(names.contains(row.cell)) << row.text;
            EXPECT_EQ(names.at(row.cell), row.text);
        }
    }
    // Listed top to bottom: OSSD ON first, the emitter's status before send.
    EXPECT_EQ(LedRows(ControllerType::Receiver)[0].text, 4031U);
    EXPECT_EQ(LedRows(ControllerType::Emitter)[0].text, 4131U);
}

TEST(StatusIndicatorsTest, EmitterBeamCodingFromItsCustomerRecord) {
    LiveViewData data = EmitterData(EmitterSample{}, 1);
    data.emitterCustomer.SetByte(EmitterCustomerField::BeamCoding, 'b');
    EXPECT_FALSE(FunctionTableLights(data)[0].active);
    data.emitterCustomerValid = true;
    EXPECT_TRUE(FunctionTableLights(data)[0].active);
    data.emitterCustomer.SetByte(EmitterCustomerField::BeamCoding, 'A');
    EXPECT_FALSE(FunctionTableLights(data)[0].active);
    EXPECT_EQ(FunctionRows(ControllerType::Emitter).size(), 1U);
    EXPECT_EQ(LedRows(ControllerType::Emitter).size(), 2U);
}

} // namespace
} // namespace lcdiag
