#pragma once

// What the courses through the user settings pages share: a bench connected to the simulated
// unit with the page shown, and the save, the confirmation and the answer to the transfer's
// message.
#include "AppTestSupport.h"
#include "PagesBench.h"
#include "RecordByHand.h"

#include <gtest/gtest.h>
#include <memory>

namespace lcdiag::test {

// A standard receiver (device type 1) with the settings of a fresh configuration: start
// interlock by the button, 300 ms relay delay; `typeDigit` 2 makes it a muting controller.
inline sim::ControllerConfig Receiver(int typeDigit = 1, int version = 136,
                                      sim::CustomerSettings settings = {}) {
    sim::ControllerConfig config;
    config.firmware = {typeDigit, version};
    config.activeSettings = settings;
    return config;
}

class UserSettingsPages : public ::testing::Test {
protected:
    void Open(const sim::ControllerConfig& config) {
        bench = std::make_unique<PagesBench>(config);
        ASSERT_TRUE(bench->Connect());
        before = bench->world.device->ActiveCustomerRecord();
        factory = bench->world.device->FactoryRecord();
        ASSERT_TRUE(bench->SetViewMode(ViewMode::CustomerSettings));
    }

    bool Emitter() const { return bench->world.device->Config().unit == sim::Unit::Emitter; }

    // Save, confirm after two seconds, and the transfer's message with `answer` to the offer
    // of the report.
    std::string SaveAndConfirm(MessageResult answer = MessageResult::Yes) {
        bench->world.dialogs.answer = answer;
        bench->world.dialogs.shown.clear();
        bench->Click(Emitter() ? "Btn_EUS_1" : "Btn_RUS_1");
        bench->Run(2000);
        bench->Click(Emitter() ? "Btn_EUS_2" : "Btn_RUS_2");
        EXPECT_TRUE(bench->RunUntil([&] { return !bench->world.dialogs.shown.empty(); }));
        return bench->Messages().empty() ? std::string() : bench->Messages().back();
    }

    std::string Text(TextId id) const { return bench->world.texts.GetText(id); }

    TempFolder temp;
    std::unique_ptr<PagesBench> bench;
    Bytes before;
    Bytes factory;
};

} // namespace lcdiag::test
