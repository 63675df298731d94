// The user settings pages end to end: the real widgets load the unit's active record, the
// user edits them, saves, confirms within ten seconds, the transfer stores the record in the
// simulated controller, and the report is filed. What the controller stored is compared
// byte for byte with a record built here by hand from the pages' mapping.
#include "PagesCourse.h"

#include <QCheckBox>
#include <QSpinBox>

namespace lcdiag::test {
namespace {

TEST_F(UserSettingsPages, ReceiverEditsAreStoredAsTheMappingSaysAndReported) {
    Open(Receiver());
    bench->Find<QSpinBox>("Edt_RUSG_21")->setValue(200); // relay delay
    bench->Find<QSpinBox>("Edt_RUSG_51")->setValue(1);   // one floating beam
    bench->Click("ChckBx_RUSG_31");                      // beam coding A
    EXPECT_EQ(bench->Messages(), std::vector<std::string>{Text(131)});
    bench->Click("Btn_RUSG_41"); // fixed blanking by hand: beams 6 and 7
    ASSERT_EQ(bench->Mode(), ViewMode::BeamSelection);
    bench->PressBeam(5);
    bench->PressBeam(6);
    bench->Click("Btn_Main_2");
    ASSERT_EQ(bench->Mode(), ViewMode::CustomerSettings);
    EXPECT_TRUE(bench->Find<QCheckBox>("ChckBx_RUSG_41")->isChecked());

    bench->reportFile = temp.Path() / "settings";
    EXPECT_EQ(SaveAndConfirm(), Text(114));

    Bytes expected = before;
    expected[0] = 0x01 | 0x08 | 0x10 | 0x40; // button interlock, fixed, one floating, coding A
    expected[4] = 21;                        // (200 ms / 10) + 1
    expected[34] = 1;
    PutFactoryMasks(expected, factory);
    ClearBeam(expected, BlankingMask, 5);
    ClearBeam(expected, BlankingMask, 6);
    expected[138] = 0; // no multiple interruption on a standard controller
    Finish(expected, bench->world.controller);
    EXPECT_EQ(bench->world.device->ActiveCustomerRecord(), expected);

    const std::string report = ReadText(temp.Path() / "settings.txt");
    EXPECT_EQ(report.rfind("Date: ", 0), 0u);
    EXPECT_NE(report.find(" Relay delay [ms]: 200\r\n"), std::string::npos);
    EXPECT_NE(report.find("   7            blanked out\r\n"), std::string::npos);
    EXPECT_EQ(report.substr(report.size() - 2), "\r\n");
}

// Teaching takes the beams an object interrupts when the user accepts.
TEST_F(UserSettingsPages, TeachingBlanksTheBeamsTheObjectInterrupts) {
    auto config = Receiver();
    config.scenes.teachObject = sim::BeamZone{3, 3};
    Open(config);
    bench->Click("Btn_RUSG_42");
    ASSERT_EQ(bench->Mode(), ViewMode::BeamSelection);
    bench->Run(200); // the selection follows the live cycles
    bench->Click("Btn_Main_2");
    ASSERT_EQ(bench->Mode(), ViewMode::CustomerSettings);
    EXPECT_EQ(SaveAndConfirm(), Text(114));

    Bytes expected = before;
    expected[0] = 0x01 | 0x08;
    PutFactoryMasks(expected, factory);
    for (int beam : {2, 3, 4}) {
        ClearBeam(expected, BlankingMask, beam);
    }
    expected[138] = 0;
    Finish(expected, bench->world.controller);
    EXPECT_EQ(bench->world.device->ActiveCustomerRecord(), expected);
}

} // namespace
} // namespace lcdiag::test
