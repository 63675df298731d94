#include "core/protocol/LinkStatus.h"

#include "core/app/Texts.h"

#include <gtest/gtest.h>

namespace lcdiag {
namespace {

TEST(LinkStatusTest, TheLineSaysWhichPortAndHowFarTheDialogueGot) {
    const Texts texts;
    struct Row {
        bool open;
        LinkState state;
        ControllerType unit;
        const char* expected;
    };
    const Row rows[] = {
        {false, LinkState::Diagnosis, ControllerType::Receiver, "ttyUSB0: not connected"},
        {true, LinkState::Idle, ControllerType::Emitter, "ttyUSB0: waiting for a device"},
        {true, LinkState::Identified, ControllerType::Emitter,
         "ttyUSB0: emitter connected, reading its data"},
        {true, LinkState::Diagnosis, ControllerType::Receiver,
         "ttyUSB0: receiver connected, diagnosis running"},
        {true, LinkState::TransferRequested, ControllerType::Receiver,
         "ttyUSB0: receiver connected, transferring settings"},
        {true, LinkState::TransferSent, ControllerType::Emitter,
         "ttyUSB0: emitter connected, transferring settings"},
        {true, LinkState::Reporting, ControllerType::Receiver, "ttyUSB0: receiver connected"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(LinkStatusText(texts, "ttyUSB0", row.open, row.state, row.unit), row.expected);
    }
}

} // namespace
} // namespace lcdiag
