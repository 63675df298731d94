#include "core/views/LiveViewData.h"

#include "SampleCycles.h"
#include "core/views/BeamPalette.h"
#include "core/views/ProfileImages.h"

#include <gtest/gtest.h>

namespace lcdiag {
namespace {

using namespace testing;

// The window draws again only when the copied data does not draw alike: every field the
// pictures read must count, the tick only where the emitter's LEDs blink with it.
TEST(LiveViewDataTest, DrawsAlikeWeighsWhatThePicturesRead) {
    ReceiverSample sample;
    const LiveViewData receiver = ReceiverData(sample);
    LiveViewData same = receiver;
    same.tick += 1000; // the receiver's LEDs do not blink
    EXPECT_TRUE(DrawsAlike(receiver, same));

    using Change = void (*)(LiveViewData&);
    const Change changes[] = {
        [](LiveViewData& d) { d.controller = ControllerType::Emitter; },
        [](LiveViewData& d) { d.diagnosis = false; },
        [](LiveViewData& d) {
            ReceiverSample interrupted;
            interrupted.free = AllBut(16, {4});
            d.receiverCycle = MakeReceiverCycle(interrupted);
        },
        [](LiveViewData& d) { d.receiverCycle.Clear(); },
        [](LiveViewData& d) { d.emitterCycle = MakeEmitterCycle(EmitterSample{}, 1); },
        [](LiveViewData& d) { d.receiverFactoryValid = !d.receiverFactoryValid; },
        [](LiveViewData& d) { d.receiverFactory.SetByte(ReceiverFactoryField::DeviceType, 7); },
        [](LiveViewData& d) { d.emitterFactoryValid = !d.emitterFactoryValid; },
        [](LiveViewData& d) { d.emitterFactory.SetByte(EmitterFactoryField::DeviceType, 7); },
        [](LiveViewData& d) { d.emitterCustomerValid = !d.emitterCustomerValid; },
        [](LiveViewData& d) { d.emitterCustomer.SetByte(EmitterCustomerField::BeamCoding, 1); },
        [](LiveViewData& d) { d.dimensioning = DimensioningMode::Position; },
        [](LiveViewData& d) { d.selection.fixedBlanking.Set(3, true); },
        [](LiveViewData& d) { d.selection.mode = BeamSelectionMode::Teach; },
    };
    for (std::size_t index = 0; index < std::size(changes); ++index) {
        LiveViewData changed = receiver;
        changes[index](changed);
        EXPECT_FALSE(DrawsAlike(receiver, changed)) << "change " << index;
    }

    // The emitter's LEDs blink with a 300 ms period while it is in diagnosis.
    LiveViewData emitter = EmitterData(EmitterSample{}, 1);
    emitter.tick = 0;
    LiveViewData later = emitter;
    later.tick = 149;
    EXPECT_TRUE(DrawsAlike(emitter, later));
    later.tick = 150;
    EXPECT_FALSE(DrawsAlike(emitter, later));
}

TEST(LiveViewDataTest, LightGridsShowTheirOwnBeamCount) {
    ReceiverSample sample;
    sample.beams = 9;
    sample.type = 3;
    EXPECT_EQ(ShownBeamCount(ReceiverData(sample)), 4);
    sample.type = 4;
    EXPECT_EQ(ShownBeamCount(ReceiverData(sample)), 3);
    sample.type = 1;
    EXPECT_EQ(ShownBeamCount(ReceiverData(sample)), 9);
    // A code the program does not know keeps the count the cycle carries.
    sample.type = 0;
    EXPECT_EQ(ShownBeamCount(ReceiverData(sample)), 9);

    EmitterSample emitter;
    emitter.beams = 9;
    EXPECT_EQ(ShownBeamCount(EmitterData(emitter, 4)), 3);
    LiveViewData unknownType = EmitterData(emitter, 4);
    unknownType.emitterFactoryValid = false;
    EXPECT_EQ(ShownBeamCount(unknownType), 9);
    unknownType.emitterCycle.Clear();
    EXPECT_EQ(ShownBeamCount(unknownType), 0);
}

TEST(LiveViewDataTest, ReceiverTypeComesFromTheCycleThenTheFactoryRecord) {
    LiveViewData data;
    EXPECT_EQ(DeviceTypeCode(data), 0);
    data.receiverFactory.SetByte(ReceiverFactoryField::DeviceType, 2);
    data.receiverFactoryValid = true;
    EXPECT_EQ(DeviceTypeCode(data), 2);
    ReceiverSample sample;
    sample.type = 6;
    data.receiverCycle = MakeReceiverCycle(sample);
    EXPECT_EQ(DeviceTypeCode(data), 6);
}

TEST(LiveViewDataTest, ReceiverLedsLightWhileTheCycleReportsThem) {
    ReceiverSample sample;
    sample.ledStatus = 0x04;
    LiveViewData data = ReceiverData(sample);
    EXPECT_EQ(ReceiverLedByte(data), 0x21);
    for (std::uint8_t status : {0x20, 0x40, 0x64}) {
        sample.ledStatus = status;
        EXPECT_EQ(ReceiverLedByte(ReceiverData(sample)), 0x21);
    }
    sample.ledStatus = 0x9B; // none of the bits 0x64
    EXPECT_EQ(ReceiverLedByte(ReceiverData(sample)), 0);
    data.diagnosis = false;
    EXPECT_EQ(ReceiverLedByte(data), 0);
    data.diagnosis = true;
    data.receiverCycle.Clear();
    EXPECT_EQ(ReceiverLedByte(data), 0);
}

TEST(LiveViewDataTest, EmitterLedsBlinkWithAThreeHundredMillisecondPeriod) {
    LiveViewData data = EmitterData(EmitterSample{}, 1);
    for (auto [tick, leds] : {std::pair{149, 0}, {150, 0x03}, {299, 0x03}, {300, 0}}) {
        data.tick = tick;
        EXPECT_EQ(EmitterLedByte(data), leds) << tick;
    }
    data.tick = 450;
    data.diagnosis = false;
    EXPECT_EQ(EmitterLedByte(data), 0);
    // Bits without a cell light nothing.
    EXPECT_EQ(LedCellOfBit(ControllerType::Receiver, 6), -1);
    EXPECT_EQ(LedCellOfBit(ControllerType::Emitter, 2), -1);
    EXPECT_EQ(LedCellOfBit(ControllerType::Emitter, 9), -1);
}

TEST(LiveViewDataTest, BeamColoursFollowTheBuild) {
    const BeamPalette customer = MakeBeamPalette(false);
    const BeamPalette manufacturer = MakeBeamPalette(true);
    EXPECT_EQ(customer[3], (Rgb{255, 159, 0}));
    EXPECT_EQ(manufacturer[3], (Rgb{0, 0, 255}));
    EXPECT_EQ(customer[7], (Rgb{127, 79, 0}));
    EXPECT_EQ(customer[11], (Rgb{255, 0, 0}));
    EXPECT_EQ(manufacturer[11], (Rgb{0, 0, 255}));
    for (int i : {0, 1, 2, 4, 5, 6, 8, 9, 10, 12, 13}) {
        EXPECT_EQ(customer[static_cast<std::size_t>(i)], manufacturer[static_cast<std::size_t>(i)]);
    }
    // A stored profile number out of range falls back to profile 0.
    EXPECT_EQ(&GetProfileImages(5), &GetProfileImages(0));
    EXPECT_EQ(&GetProfileImages(-1), &GetProfileImages(0));
}

} // namespace
} // namespace lcdiag
