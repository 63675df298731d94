#include "core/editors/FactorySettings.h"

#include "../app/AppTestSupport.h"
#include "../device/FixedClock.h"
#include "core/app/Texts.h"
#include "core/device/DateStamp.h"
#include "core/device/FactoryRecordBuilder.h"
#include "core/protocol/KeywordTable.h"
#include "core/protocol/RecordCodec.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace lcdiag {
namespace {

using enum FactoryControl;
using RF = ReceiverFactoryField;
using EF = EmitterFactoryField;

// A module data row: the table's default parameters with the values that vary by model.
struct Row {
    int type;
    int beams;
    int floatingMax = 2;
    int fixedDefault = 0;
    char restart = 'K';
};

std::vector<std::uint8_t> Modules(const std::vector<Row>& rows) {
    std::vector<std::uint8_t> resource;
    for (const Row& row : rows) {
        ReceiverFactoryRecord r;
        r.SetByte(RF::BeamCount, static_cast<std::uint8_t>(row.beams));
        r.SetByte(RF::OssdOffWait, 4);
        r.SetByte(RF::OssdOnWait, 2);
        r.SetByte(RF::CableRestart, static_cast<std::uint8_t>(row.restart));
        r.SetByte(RF::FunctionReserveMax, 25);
        r.SetByte(RF::FunctionReserveOn, 5);
        r.SetByte(RF::OutputOnDelay, 10);
        r.SetByte(RF::Cascading, 'E');
        r.SetByte(RF::FloatingBeamsMax, static_cast<std::uint8_t>(row.floatingMax));
        r.SetByte(RF::DeviceType, static_cast<std::uint8_t>(row.type));
        r.SetByte(RF::BlankingBeamsMax, static_cast<std::uint8_t>(row.fixedDefault));
        r.SetMask(RF::BeamPresenceMask, BeamMask::FirstBeams(row.beams));
        r.WriteComplements();
        resource.insert(resource.end(), r.bytes.begin(), r.bytes.end());
    }
    return resource;
}

class FactorySettingsTest : public ::testing::Test {
protected:
    FactorySettingsTest() {
        dialogs.onShow = [this] { log.push_back(dialogs.shown.back().text); };
    }

    FactorySource Source() {
        return {received ? &*received : nullptr,
                emitterReceived ? &*emitterReceived : nullptr,
                firmware,
                longLayout,
                1234,
                diagnosis};
    }
    // The page on the given module data (the program's own when none are given), loaded.
    void Load(std::optional<std::vector<Row>> rows = std::nullopt) {
        if (rows) {
            resource = Modules(*rows);
            page.emplace(texts, clock, resource);
        } else if (!page) {
            page.emplace(texts, clock);
        }
        ASSERT_TRUE(page->Load(Source()));
    }
    // Chooses the item shown as `text` in a combo box.
    void Choose(FactoryControl combo, const std::string& text) {
        const std::vector<std::string> items = page->Items(combo);
        const auto item = std::ranges::find(items, text);
        ASSERT_NE(item, items.end()) << text;
        page->Choose(combo, static_cast<int>(item - items.begin()));
    }
    const ReceiverFactoryRecord& ModuleRow(FactoryPage side) {
        table.LoadBuiltIn();
        return *table.Record(page->ModuleIndex(side).value());
    }
    std::string Said(TextId id, const std::string& first = {}) const {
        return first.empty() ? texts.GetText(id) : texts.GetTextStr(id, first);
    }

    std::vector<std::string> log;
    test::RecordingDialogs dialogs;
    Texts texts{nullptr, &dialogs};
    test::FixedClock clock;
    std::vector<std::uint8_t> resource;
    std::optional<FactorySettings> page;
    std::optional<ReceiverFactoryRecord> received;
    std::optional<EmitterFactoryRecord> emitterReceived;
    ControllerFirmware firmware{136, 2};
    bool longLayout = false;
    bool diagnosis = true;
    ModuleDataTable table;
    KeywordTable keywords;
    RecordCodec codec{keywords.KeywordSum()};
};

TEST_F(FactorySettingsTest, LengthsSortByNumberAndAGridOfType7AloneOffersNothing) {
    const std::vector<Row> curtains{{1, 104}, {1, 192}, {1, 29}, {7, 1}};
    Load(curtains);
    EXPECT_EQ(page->Items(CmbBx_RFS_22), (std::vector<std::string>{"300 mm", "1050 mm"}));
    longLayout = true;
    Load(curtains);
    EXPECT_EQ(page->Items(CmbBx_EFS_22),
              (std::vector<std::string>{"300 mm", "1050 mm", "1930 mm"}));
    // Module data that are not whole records are refused before anything changes.
    const std::vector<std::uint8_t> cut(211);
    EXPECT_FALSE(FactorySettings(texts, clock, cut).Load(Source()));

    Load(std::vector<Row>{{7, 1}, {7, 1}});
    for (FactoryControl combo : {CmbBx_RFS_21, CmbBx_RFS_22, CmbBx_EFS_21, CmbBx_EFS_22}) {
        EXPECT_TRUE(page->Items(combo).empty());
        EXPECT_EQ(page->Value(combo), -1);
    }
    for (FactoryControl field :
         {Edt_RFS_21, Edt_RFS_22, Edt_RFS_31, Edt_RFS_41, Edt_RFS_43, Edt_EFS_21, Edt_EFS_22}) {
        EXPECT_EQ(page->Text(field), "") << RowOf(field).objectName;
    }
    EXPECT_FALSE(page->Enabled(Edt_RFS_61));
    EXPECT_FALSE(page->Enabled(Edt_RFS_71));
    page->Choose(CmbBx_RFS_22, 0);
    page->Choose(CmbBx_RFS_21, 0);
    EXPECT_EQ(page->Text(Edt_RFS_21), "");
    EXPECT_FALSE(page->SaveReceiver(Source(), {3, 7}, codec));
    EXPECT_FALSE(page->SaveEmitter());
    EXPECT_EQ(log, (std::vector<std::string>(2, Said(118))));
}

TEST_F(FactorySettingsTest, FloatingDefaultFollowsTypeBeamsAndFirmware) {
    struct Case {
        int type, beams, version, digit, rowMaximum;
        int position;
    };
    const Case cases[] = {
        {1, 16, 122, 1, 10, 8}, {1, 16, 121, 1, 10, 2}, {1, 16, 136, 2, 10, 8},
        {1, 16, 135, 3, 10, 2}, {1, 4, 136, 2, 10, 3},  {2, 16, 136, 2, 10, 4},
        {2, 4, 122, 1, 10, 3},  {2, 16, 121, 1, 10, 1}, {6, 16, 136, 3, 10, 4},
        {6, 16, 135, 2, 10, 1}, {3, 4, 136, 2, 10, 1},  {3, 4, 121, 1, 10, 1},
        {4, 3, 122, 1, 10, 1},  {5, 1, 136, 2, 10, 0},  {5, 2, 121, 1, 10, 0},
        {8, 11, 136, 2, 10, 0}, {1, 16, 122, 1, 7, 0},  {1, 16, 121, 1, 2, 2},
        {2, 16, 136, 2, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type << " beams " << c.beams << " fw "
                                        << c.version << "/" << c.digit << " max " << c.rowMaximum);
        firmware = {c.version, c.digit};
        Load(std::vector<Row>{{c.type, c.beams, c.rowMaximum}});
        EXPECT_EQ(page->Maximum(Edt_RFS_61), c.rowMaximum);
        EXPECT_EQ(page->Value(Edt_RFS_61), c.position);
        EXPECT_EQ(page->Enabled(Edt_RFS_61), c.rowMaximum > 0);
    }
}

TEST_F(FactorySettingsTest, FixedMaximumFollowsTheTypeAnd255MeansAll) {
    struct Case {
        int type, beams, rowDefault;
        int maximum, position;
    };
    const Case cases[] = {
        {1, 16, 15, 15, 15}, {1, 16, 255, 15, 15}, {1, 16, 4, 15, 4},
        {2, 8, 255, 7, 7},   {6, 4, 200, 3, 3},    {3, 4, 255, 1, 1},
        {4, 3, 0, 1, 0},     {5, 2, 255, 0, 0},    {8, 11, 10, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "type " << c.type << " default " << c.rowDefault);
        Load(std::vector<Row>{{c.type, c.beams, 2, c.rowDefault}});
        EXPECT_EQ(page->Maximum(Edt_RFS_71), c.maximum);
        EXPECT_EQ(page->Value(Edt_RFS_71), c.position);
        EXPECT_EQ(page->Enabled(Edt_RFS_71), c.maximum > 0);
    }
}

TEST_F(FactorySettingsTest, ApplyingALengthTakesTheRowAndNamesTheModel) {
    Load(std::vector<Row>{{1, 16}, {1, 24, 2, 23, 'N'}});
    page->SetText(Edt_RFS_12, "4711");
    page->Click(ChckBx_RFS_21);
    Choose(CmbBx_RFS_22, "250 mm");
    EXPECT_EQ(page->Value(CmbBx_RFS_24), 1);
    EXPECT_FALSE(page->Checked(ChckBx_RFS_21));
    EXPECT_EQ(page->Text(Edt_RFS_11), "05.03.2014 17:08:09");
    EXPECT_EQ(page->Text(Edt_RFS_12), "4711");
    EXPECT_EQ(page->Text(Edt_RFS_21), "Z4-RU-21-250-1");
    EXPECT_EQ(page->Text(Edt_RFS_22), "24");
    const std::vector<std::string> shown{page->Text(Edt_RFS_31), page->Text(Edt_RFS_32),
                                         page->Text(Edt_RFS_41), page->Text(Edt_RFS_42),
                                         page->Text(Edt_RFS_43)};
    EXPECT_EQ(shown, (std::vector<std::string>{"25", "5", "2", "4", "10"}));
    for (FactoryControl field : {Edt_RFS_31, Edt_RFS_43, Edt_RFS_51}) {
        EXPECT_FALSE(page->Enabled(field));
    }

    // The customer names the model in its own scheme, on either page.
    Choose(CmbBx_RFS_23, "Kelberg Tessmark");
    EXPECT_EQ(page->Text(Edt_RFS_21), "DVX715IR0250-14RFBC");
    Choose(CmbBx_EFS_23, "Ovidan");
    EXPECT_EQ(page->Text(Edt_EFS_21), "TOBNZ4TU21-170-1");
    EXPECT_EQ(page->Text(Edt_EFS_22), "16");
}

TEST_F(FactorySettingsTest, ChangesOutsideTheControlsAreIgnored) {
    Load(std::vector<Row>{{1, 16, 5}});
    const std::string type = page->Text(Edt_RFS_21);
    for (int index : {-1, 1, 99}) {
        page->Choose(CmbBx_RFS_21, index);
        page->Choose(CmbBx_RFS_22, index);
    }
    page->Choose(CmbBx_RFS_23, 3);
    page->Choose(CmbBx_RFS_24, 2);
    EXPECT_EQ(page->Value(CmbBx_RFS_21), 0);
    EXPECT_EQ(page->Value(CmbBx_RFS_22), 0);
    EXPECT_EQ(page->Value(CmbBx_RFS_24), 0);
    EXPECT_EQ(page->Text(Edt_RFS_21), type);
    page->SetText(Edt_RFS_12, "12345678901"); // the record holds 10 characters
    EXPECT_EQ(page->Text(Edt_RFS_12), "1234567890");
    page->SetText(Edt_RFS_31, "300"); // disabled: shows the module data
    page->SetNumber(Edt_RFS_51, 3);
    page->SetNumber(Edt_RFS_61, 99);
    EXPECT_EQ(page->Text(Edt_RFS_31), "25");
    EXPECT_EQ(page->Value(Edt_RFS_51), 0);
    EXPECT_EQ(page->Value(Edt_RFS_61), 5);
    page->SetNumber(Edt_RFS_61, -4);
    EXPECT_EQ(page->Value(Edt_RFS_61), 0);
    page->Click(ChckBx_RFS_81); // disabled outside firmware 1.32
    EXPECT_FALSE(page->Checked(ChckBx_RFS_81));
}

// A received record of a 20-beam type-2 curtain as a unit of firmware 1.33 or later keeps it.
ReceiverFactoryRecord Received() {
    ModuleDataTable table;
    table.LoadBuiltIn();
    ReceiverFactoryRecord r;
    for (int i = 0; i < table.Count(); ++i) {
        if (table.Record(i)->Byte(RF::DeviceType) == 2 &&
            table.Record(i)->Byte(RF::BeamCount) == 20)
            r = *table.Record(i);
    }
    WriteDateStamp(r.Bytes(RF::ProductionDate), {2019, 11, 28, 7, 6, 5});
    r.SetText(RF::SerialNumber, "SN0815");
    r.SetText(RF::Tester, "Tm");
    r.SetText(RF::SwVersion, "13");
    r.SetText(RF::HwVersion, "2"); // one character: shown as 1.0
    r.SetText(RF::ProductionData, "batch 7");
    r.SetByte(RF::CableRestart, 'N');
    r.SetByte(RF::Cascading, 'E');
    r.SetByte(RF::FunctionReserveMax, 30);
    r.SetByte(RF::FunctionReserveOn, 6);
    r.SetByte(RF::OssdOnWait, 3);
    r.SetByte(RF::OssdOffWait, 7);
    r.SetByte(RF::OutputOnDelay, 12);
    r.SetByte(RF::QuartzCorrection, 131);
    r.SetByte(RF::FloatingBeamsMax, 1);
    r.SetByte(RF::BlankingBeamsMax, 200); // more than the model allows
    r.SetNumber(RF::MutingCycleTime, 0x7E40);
    r.SetByte(RF::MutingCycleTimeHigh, 0x05);
    r.SetNumber(RF::ConveyorStopTime, 600);
    r.SetByte(RF::ConveyorStopTimeHigh, 0x01);
    return r;
}

TEST_F(FactorySettingsTest, LoadsTheReceivedReceiverRecord) {
    received = Received();
    firmware = {133, 2};
    Load();
    EXPECT_EQ(page->Items(CmbBx_RFS_21)[static_cast<std::size_t>(page->Value(CmbBx_RFS_21))],
              "30 mm");
    EXPECT_EQ(page->Items(CmbBx_RFS_22)[static_cast<std::size_t>(page->Value(CmbBx_RFS_22))],
              "410 mm");
    EXPECT_EQ(page->Text(Edt_RFS_21), "Z4-RU-22-410-4");
    EXPECT_EQ(page->Text(Edt_RFS_22), "20");
    const std::vector<std::string> shown{
        page->Text(Edt_RFS_11), page->Text(Edt_RFS_12), page->Text(Edt_RFS_13),
        page->Text(Edt_RFS_14), page->Text(Edt_RFS_15), page->Text(M_RFS_11),
        page->Text(Edt_RFS_16), page->Text(Edt_RFS_31), page->Text(Edt_RFS_32),
        page->Text(Edt_RFS_41), page->Text(Edt_RFS_42), page->Text(Edt_RFS_43)};
    EXPECT_EQ(shown, (std::vector<std::string>{"28.11.2019 07:06:05", "SN0815", "Tm", "1.3", "1.0",
                                               "batch 7", "1234", "30", "6", "3", "7", "12"}));
    EXPECT_EQ(page->Value(CmbBx_RFS_24), 1);
    EXPECT_TRUE(page->Checked(ChckBx_RFS_21));
    EXPECT_EQ(page->Value(Edt_RFS_51), -3);
    EXPECT_EQ(page->Value(Edt_RFS_61), 1);
    EXPECT_EQ(page->Value(Edt_RFS_71), 19);
    EXPECT_EQ(page->Value(M_RFS_81), 3600000);
    EXPECT_EQ(page->Value(M_RFS_82), 661360);
    EXPECT_TRUE(log.empty());
}

TEST_F(FactorySettingsTest, MutingMaximaAndMultipleInterruptionFollowTheFirmware) {
    struct Case {
        bool data;
        int version, digit, mark;
        int mutingCycle, maximum;
        bool muting, box, checked, warned;
    };
    const Case cases[] = {
        {true, 133, 2, 0, 3600000, 3600000, true, false, false, false},
        {true, 136, 3, 77, 3600000, 3600000, true, false, false, false},
        {true, 132, 2, 77, 323200, 648000, true, true, true, false},
        {true, 132, 3, 0, 323200, 648000, true, true, false, true},
        {true, 132, 4, 1, 323200, 648000, true, true, false, true},
        {true, 132, 1, 0, 648000, 648000, false, false, false, false},
        {true, 136, 1, 0, 648000, 3600000, false, false, false, false},
        {true, 131, 2, 77, 323200, 648000, true, false, false, false},
        // Without factory data the fields take the largest time the firmware holds.
        {false, 133, 2, 0, 3600000, 3600000, false, false, false, false},
        {false, 132, 2, 0, 648000, 648000, false, false, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.data << " " << c.version << "/" << c.digit << " mark " << c.mark);
        received.reset();
        if (c.data) {
            received = Received();
            received->SetByte(RF::MultipleInterruption, static_cast<std::uint8_t>(c.mark));
        }
        firmware = {c.version, c.digit};
        for (int load = 0; load < 2; ++load) {
            log.clear();
            Load();
            EXPECT_EQ(
                log, (c.warned ? std::vector<std::string>{Said(183)} : std::vector<std::string>{}));
        }
        EXPECT_EQ(page->Value(M_RFS_81), c.mutingCycle);
        EXPECT_EQ(page->Maximum(M_RFS_81), c.maximum);
        EXPECT_EQ(page->Maximum(M_RFS_82), c.maximum);
        EXPECT_EQ(page->Time(M_RFS_82).Maximum(), c.maximum);
        EXPECT_EQ(page->Enabled(M_RFS_81), c.muting);
        EXPECT_EQ(page->Enabled(M_RFS_82), c.muting);
        EXPECT_EQ(page->Enabled(ChckBx_RFS_81), c.box);
        EXPECT_EQ(page->Checked(ChckBx_RFS_81), c.checked);
    }
}

TEST_F(FactorySettingsTest, ANewUnitStartsWithEmptyProductionData) {
    received = Received();
    emitterReceived.emplace();
    emitterReceived->SetText(EF::SerialNumber, "E1");
    Load();
    received.reset();
    emitterReceived.reset();
    Load();
    for (FactoryControl field : {Edt_RFS_12, Edt_RFS_13, M_RFS_11, Edt_EFS_12, Edt_EFS_13}) {
        EXPECT_EQ(page->Text(field), "") << RowOf(field).objectName;
    }
    for (FactoryControl field : {Edt_RFS_14, Edt_RFS_15, Edt_EFS_14}) {
        EXPECT_EQ(page->Text(field), "1.0");
    }
    EXPECT_EQ(page->Text(Edt_RFS_11), "05.03.2014 17:08:09");
    EXPECT_EQ(page->Text(Edt_EFS_11), "05.03.2014 17:08:09");
    EXPECT_EQ(page->Text(Edt_RFS_21), "Z4-RU-21-90-1");
    EXPECT_EQ(page->Text(Edt_EFS_21), "Z4-TU-21-90-1");
    EXPECT_TRUE(page->Checked(RdBtn_EFS_31));
    EXPECT_FALSE(page->Checked(ChckBx_RFS_81));
}

TEST_F(FactorySettingsTest, LoadsTheReceivedEmitterRecordAndItsVariant) {
    const std::pair<int, FactoryControl> variants[] = {
        {2, RdBtn_EFS_32}, {3, RdBtn_EFS_33}, {9, RdBtn_EFS_31}};
    for (const auto& [variant, button] : variants) {
        SCOPED_TRACE(variant);
        emitterReceived.emplace();
        emitterReceived->SetByte(EF::BeamCount, 2);
        emitterReceived->SetByte(EF::DeviceType, 5);
        emitterReceived->SetByte(EF::Variant, static_cast<std::uint8_t>(variant));
        WriteDateStamp(emitterReceived->Bytes(EF::ProductionDate), {2020, 1, 2, 3, 4, 5});
        emitterReceived->SetText(EF::HwVersion, "21");
        emitterReceived->SetText(EF::SerialNumber, "E-17");
        emitterReceived->SetText(EF::Tester, "Ab");
        emitterReceived->SetText(EF::CustomerDesignation, "MSZ4-TU-13-500-2");
        Load();
        EXPECT_EQ(page->Items(CmbBx_EFS_22)[static_cast<std::size_t>(page->Value(CmbBx_EFS_22))],
                  "500 mm - 2 beam");
        const std::vector<std::string> shown{page->Text(Edt_EFS_11), page->Text(Edt_EFS_12),
                                             page->Text(Edt_EFS_13), page->Text(Edt_EFS_14),
                                             page->Text(Edt_EFS_21), page->Text(Edt_EFS_22)};
        EXPECT_EQ(shown, (std::vector<std::string>{"02.01.2020 03:04:05", "E-17", "Ab", "2.1",
                                                   "MSZ4-TU-13-500-2", "2"}));
        for (FactoryControl other : {RdBtn_EFS_31, RdBtn_EFS_32, RdBtn_EFS_33}) {
            EXPECT_EQ(page->Checked(other), other == button);
        }
    }
}

TEST_F(FactorySettingsTest, SaveBuildsTheRecordFromThePage) {
    firmware = {133, 2};
    Load();
    Choose(CmbBx_RFS_21, "30 mm");
    Choose(CmbBx_RFS_22, "410 mm");
    page->SetText(Edt_RFS_12, "SN0815");
    page->SetText(Edt_RFS_13, "Tm");
    page->SetText(Edt_RFS_14, "1.3");
    page->SetText(Edt_RFS_15, "2.1");
    page->SetText(M_RFS_11, "batch 7");
    page->Click(ChckBx_RFS_21);
    page->Choose(CmbBx_RFS_24, 1);
    page->SetNumber(Edt_RFS_61, 1);
    page->SetNumber(Edt_RFS_71, 5);
    page->Time(M_RFS_81).SetValue(3600000);
    page->Time(M_RFS_82).SetValue(12340);
    const std::optional<SettingsWrite> write = page->SaveReceiver(Source(), {3, 7}, codec);
    ASSERT_TRUE(write);
    EXPECT_EQ(write->kind, TransferKind::ReceiverFactory);

    ReceiverFactoryInput input;
    input.productionDateTime = "05.03.2014 17:08:09";
    input.serialNumber = "SN0815";
    input.tester = "Tm";
    input.swVersion = "1.3";
    input.hwVersion = "2.1";
    input.productionData = "batch 7";
    input.typeDesignation = "Z4-RU-22-410-4";
    input.cascading = true;
    input.restartAlways = false;
    input.functionReserveMax = "25";
    input.functionReserveOn = "5";
    input.ossdOnWait = "2";
    input.ossdOffWait = "4";
    input.outputOnDelay = "10";
    input.floatingBeams = 1;
    input.blankingBeams = 5;
    input.mutingCycleTenths = 3600000;
    input.conveyorStopTenths = 12340;
    ReceiverFactoryRecord expected;
    ASSERT_FALSE(BuildReceiverFactoryRecord(input, ModuleRow(FactoryPage::Receiver), firmware,
                                            {3, 7}, codec, expected));
    EXPECT_EQ(write->receiverFactory.bytes, expected.bytes);
    EXPECT_EQ(write->receiverFactory.Byte(RF::MutingCycleTimeHigh), 0x05);
    EXPECT_TRUE(log.empty());

    diagnosis = false;
    EXPECT_FALSE(page->SaveReceiver(Source(), {3, 7}, codec));
    EXPECT_EQ(log, std::vector<std::string>{Said(143)});
}

TEST_F(FactorySettingsTest, ARefusedSaveNamesTheFieldAndFocusesIt) {
    struct Case {
        FactoryControl field;
        const char* text;
        std::string message;
    };
    const Case cases[] = {
        {Edt_RFS_12, "  ", "The field 'Serial no.' was not filled out!"},
        {Edt_RFS_13, "", "The field 'Tester' was not filled out!"},
        {Edt_RFS_14, "1.", "The field 'SW-Version (UBICOM)' was not completed!"},
        {Edt_RFS_11, "31.02.2014 10:00:00",
         "'31.02.2014 10:00:00' is invalid for the field 'Production date'!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        Load(std::vector<Row>{{1, 16}});
        page->SetText(Edt_RFS_12, "1");
        page->SetText(Edt_RFS_13, "T");
        page->SetText(c.field, c.text);
        log.clear();
        EXPECT_FALSE(page->SaveReceiver(Source(), {3, 7}, codec));
        EXPECT_EQ(log, std::vector<std::string>{c.message});
        EXPECT_EQ(page->TakeFocusRequest(), RowOf(c.field).objectName);
        EXPECT_EQ(page->TakeFocusRequest(), std::nullopt);
    }
}

TEST_F(FactorySettingsTest, OldFirmwareRefusesMoreThanTwoFloatingBeamsAndResetsThem) {
    firmware = {121, 1};
    Load(std::vector<Row>{{1, 16, 5}});
    page->SetText(Edt_RFS_12, "1");
    page->SetText(Edt_RFS_13, "T");
    page->SetNumber(Edt_RFS_61, 3);
    EXPECT_FALSE(page->SaveReceiver(Source(), {3, 7}, codec));
    EXPECT_EQ(log, std::vector<std::string>{Said(147)});
    EXPECT_EQ(page->Value(Edt_RFS_61), 2);
    EXPECT_TRUE(page->SaveReceiver(Source(), {3, 7}, codec));
}

TEST_F(FactorySettingsTest, EmitterSaveBuildsItsRecordsWithoutTheDiagnosisCheck) {
    diagnosis = false;
    Load();
    Choose(CmbBx_EFS_21, "50 mm");
    Choose(CmbBx_EFS_22, "650 mm");
    page->SetText(Edt_EFS_12, "E-17");
    page->SetText(Edt_EFS_13, "Ab");
    page->SetText(Edt_EFS_14, "2.1");
    page->Click(RdBtn_EFS_33);
    const std::optional<SettingsWrite> write = page->SaveEmitter();
    ASSERT_TRUE(write);
    EXPECT_EQ(write->kind, TransferKind::EmitterFactory);
    EmitterFactorySend expected;
    ASSERT_FALSE(
        BuildEmitterFactoryRecord({"05.03.2014 17:08:09", "E-17", "Ab", "2.1", "Z4-TU-26-650-4", 3},
                                  ModuleRow(FactoryPage::Emitter), clock, expected));
    EXPECT_EQ(write->emitterFactory.bytes, expected.factory.bytes);
    EXPECT_EQ(write->emitterCustomer.bytes, expected.customer.bytes);

    page->SetText(Edt_EFS_21, " ");
    EXPECT_FALSE(page->SaveEmitter());
    EXPECT_EQ(log, std::vector<std::string>{Said(120, "Customer")});
    EXPECT_EQ(page->TakeFocusRequest(), "Edt_EFS_21");
}

TEST_F(FactorySettingsTest, DefaultValuesApplyTheLengthAgainWithTheLargestMutingMaxima) {
    for (int version : {132, 133}) {
        SCOPED_TRACE(version);
        received = Received();
        firmware = {version, 2};
        Load();
        page->Click(ChckBx_RFS_21);
        page->Defaults();
        EXPECT_FALSE(page->Checked(ChckBx_RFS_21));
        EXPECT_EQ(page->Value(CmbBx_RFS_24), 0);
        EXPECT_EQ(page->Text(Edt_RFS_31), "25");
        EXPECT_EQ(page->Text(Edt_RFS_11), "05.03.2014 17:08:09");
        EXPECT_EQ(page->Text(Edt_RFS_12), "SN0815");
        EXPECT_EQ(page->Value(Edt_RFS_61), 1);
        EXPECT_EQ(page->Value(Edt_RFS_71), 19);
        const int limit = version >= 133 ? 3600000 : 648000;
        EXPECT_EQ(page->Value(M_RFS_81), limit);
        EXPECT_EQ(page->Value(M_RFS_82), limit);
    }
}

} // namespace
} // namespace lcdiag
