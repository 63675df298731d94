#include "core/editors/EmitterSettings.h"

#include "../app/AppTestSupport.h"
#include "../device/FixedClock.h"
#include "core/app/Texts.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace lcdiag {
namespace {

using EF = EmitterCustomerField;

EmitterCustomerRecord Coded(std::uint8_t byte0) {
    EmitterCustomerRecord record;
    record.SetByte(EF::BeamCoding, byte0);
    return record;
}

class EmitterSettingsTest : public ::testing::Test {
protected:
    std::vector<std::string> Shown() const {
        std::vector<std::string> texts;
        for (const auto& shown : dialogs.shown) {
            texts.push_back(shown.text);
        }
        return texts;
    }

    test::RecordingDialogs dialogs;
    Texts texts{nullptr, &dialogs};
    EmitterSettings page{texts};
};

// A page that cannot load keeps beam coding as it was (on).
TEST_F(EmitterSettingsTest, LoadsBeamCodingFromTheRecordOrTheDefaults) {
    const EmitterCustomerRecord on = Coded('b');
    const EmitterCustomerRecord off = Coded('A');
    const EmitterCustomerRecord other = Coded('B');
    struct Case {
        bool factory;
        const EmitterCustomerRecord* customer;
        bool defaults;
        bool loaded;
        TextId message; // 0: none
        bool coding;
    };
    const Case cases[] = {
        {true, &on, false, true, 0, true},     {true, &off, false, true, 0, false},
        {true, &other, false, true, 0, false}, {true, &on, true, true, 0, false},
        {true, nullptr, true, true, 0, false}, {true, nullptr, false, false, 119, true},
        {false, &on, false, false, 117, true}, {false, nullptr, true, false, 117, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.factory << c.defaults << c.message);
        ASSERT_TRUE(page.Load(true, &on, false));
        dialogs.shown.clear();
        EXPECT_EQ(page.Load(c.factory, c.customer, c.defaults), c.loaded);
        EXPECT_EQ(Shown(), c.message == 0 ? std::vector<std::string>{}
                                          : std::vector{texts.GetText(c.message)});
        EXPECT_EQ(page.BeamCodingA(), c.coding);
    }
}

TEST_F(EmitterSettingsTest, EveryUserChangeWarnsAndTheRecordCarriesIt) {
    const test::FixedClock clock;
    for (bool coded : {true, false}) {
        page.Click();
        EXPECT_EQ(page.BeamCodingA(), coded);
        const EmitterCustomerRecord record = page.Save(clock);
        EXPECT_EQ(record.Byte(EF::BeamCoding), coded ? 'b' : 'A');
        EXPECT_EQ(record.Byte(EF::BeamCodingComplement), coded ? 255 - 'b' : 255 - 'A');
    }
    EXPECT_EQ(Shown(), std::vector(2, texts.GetText(132)));

    page.Click();
    dialogs.shown.clear();
    page.Defaults();
    EXPECT_FALSE(page.BeamCodingA());
    EXPECT_TRUE(dialogs.shown.empty());
}

} // namespace
} // namespace lcdiag
