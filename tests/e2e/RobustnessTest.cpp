// What the dialogue makes of awkward input: bytes arrive exactly as a test writes them
// into a scripted port, one receive event per call.
#include "World.h"

#include <gtest/gtest.h>

namespace lcdiag::e2e {
namespace {

class Robustness : public ::testing::Test {
protected:
    // One receive event carrying these bytes.
    void Receive(const std::string& bytes) {
        port.incoming.insert(port.incoming.end(), bytes.begin(), bytes.end());
        controller.ComPortRxChar(static_cast<int>(bytes.size()));
    }
    std::string Keyword(int id) const { return std::string(controller.Keywords().Text(id)); }

    sim::VirtualClock clock;
    ScriptedPort port;
    ImmediateTimers timers;
    RecordingView view;
    FixedPcClock pcClock;
    const Texts texts;
    ConnectionController controller{port, clock, timers, view, texts, pcClock, {1, 40}};
};

TEST_F(Robustness, GarbageBeforeTheIdentificationGoesWithIt) {
    controller.ComPortAfterOpen();
    Receive("\x00\xFFnoise" + Keyword(kw::ReceiverIdentLong) + "tail");
    EXPECT_EQ(controller.State(), LinkState::Identified);
    EXPECT_TRUE(controller.LongLayout());
    EXPECT_EQ(port.written, Keyword(kw::PcAnswerReceiver));
    Receive(Keyword(kw::OperatingHours) + std::string("\x00\x00\x07\x00\x00\x08", 6));
    EXPECT_EQ(controller.OperatingHours(), 7U); // "tail" was emptied with the identification
}

TEST_F(Robustness, OnlyTheFirstOfTwoFramesIsHandledPerEvent) {
    controller.ComPortAfterOpen();
    Receive(Keyword(kw::ReceiverIdentShort));
    Receive(Keyword(kw::FirmwareWithType) + "2133" + Keyword(kw::OperatingHours) +
            std::string("\x00\x01\x00\x00\x01\x00", 6));
    EXPECT_EQ(controller.Firmware().version, 133);
    EXPECT_EQ(controller.OperatingHours(), 0U); // keyword 16 still waits in the buffer
    Receive("");
    EXPECT_EQ(controller.OperatingHours(), 256U);
}

TEST_F(Robustness, TheLatestIdentificationChoosesTheLayout) {
    controller.ComPortAfterOpen();
    Receive(Keyword(kw::ReceiverIdentShort));
    EXPECT_FALSE(controller.LongLayout());
    controller.ComPortBeforeClose();
    controller.ComPortAfterOpen();
    Receive(Keyword(kw::ReceiverIdentLong));
    EXPECT_TRUE(controller.LongLayout());
}

TEST_F(Robustness, PrefixKeywordsWaitForTheirLongerPartner) {
    controller.ComPortAfterOpen();
    Receive(Keyword(kw::ReceiverIdentLong));
    Receive(Keyword(kw::FirmwareWithType) + "1"); // 8 incomplete: 9 is complete, but sees "_"
    EXPECT_EQ(controller.Firmware().version, 0);
    Receive("22");
    EXPECT_EQ(controller.Firmware().version, 0);
    Receive("x");
    EXPECT_EQ(controller.Firmware().version, 0); // "122x": 8 with type digit 1, version "22x"
    EXPECT_EQ(controller.Info().firmware, "2.2x");
    Receive(Keyword(kw::FirmwareWithType) + "0123"); // type digit 0: left in the buffer
    EXPECT_EQ(controller.Info().firmware, "2.2x");
}

TEST_F(Robustness, AFloodOfGarbageNeverHidesTheNextIdentification) {
    controller.ComPortAfterOpen();
    for (int i = 0; i < 20; ++i) {
        Receive(std::string(1024, static_cast<char>('A' + i)));
    }
    Receive(Keyword(kw::EmitterIdentLong));
    EXPECT_EQ(controller.State(), LinkState::Identified);
    EXPECT_EQ(controller.Unit(), ControllerType::Emitter);
}

TEST_F(Robustness, BytesWhileRecognitionIsOffAreThrownAway) {
    controller.ComPortAfterOpen();
    controller.ComPortBeforeClose();
    Receive(Keyword(kw::ReceiverIdentLong));
    controller.ComPortAfterOpen();
    Receive("");
    EXPECT_EQ(controller.State(), LinkState::Idle);
}

} // namespace
} // namespace lcdiag::e2e
