#include "core/views/StatusIndicators.h"

#include "SampleCycles.h"
#include "core/views/LiveViewData.h"
#include "core/views/StatusLayout.h"

#include <gtest/gtest.h>

namespace lcdiag {
namespace {

using namespace testing;

TEST(StatusIndicatorsTest, ReceiverFunctionsLightFromTheStatusBytes) {
    ReceiverSample sample;
    sample.function1 = 0x02 | 0x08 | 0x80; // start interlock, fixed blanking, cascading; EDM
    sample.function2 = 0x08;               // restart interlock signal
    sample.muting = 0x10 | 0x04;           // sensor group 2, process control
    sample.cyclic = 0x80 | 0x0B;
    const auto lights = FunctionTableLights(ReceiverData(sample));
    EXPECT_EQ(lights[0], (FunctionLights{false, true}));
    EXPECT_EQ(lights[1], (FunctionLights{true, false}));
    EXPECT_EQ(lights[2], (FunctionLights{true, false})); // bit 2 clear: EDM active
    EXPECT_EQ(lights[3], (FunctionLights{}));
    EXPECT_EQ(lights[4], (FunctionLights{true, false}));
    EXPECT_EQ(lights[5], (FunctionLights{true, false}));
    EXPECT_EQ(lights[10], (FunctionLights{true, false}));
    EXPECT_EQ(lights[11], (FunctionLights{}));
    EXPECT_EQ(lights[12], (FunctionLights{false, true}));
    EXPECT_EQ(lights[13], (FunctionLights{true, false}));
    EXPECT_EQ(CycleCountShown(ReceiverData(sample)), 11);

    sample.function1 = 0x04;
    sample.function2 = 0x04;
    EXPECT_EQ(FunctionTableLights(ReceiverData(sample))[2], (FunctionLights{false, true}));
}

TEST(StatusIndicatorsTest, WithoutAValidCycleEverythingIsDark) {
    ReceiverSample sample;
    sample.function1 = 0xFF;
    sample.cyclic = 0x8F;
    LiveViewData data = ReceiverData(sample);
    data.receiverCycle.Clear();
    for (const FunctionLights& light : FunctionTableLights(data)) {
        EXPECT_EQ(light, FunctionLights{});
    }
    EXPECT_EQ(CycleCountShown(data), 0);
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

TEST(StatusIndicatorsTest, FunctionTableLayout) {
    const FunctionTableMetrics metrics{{120, 20}, {40, 13}, 36, 200, 15};
    const FunctionTableLayout layout = MakeFunctionTableLayout(metrics);
    EXPECT_EQ(layout.textWidth, 200);
    EXPECT_EQ(layout.width, 200 + 40 + 36 + 48 + 4);
    EXPECT_EQ(layout.height, 16 * 19 + 32 + 20 + 2 + 30);
    EXPECT_EQ(layout.columnLine, 20 + 24 + 2);
    EXPECT_EQ(layout.RowTop(0), 46 + 21 + 3);
    EXPECT_EQ(layout.RowTop(1) - layout.RowTop(0), 21);
    EXPECT_EQ(layout.activeLeft, 200 + 16 + 2 + 8 + (40 - 13) / 2);
    EXPECT_EQ(layout.signalLeft, layout.activeLeft + 38 + 18);
}

TEST(StatusIndicatorsTest, WideHeadingWidensTheTextColumn) {
    const FunctionTableMetrics metrics{{500, 20}, {40, 13}, 36, 100, 1};
    const FunctionTableLayout layout = MakeFunctionTableLayout(metrics);
    EXPECT_EQ(layout.width, 516);
    EXPECT_EQ(layout.textWidth, 100 + 516 - (100 + 40 + 36 + 52));
    EXPECT_EQ(layout.headingLeft, 8);

    const LedTableMetrics leds{{300, 20}, 13, 60, 13, 23, 6};
    const LedTableLayout ledLayout = MakeLedTableLayout(leds);
    EXPECT_EQ(ledLayout.width, 316);
    EXPECT_EQ(ledLayout.textWidth, 316 - 13 - 34);
    EXPECT_EQ(ledLayout.height, 32 + 20 + 2 + 6 * 29 + 5 * 2);
    EXPECT_EQ(ledLayout.TextTop(1), ledLayout.top + 31 + 3 + 5);
}

} // namespace
} // namespace lcdiag
