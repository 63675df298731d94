// Courses through the user settings pages, end to end: the muting and cyclic operation pages of
// a muting controller, the emitter's page, the ten-second confirmation as the buttons show it,
// the default values, and the saves the checks refuse. What the controller stores is compared
// byte for byte with records built here by hand.
#include "PagesCourse.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QToolButton>
#include <functional>

namespace lcdiag::test {
namespace {

std::uint8_t ByteOf(std::uint32_t value, int shift = 0) {
    return static_cast<std::uint8_t>((value >> shift) & 0xFF);
}

// The special function bits and the two muting times of a receiver's record.
sim::CustomerSettings Special(int bits, int mutingCycleTime = 300, int conveyorStopTime = 300) {
    sim::CustomerSettings settings;
    settings.special = bits;
    settings.mutingCycleTime = mutingCycleTime;
    settings.conveyorStopTime = conveyorStopTime;
    return settings;
}

class SettingsCourses : public UserSettingsPages {
public:
    using UserSettingsPages::bench;

    bool Checked(const char* name) const { return bench->Find<QAbstractButton>(name)->isChecked(); }
    bool Enabled(const char* name) const { return bench->Find<QWidget>(name)->isEnabled(); }

    // A key in a time box with the caret at `caret`; `typed` for a character.
    void Key(const char* box, int caret, int key, const char* typed = "") {
        auto* field = bench->Find<QLineEdit>(box);
        field->setCursorPosition(caret);
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString::fromLatin1(typed));
        QApplication::sendEvent(field, &press);
    }
    // One click on the upper or the lower arrow of a time box.
    void Arrow(const char* arrows, bool up) {
        const auto buttons = bench->Find<QWidget>(arrows)->findChildren<QToolButton*>(
            QString(), Qt::FindDirectChildrenOnly);
        buttons.at(up ? 0 : 1)->click();
    }
    QString TimeText(const char* box) const { return bench->Find<QLineEdit>(box)->text(); }
    void ShowTab(int tab) { bench->Find<QTabWidget>("TbCntrl_RUserSet")->setCurrentIndex(tab); }
    int Tab() const { return bench->Find<QTabWidget>("TbCntrl_RUserSet")->currentIndex(); }

    QString ConfirmCaption(int seconds) const {
        return QString::fromStdString(bench->world.texts.GetTextInt(3002, seconds));
    }
    std::vector<std::string> TextsOf(const std::vector<TextId>& ids) const {
        std::vector<std::string> texts;
        for (TextId id : ids) {
            texts.push_back(Text(id));
        }
        return texts;
    }
    std::string ValueLine(TextId label, const std::string& value) const {
        return " " + Text(label) + ": " + value + "\r\n";
    }

    // Nothing reaches the unit: no transfer outcome, the record as it was.
    void ExpectNothingSent() {
        bench->Run(3000);
        for (const auto& outcome : bench->world.outcomes.reported) {
            EXPECT_EQ(outcome.code, ResultCode::ConfirmationExpired);
        }
        EXPECT_EQ(bench->world.device->ActiveCustomerRecord(), before);
    }
};

// The muting course on both sides of firmware 1.33, where the muting times grew from 16 to
// 24 bits: the high bytes 28 and 30 are the times' bits 16-23 from 1.33 on and are kept before
// (the simulated controller holds 0 there).
TEST_F(SettingsCourses, MutingCourseIsStoredWithTheTimesTheFirmwareKeeps) {
    struct Row {
        int version;
        QString shownTime;     // after "1" and "9" typed into the hours and one arrow up
        std::uint32_t seconds; // the muting cycle time then stored
        bool wideTimes;
    };
    for (const Row& row : {Row{133, QStringLiteral(" 19:05:01,0"), 68701, true},
                           Row{132, QStringLiteral(" 10:05:01,0"), 36301, false}}) {
        SCOPED_TRACE(row.version);
        auto config = Receiver(2, row.version);
        config.scenes.teachObject = sim::BeamZone{3, 3};
        Open(config);
        bench->Click("ChckBx_RUSG_61");
        ShowTab(1);
        ASSERT_EQ(Tab(), 1);
        EXPECT_EQ(Enabled("ChckBx_RUSM_31"), row.wideTimes);

        // Parallel 2 brings the shortened cycle and the transport out of the zone, and keeps
        // both against the user.
        bench->Click("RdBtn_RUSM_112");
        bench->Click("RdBtn_RUSM_121");
        bench->Click("ChckBx_RUSM_23");
        EXPECT_EQ(bench->Messages(), TextsOf({168, 171, 169}));
        EXPECT_TRUE(Checked("RdBtn_RUSM_112") && Checked("RdBtn_RUSM_122") &&
                    Checked("ChckBx_RUSM_23"));
        EXPECT_FALSE(Checked("RdBtn_RUSM_111") || Checked("RdBtn_RUSM_121") ||
                     Checked("RdBtn_RUSM_123") || Checked("ChckBx_RUSM_31"));

        Key("M_RUSM_11", 1, Qt::Key_1, "1"); // 00:05:00 becomes 10:05:00
        Key("M_RUSM_11", 2, Qt::Key_9, "9"); // 19:05:00 only below 18 h before 1.33
        Arrow("UpDwn_RUSM_11", true);
        EXPECT_EQ(TimeText("M_RUSM_11"), row.shownTime);

        bench->Click("RdBtn_RUSM_312"); // the muted area taught: the object in beams 3 to 5
        ASSERT_EQ(bench->Mode(), ViewMode::BeamSelection);
        bench->Run(200);
        bench->Click("Btn_Main_2");
        ASSERT_EQ(bench->Mode(), ViewMode::CustomerSettings);
        EXPECT_EQ(Tab(), 0); // back on the general page
        EXPECT_TRUE(Checked("RdBtn_RUSM_312"));

        bench->reportFile = temp.Path() / ("muting" + std::to_string(row.version));
        EXPECT_EQ(SaveAndConfirm(), Text(114));
        EXPECT_EQ(bench->world.outcomes.reported.back().code, ResultCode::CustomerStored);
        EXPECT_EQ(bench->notesShown, std::vector<int>{1}); // more than an hour

        Bytes expected = before;
        expected[2] = 0x20 | 0x10 | 0x02; // shortened cycle, 2 sensors parallel, out of the zone
        expected[6] = 0x80 | 0x20 | 0x08; // override, the taught area, muting
        expected[14] = ByteOf(row.seconds, 8);
        expected[15] = ByteOf(row.seconds);
        if (row.wideTimes) {
            expected[28] = ByteOf(row.seconds, 16);
        }
        PutFactoryMasks(expected, factory);
        for (int beam : {2, 3, 4}) {
            ClearBeam(expected, MutingMask, beam);
        }
        expected[138] = 0; // multiple interruption went off with parallel 2
        Finish(expected, bench->world.controller);
        EXPECT_EQ(bench->world.device->ActiveCustomerRecord(), expected);

        const std::string report = ReadText(bench->reportFile.string() + ".txt");
        for (const std::string& line :
             {ValueLine(3061, Text(2106)), ValueLine(3101, Text(3115)), ValueLine(3102, Text(3125)),
              ValueLine(3103, std::to_string(row.seconds) + " s"), ValueLine(3133, Text(2106)),
              ValueLine(3143, Text(3145))}) {
            EXPECT_NE(report.find(line), std::string::npos) << line;
        }
    }
}

TEST_F(SettingsCourses, CyclicOperationIsStoredWithItsCyclesAndClockTime) {
    Open(Receiver(2, 136));
    ShowTab(2); // not switched on yet
    EXPECT_EQ(Tab(), 0);
    EXPECT_EQ(bench->Messages(), TextsOf({165}));

    bench->Click("ChckBx_RUSG_62");
    ShowTab(2);
    ASSERT_EQ(Tab(), 2);
    bench->Find<QSpinBox>("Edt_RUSC_11")->setValue(5);
    Key("M_RUSC_21", 7, Qt::Key_1, "1"); // 30 s become 12 s
    Key("M_RUSC_21", 8, Qt::Key_2, "2");
    Arrow("UpDwn_RUSC_21", false);
    EXPECT_EQ(TimeText("M_RUSC_21"), QStringLiteral(" 00:00:11,0"));
    EXPECT_EQ(SaveAndConfirm(), Text(114));

    Bytes expected = before;
    expected[6] = 0x90 | 0x01; // whole field, override, cyclic operation
    expected[8] = 5;
    expected[10] = 11;
    PutFactoryMasks(expected, factory);
    expected[138] = 0;
    Finish(expected, bench->world.controller);
    EXPECT_EQ(bench->world.device->ActiveCustomerRecord(), expected);
}

// Two rounds on the emitter, each loading the unit's record: beam coding on by a click (with
// its warning) and the report filed, then off by "Default values" (silently) with No to it.
TEST_F(SettingsCourses, EmitterBeamCodingIsStoredAndReportedOnYesOnly) {
    sim::ControllerConfig config;
    config.unit = sim::Unit::Emitter;
    Open(config);
    EXPECT_TRUE(bench->Find<QWidget>("Pnl_RUserSet")->isHidden());
    EXPECT_FALSE(bench->Find<QWidget>("Pnl_EUserSet")->isHidden());

    for (const bool codingA : {true, false}) {
        SCOPED_TRACE(codingA);
        ASSERT_TRUE(bench->SetViewMode(ViewMode::Bar));
        ASSERT_TRUE(bench->SetViewMode(ViewMode::CustomerSettings));
        EXPECT_EQ(Checked("ChckBx_EUS_11"), !codingA);
        bench->world.dialogs.shown.clear();
        bench->Click(codingA ? "ChckBx_EUS_11" : "Btn_EUS_3");
        EXPECT_EQ(bench->Messages(), codingA ? TextsOf({132}) : TextsOf({}));
        EXPECT_EQ(Checked("ChckBx_EUS_11"), codingA);

        bench->reportFile = temp.Path() / (codingA ? "on" : "off");
        EXPECT_EQ(SaveAndConfirm(codingA ? MessageResult::Yes : MessageResult::No), Text(114));
        EXPECT_EQ(bench->world.outcomes.reported.back().code, ResultCode::EmitterCustomerStored);
        EXPECT_EQ(bench->world.device->ActiveCustomerRecord(), EmitterByHand(codingA));
    }
    const std::string report = ReadText(temp.Path() / "on.txt");
    EXPECT_NE(report.find("\r\n" + Text(1040) + "\r\n"), std::string::npos);
    EXPECT_NE(report.find(ValueLine(3031, Text(2106))), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(temp.Path() / "off.txt"));
}

TEST_F(SettingsCourses, ConfirmButtonCountsDownAndRunsOutWithNothingSent) {
    Open(Receiver());
    auto* save = bench->Find<QPushButton>("Btn_RUS_1");
    auto* confirm = bench->Find<QPushButton>("Btn_RUS_2");
    EXPECT_FALSE(confirm->isEnabled());
    EXPECT_EQ(confirm->text(), ConfirmCaption(10));

    bench->Find<QSpinBox>("Edt_RUSG_21")->setValue(200);
    bench->Click("Btn_RUS_1");
    EXPECT_FALSE(save->isEnabled());
    EXPECT_TRUE(confirm->isEnabled());
    const std::pair<std::uint32_t, int> countdown[] = {{1500, 9}, {8000, 1}, {450, 1}};
    for (const auto& [ms, left] : countdown) {
        bench->Run(ms); // 1.5 s, 9.5 s and 9.95 s after the save
        EXPECT_EQ(confirm->text(), ConfirmCaption(left));
        EXPECT_EQ(bench->Find<QPushButton>("Btn_EUS_2")->text(), confirm->text());
        EXPECT_TRUE(confirm->isEnabled());
    }
    bench->Run(100); // 10.05 s after the save
    EXPECT_FALSE(confirm->isEnabled());
    EXPECT_TRUE(save->isEnabled());
    EXPECT_EQ(confirm->text(), ConfirmCaption(10));
    EXPECT_TRUE(bench->RunUntil([&] { return !bench->Messages().empty(); }));
    EXPECT_EQ(bench->Messages(), TextsOf({123}));
    confirm->click();
    ExpectNothingSent();
}

TEST_F(SettingsCourses, CancelClosesAWaitingSaveElseLeavesThePage) {
    Open(Receiver());
    bench->Click("Btn_RUS_1");
    bench->Run(3000);
    bench->Click("Btn_RUS_4");
    EXPECT_EQ(bench->Mode(), ViewMode::CustomerSettings);
    EXPECT_TRUE(Enabled("Btn_RUS_1"));
    EXPECT_FALSE(Enabled("Btn_RUS_2"));
    EXPECT_EQ(bench->Find<QPushButton>("Btn_RUS_2")->text(), ConfirmCaption(10));
    bench->Run(9000); // beyond the window: nothing runs out either
    EXPECT_TRUE(bench->Messages().empty());
    ExpectNothingSent();

    bench->Click("Btn_RUS_4");
    EXPECT_EQ(bench->Mode(), ViewMode::Bar);
}

// "Default values" fill the pages from the default record of the factory data, whatever the
// unit holds; a report whose file choice is cancelled is not written.
TEST_F(SettingsCourses, DefaultValuesStoreTheDefaultRecord) {
    sim::CustomerSettings settings = Special(0xA1, 4000); // cyclic operation, taught area
    settings.functions = 0x02 | 0x40;
    settings.mutingBits = 0x32;
    settings.relayDelay = 21;
    settings.clockCycles = 5;
    settings.clockCycleTime = 12;
    settings.interruptionTime = 50;
    settings.mutedBeams = {4, 5};
    Open(Receiver(2, 136, settings));
    bench->Click("Btn_RUS_3");
    EXPECT_FALSE(Checked("ChckBx_RUSG_12") || Checked("ChckBx_RUSG_62"));
    EXPECT_EQ(bench->Find<QSpinBox>("Edt_RUSG_21")->value(), (factory[4] - 1) * 10);
    EXPECT_EQ(bench->Find<QSpinBox>("Edt_RUSG_11")->value(), factory[16] * 10);

    bench->reportFile.clear(); // the user cancels the file choice
    EXPECT_EQ(SaveAndConfirm(), Text(114));
    EXPECT_TRUE(bench->notesShown.empty());
    EXPECT_TRUE(std::filesystem::is_empty(temp.Path()));

    Bytes expected(152, 0);
    const std::pair<std::size_t, std::uint8_t> defaults[] = {
        {0, 4},    {2, 12},  {4, factory[4]}, {6, 144}, {8, 2},   {10, 30},  {12, factory[16]},
        {14, 1},   {15, 44}, {18, 20},        {20, 1},  {21, 44}, {24, 180}, {26, 1},
        {138, 'M'}}; // a muting controller from 1.33 on
    for (const auto& [at, value] : defaults) {
        expected[at] = value;
    }
    PutFactoryMasks(expected, factory);
    Finish(expected, bench->world.controller);
    EXPECT_EQ(bench->world.device->ActiveCustomerRecord(), expected);
}

// Each check of the save refuses on its own, and then nothing is sent. The other checks cannot
// be reached through the pages: their rules keep parallel 2 with the shortened cycle and the
// multiple interruption apart from the shortened cycle, offer the bus to type 3 alone, disable
// the special functions of a standard controller, and give the floating beams' arrows no more
// than the firmware stores.
TEST_F(SettingsCourses, RefusedSaveSendsNothing) {
    struct Row {
        const char* check;
        sim::ControllerConfig config;
        std::function<void(SettingsCourses&)> edit;
        std::vector<TextId> messages;
        std::vector<int> notes; // the safety notes asked for, each declined
    };
    const Row rows[] = {
        {"two start interlocks",
         Receiver(),
         [](SettingsCourses& t) { t.bench->Click("ChckBx_RUSG_12"); },
         {130},
         {}},
        {"floating beams beyond the device's limit",
         Receiver(),
         [](SettingsCourses& t) { t.bench->Find<QSpinBox>("Edt_RUSG_51")->setValue(3); },
         {},
         {0}},
        // Only a stored record has both: the pages switch one off when the other goes on.
        {"muting and cyclic operation", Receiver(2, 136, Special(0x99)), nullptr, {159}, {}},
        {"muting cycle beyond an hour",
         Receiver(2, 136, Special(0x98, 3600)),
         [](SettingsCourses& t) { t.Arrow("UpDwn_RUSM_11", true); },
         {},
         {1}},
        {"conveyor stop beyond an hour",
         Receiver(2, 136, Special(0x98, 300, 3600)),
         [](SettingsCourses& t) { t.Key("M_RUSM_21", 8, Qt::Key_Up); },
         {},
         {2}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.check);
        Open(row.config);
        bench->confirmNotes = false;
        if (row.edit) {
            row.edit(*this);
        }
        bench->world.dialogs.shown.clear();
        bench->Click("Btn_RUS_1");
        const std::vector<std::string> messages = TextsOf(row.messages);
        EXPECT_EQ(bench->Messages(), messages);
        EXPECT_EQ(bench->notesShown, row.notes);
        EXPECT_TRUE(Enabled("Btn_RUS_1"));
        EXPECT_FALSE(Enabled("Btn_RUS_2"));
        bench->Run(9000);
        EXPECT_EQ(bench->Messages(), messages); // no window ran out
        ExpectNothingSent();
    }
}

} // namespace
} // namespace lcdiag::test
