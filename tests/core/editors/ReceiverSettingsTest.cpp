#include "EditorTestSupport.h"

#include <functional>
#include <string>
#include <vector>

namespace lcdiag {
namespace {

using CF = ReceiverCustomerField;
using RF = ReceiverFactoryField;
using enum UserControl;
using test::Blanked;
using test::Describe;
using test::Msg;

std::string Differences(const ReceiverCustomerRecord& actual,
                        const ReceiverCustomerRecord& expected) {
    std::string text;
    for (std::size_t i = 0; i < actual.bytes.size(); ++i) {
        if (actual.bytes[i] != expected.bytes[i]) {
            text += "byte " + std::to_string(i) + ": " + std::to_string(actual.bytes[i]) +
                    " instead of " + std::to_string(expected.bytes[i]) + "\n";
        }
    }
    return text;
}

class ReceiverSettingsTest : public test::ReceiverPageTest {
protected:
    BeamMask FactoryMask() const { return factory.Mask(RF::BeamPresenceMask); }
    // The record a save must send: `base` with the given bytes, completed as every record.
    ReceiverCustomerRecord Expected(ReceiverCustomerRecord base,
                                    std::initializer_list<std::pair<std::size_t, int>> bytes,
                                    const ReceiverCustomerEdits& edits) {
        for (const auto& [at, value] : bytes) {
            base.bytes[at] = static_cast<std::uint8_t>(value);
        }
        CompleteReceiverCustomerRecord(base, factory, edits, Context());
        return base;
    }
};

// Type digits other than 2 and 3 load as the standard controller.
TEST_F(ReceiverSettingsTest, OnlyControllerTypes2And3LoadTheMutingAndCyclicPages) {
    struct Case {
        int digit;
        std::size_t tabs;
        TextId caption;
        bool special; // the boxes enabled and loaded, with the restart interlock
        const char* options;
    };
    const Case cases[] = {
        {1, 1, 3063, false, "D2 both all"}, {2, 3, 0, true, "P4 out all"},
        {3, 3, 0, true, "P4 out bus"},      {4, 1, 3063, false, "D2 both all"},
        {0, 1, 3063, false, "D2 both all"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.digit);
        firmware = {136, c.digit};
        active.SetByte(CF::MutingBits, 0x02);                        // parallel 4, out of
        active.SetByte(CF::SpecialFunctionBits, 0x08 | 0x02 | 0x40); // muting, restart, bus
        active.SetByte(CF::MultipleInterruption, 0);
        ASSERT_TRUE(Load());
        EXPECT_TRUE(log.empty());
        EXPECT_EQ(page.Tabs().size(), c.tabs);
        EXPECT_EQ(page.SpecialFunctionCaption(), c.caption);
        EXPECT_EQ(page.Enabled(ChckBx_RUSG_61), c.special);
        EXPECT_EQ(page.Checked(ChckBx_RUSG_61), c.special);
        EXPECT_EQ(page.Checked(ChckBx_RUSM_21), c.special);
        EXPECT_EQ(Describe(page), c.options);
        EXPECT_EQ(page.Enabled(RdBtn_RUSM_313), c.digit == 3);
    }
}

TEST_F(ReceiverSettingsTest, FloatingBeamsTimesAndMultipleInterruptionFollowTheFirmware) {
    struct Case {
        int factoryMax, version, digit, field, count; // field: bits 4-5, count: byte 34
        int maximum, position, mutingCycle;
        bool multiple; // the box enabled and loaded from byte 138
    };
    const Case cases[] = {
        {5, 121, 1, 2, 4, 2, 2, 3000, false},   {5, 122, 1, 2, 4, 5, 4, 3000, false},
        {5, 132, 2, 2, 4, 2, 2, 100000, false}, {5, 133, 2, 2, 4, 2, 2, 755360, true},
        {5, 135, 3, 2, 4, 2, 2, 755360, true},  {5, 136, 2, 2, 4, 5, 4, 755360, true},
        {5, 136, 2, 0, 4, 5, 0, 755360, true},  {5, 136, 2, 1, 4, 5, 1, 755360, true},
        {5, 136, 2, 2, 1, 5, 2, 755360, true},  {5, 136, 2, 3, 4, 5, 0, 755360, true},
        {2, 121, 1, 2, 4, 2, 2, 3000, false},   {20, 136, 2, 2, 4, 20, 4, 755360, true},
        {21, 136, 2, 2, 4, 0, 0, 755360, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.factoryMax << " " << c.version << " " << c.digit
                                        << " field " << c.field << " byte 34 " << c.count);
        factory = test::Factory(1, 16, c.factoryMax); // the device's own limit is 2
        firmware = {c.version, c.digit};
        active.SetByte(CF::FunctionBits, static_cast<std::uint8_t>(0x04 | c.field << 4));
        active.SetByte(CF::FloatingBeams, static_cast<std::uint8_t>(c.count));
        active.SetByte(CF::MutingCycleTimeHigh, 0x01);
        active.SetNumber(CF::MutingCycleTime, 10000);
        active.SetByte(CF::MultipleInterruption, 77);
        Reload();
        EXPECT_EQ(page.Maximum(Edt_RUSG_51), c.maximum);
        EXPECT_EQ(page.Value(Edt_RUSG_51), c.position);
        EXPECT_EQ(page.Enabled(Edt_RUSG_51), c.maximum > 0);
        EXPECT_EQ(page.Value(M_RUSM_11), c.mutingCycle);
        EXPECT_EQ(page.Enabled(ChckBx_RUSM_31), c.multiple);
        EXPECT_EQ(page.Checked(ChckBx_RUSM_31), c.multiple);
    }
}

TEST_F(ReceiverSettingsTest, DeviceTypesSetTheFloatingLimitAndTheLightGridsLoseAreasAndCycles) {
    struct Case {
        int type, beams, blankingMax, floatingMax;
        bool manual, floating, grid;
    };
    const Case cases[] = {
        {1, 16, 5, 2, true, true, false}, {2, 16, 5, 1, true, true, false},
        {3, 4, 5, 1, false, false, true}, {4, 3, 5, 1, false, false, true},
        {5, 2, 5, 0, false, false, true}, {6, 16, 5, 1, true, true, false},
        {7, 1, 5, 0, true, false, true},  {8, 16, 0, 0, true, false, false},
    };
    firmware = {133, 2}; // floating beams beyond the device's own limit need 1.36
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        factory = test::Factory(c.type, c.beams, 3, c.blankingMax);
        active = DefaultRecord();
        active.SetByte(CF::SpecialFunctionBits, 0x01 | 0x20); // cyclic operation, teach sample
        Reload();
        EXPECT_EQ(page.Maximum(Edt_RUSG_51), c.floatingMax);
        EXPECT_EQ(page.Enabled(Edt_RUSG_51), c.floating);
        EXPECT_EQ(page.ManualSelectionEnabled(), c.manual);
        EXPECT_EQ(page.TeachSelectionEnabled(), c.blankingMax != 0);
        EXPECT_EQ(page.Enabled(ChckBx_RUSG_41), c.blankingMax != 0);
        EXPECT_EQ(page.Tabs().size(), c.grid ? 2u : 3u);
        EXPECT_EQ(page.Checked(RdBtn_RUSM_311), c.grid);
        EXPECT_EQ(page.Enabled(RdBtn_RUSM_312), !c.grid);
        EXPECT_EQ(page.Checked(ChckBx_RUSG_62), !c.grid);
        EXPECT_EQ(page.Enabled(ChckBx_RUSG_62), !c.grid);
    }
}

TEST_F(ReceiverSettingsTest, BlankedBeamsAreTakenOverWhenTheUserAgrees) {
    active.SetByte(CF::FunctionBits, 0x04 | 0x08);
    active.SetMask(CF::FixedBlankingMask, Blanked({5, 6}));
    for (MessageResult answer : {MessageResult::Yes, MessageResult::No}) {
        dialogs.answer = answer;
        log.clear();
        ASSERT_TRUE(Load());
        EXPECT_EQ(log, SaidAll({{142}}));
        EXPECT_EQ(dialogs.shown.back().kind, MessageKind::Confirmation);
        const bool taken = answer == MessageResult::Yes;
        EXPECT_EQ(page.Checked(ChckBx_RUSG_41), taken);
        EXPECT_EQ(page.FixedBlankingMask(), taken ? Blanked({5, 6}) : FactoryMask());
    }
}

// "Default values" fill the pages from the factory data, without the blanking question and
// without a configuration; the bytes the pages do not own stay as the unit holds them.
TEST_F(ReceiverSettingsTest, DefaultValuesSaveTheDefaultRecord) {
    firmware = {132, 2};
    const ReceiverCustomerRecord defaults = DefaultRecord();
    ASSERT_TRUE(page.Load({&factory, nullptr, firmware}, true, Context()));
    EXPECT_EQ(page.Value(Edt_RUSG_21), 100);
    EXPECT_EQ(page.Value(Edt_RUSG_11), 500);
    EXPECT_FALSE(page.Checked(ChckBx_RUSG_21));
    active.SetByte(CF::FunctionBits, 0x80 | 0x08);
    active.SetByte(CF::MutingBits, 0xC0);
    active.SetByte(CF::MutingCycleTimeHigh, 0x12); // kept before firmware 1.33
    active.SetByte(CF::ConveyorStopTimeHigh, 0x34);
    active.SetByte(CF::Reserved32, 0x56);
    Reload(true);
    const std::optional<ReceiverCustomerRecord> record = Save();
    ASSERT_TRUE(record);
    const ReceiverCustomerRecord expected =
        Expected(defaults, {{0, 0x84}, {2, 0xCC}, {28, 0x12}, {30, 0x34}, {32, 0x56}},
                 {FactoryMask(), FactoryMask(), false});
    EXPECT_EQ(Differences(*record, expected), "");
    EXPECT_TRUE(log.empty());
}

TEST_F(ReceiverSettingsTest, WithoutFactoryDataOrConfigurationThePageStaysAsItWas) {
    active.SetByte(CF::FunctionBits, 0x40);
    Reload();
    struct Case {
        bool factory, configuration, defaults;
        TextId message;
        MessageKind kind;
    };
    const Case cases[] = {{false, true, false, 117, MessageKind::Fault},
                          {false, false, true, 117, MessageKind::Fault},
                          {true, false, false, 119, MessageKind::Warning}};
    for (const Case& c : cases) {
        log.clear();
        EXPECT_FALSE(page.Load(
            {c.factory ? &factory : nullptr, c.configuration ? &active : nullptr, firmware},
            c.defaults, Context()));
        EXPECT_EQ(log, SaidAll({{c.message}}));
        EXPECT_EQ(dialogs.shown.back().kind, c.kind);
        EXPECT_TRUE(page.Checked(ChckBx_RUSG_31));
    }
}

TEST_F(ReceiverSettingsTest, MutingAndCyclicTabsOpenOnlyWhileTheirFunctionIsOn) {
    struct Case {
        std::uint8_t bits;  // byte 6
        int muting, cyclic; // the tab shown after asking for tab 1, and for tab 2
        std::vector<Msg> messages;
    };
    const Case cases[] = {
        {0x10, 0, 0, {{164}, {165}}}, {0x18, 1, 0, {{165}}}, {0x11, 0, 2, {{164}}}};
    for (const Case& c : cases) {
        active.SetByte(CF::SpecialFunctionBits, c.bits);
        Reload();
        EXPECT_EQ(page.SelectTab(1), c.muting);
        EXPECT_EQ(page.SelectTab(2), c.cyclic);
        EXPECT_EQ(log, SaidAll(c.messages));
    }
}

TEST_F(ReceiverSettingsTest, EveryLoadStartsFromACleanPage) {
    active.SetByte(CF::SpecialFunctionBits, 0x08 | 0x20); // teach sample
    active.SetMask(CF::MutingAreaMask, Blanked({3}));
    active.SetByte(CF::MultipleInterruption, 77);
    Reload();
    ASSERT_EQ(Describe(page), "D2 both M teach");
    ASSERT_EQ(page.MutingAreaMask(), Blanked({3}));

    active = DefaultRecord();
    active.SetByte(CF::MutingBits, 0x0C | 0x20);
    active.SetByte(CF::MultipleInterruption, 0);
    ASSERT_TRUE(Load());
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(Describe(page), "D2 both S all");
    EXPECT_EQ(page.MutingAreaMask(), FactoryMask());
}

// The link may report another controller than the one the page was loaded from.
TEST_F(ReceiverSettingsTest, SaveChecksInTheirOrder) {
    using Edit = std::function<void(ReceiverSettings&)>;
    const auto note = test::RecordingNotes::NoteEvent;
    struct Case {
        const char* name;
        std::uint8_t function, special; // bytes 0 and 6 of the loaded record
        Edit edit;
        std::vector<std::string> events;
        bool saved;
        std::set<int> refused = {};
        int floatingBits = -1; // bits 4-5 of the saved byte 0
        ControllerFirmware atSave{136, 2}, atLoad{136, 2};
    };
    const Edit floating3 = [](ReceiverSettings& s) { s.SetNumber(Edt_RUSG_51, 3); };
    const auto times = [](std::int32_t muting, std::int32_t conveyor) -> Edit {
        return [=](ReceiverSettings& s) {
            s.Time(M_RUSM_11).SetValue(muting);
            s.Time(M_RUSM_21).SetValue(conveyor);
        };
    };
    const std::string m130 = Said({130}), m147 = Said({147}), m158 = Said({158}),
                      m159 = Said({159}), m161 = Said({161});
    const Case cases[] = {
        {"both start interlocks first", 0x07, 0x99, floating3, {m130}, false},
        {"floating beams, note refused", 0x04, 0x90, floating3, {note(0)}, false, {0}},
        {"floating beams, note confirmed", 0x04, 0x90, floating3, {note(0)}, true, {}, 0x20},
        {"firmware too old", 0x04, 0x90, floating3, {note(0), m147}, true, {}, 0x00, {135, 2}},
        {"muting, type 1", 0x04, 0x98, nullptr, {m158}, false, {}, -1, {136, 1}},
        {"muting and cyclic operation", 0x04, 0x99, nullptr, {m159}, false},
        {"bus, no type 3", 0x04, 0xC8, nullptr, {m161}, false, {}, -1, {136, 2}, {136, 3}},
        {"long times", 0x04, 0x98, times(36001, 36001), {note(1), note(2)}, true},
        {"muting cycle note refused", 0x04, 0x98, times(36001, 36001), {note(1)}, false, {1}},
        {"conveyor stop note refused", 0x04, 0x98, times(10, 36001), {note(2)}, false, {2}},
        {"an hour needs no note", 0x04, 0x98, times(36000, 36000), {}, true},
    };
    factory = test::Factory(1, 16, 5); // the device's own limit is 2
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        firmware = c.atLoad;
        active = DefaultRecord();
        active.SetByte(CF::FunctionBits, c.function);
        active.SetByte(CF::SpecialFunctionBits, c.special);
        Reload();
        if (c.edit) {
            c.edit(page);
        }
        firmware = c.atSave;
        notes.refused = c.refused;
        const std::optional<ReceiverCustomerRecord> record = Save();
        EXPECT_EQ(log, c.events);
        EXPECT_EQ(record.has_value(), c.saved);
        if (record && c.floatingBits >= 0) {
            EXPECT_EQ(record->Byte(CF::FunctionBits) & 0x30, c.floatingBits);
        }
    }
}

TEST_F(ReceiverSettingsTest, StandardControllerSavesItsPageAndTheMutingDefaults) {
    firmware = {125, 1};
    active = DefaultRecord();
    active.SetByte(CF::FunctionBits, 0x80 | 0x02 | 0x08); // bit 7 is not the pages'
    active.SetMask(CF::FixedBlankingMask, Blanked({5, 6}));
    active.SetByte(CF::MutingBits, 0xC0 | 0x11); // nor are bits 6-7
    active.SetByte(CF::SpecialFunctionBits, 0x3F);
    for (std::size_t at : {8, 10, 14, 15, 18, 20, 21, 24, 26}) {
        active.bytes[at] = 7;
    }
    active.SetByte(CF::MutingCycleTimeHigh, 0x44); // kept before firmware 1.33
    active.SetByte(CF::ConveyorStopTimeHigh, 0x55);
    active.SetByte(CF::Reserved32, 0x66);
    dialogs.answer = MessageResult::Yes;
    Reload();
    page.Click(ChckBx_RUSG_31);
    page.Click(ChckBx_RUSG_21);
    page.SetNumber(Edt_RUSG_21, 120);
    page.SetNumber(Edt_RUSG_11, 730);
    page.SetNumber(Edt_RUSG_51, 1);
    const std::optional<ReceiverCustomerRecord> record = Save();
    ASSERT_TRUE(record);
    EXPECT_EQ(log, SaidAll({{131}}));
    // Relay control off, one floating beam, diagonal 2 in both directions.
    const ReceiverCustomerRecord expected = Expected(active,
                                                     {{0, 0x80 | 0x02 | 0x04 | 0x08 | 0x10 | 0x40},
                                                      {2, 0xC0 | 0x08 | 0x04},
                                                      {4, 13},
                                                      {6, 0x90},
                                                      {8, 2},
                                                      {10, 30},
                                                      {12, 73},
                                                      {14, 0x01},
                                                      {15, 0x2C},
                                                      {18, 20},
                                                      {20, 0x01},
                                                      {21, 0x2C},
                                                      {24, 180},
                                                      {26, 1},
                                                      {34, 1}},
                                                     {Blanked({5, 6}), FactoryMask(), false});
    EXPECT_EQ(Differences(*record, expected), "");
}

TEST_F(ReceiverSettingsTest, MutingControllerSavesTimesOf16BitsBefore133And24From133) {
    for (int version : {132, 133}) {
        SCOPED_TRACE(version);
        const bool from133 = version >= 133;
        firmware = {version, 3};
        active = DefaultRecord();
        active.SetByte(CF::FunctionBits, 0x80 | 0x01 | 0x04 | 0x20); // two floating beams
        active.SetByte(CF::FloatingBeams, 2);
        active.SetByte(CF::MutingBits, 0x40 | 0x02);                               // P4 out
        active.SetByte(CF::SpecialFunctionBits, 0x08 | 0x20 | 0x02 | 0x04 | 0x80); // teach
        active.SetMask(CF::MutingAreaMask, Blanked({2, 3, 4}));
        const std::pair<CF, std::uint8_t> bytes[] = {
            {CF::ClockCycles, 3},          {CF::ClockCycleTime, 20},
            {CF::SensorConcurrency, 15},   {CF::OverrideTime, 120},
            {CF::BusProtocol, 7},          {CF::MutingCycleTimeHigh, 1},
            {CF::ConveyorStopTimeHigh, 9}, {CF::MultipleInterruption, 0}};
        for (const auto& [field, value] : bytes) {
            active.SetByte(field, value);
        }
        Reload();
        page.Time(M_RUSM_11).SetValue(from133 ? 700000 : 5000); // 70000 s = 0x011170, 500 s
        page.Time(M_RUSM_21).SetValue(1234);                    // 123 s
        page.Click(ChckBx_RUSM_31);
        page.Click(RdBtn_RUSM_123);
        page.Click(ChCkBx_RUSM_24);
        page.SetNumber(Edt_RUSC_11, 4);
        const std::optional<ReceiverCustomerRecord> record = Save();
        ASSERT_TRUE(record);
        EXPECT_EQ(log, from133 ? std::vector{test::RecordingNotes::NoteEvent(1)}
                               : std::vector<std::string>{});
        const ReceiverCustomerRecord expected =
            Expected(active,
                     {{2, 0x40 | 0x04},               // both directions
                      {6, 0x08 | 0x20 | 0x02 | 0x04}, // override off
                      {8, 4},
                      {14, from133 ? 0x11 : 0x01},
                      {15, from133 ? 0x70 : 0xF4},
                      {20, 0x00},
                      {21, 0x7B},
                      {30, from133 ? 0x00 : 0x09}},
                     {FactoryMask(), Blanked({2, 3, 4}), from133});
        EXPECT_EQ(Differences(*record, expected), "");
        EXPECT_EQ(record->Byte(CF::MultipleInterruption), from133 ? 77 : 0);
    }
}

TEST_F(ReceiverSettingsTest, AcceptedBeamSelectionBlanksWithinTheFactoryLimits) {
    struct Case {
        const char* name;
        bool teach;
        BeamMask selection;
        bool diagnosticData;
        std::vector<Msg> messages;
        BeamMask result;
    };
    const BeamMask none = Blanked({});
    const Case cases[] = {
        {"two beams", false, Blanked({5, 6}), true, {}, Blanked({5, 6})},
        {"as many as allowed", false, Blanked({1, 2, 3}), true, {}, Blanked({1, 2, 3})},
        {"synchronisation beam", false, Blanked({0, 1, 2, 3}), true, {{140}}, none},
        {"too many", false, Blanked({1, 2, 3, 4}), true, {{146}}, none},
        {"nothing", false, none, true, {{141}}, none},
        {"taught", true, Blanked({9}), true, {}, Blanked({9})},
        {"taught without diagnostic data", true, Blanked({9}), false, {{141}}, none},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Reload();
        if (c.teach) {
            page.StartTeachSelection(SelectionTarget::FixedBlanking);
            page.TeachFromCycle(c.selection);
        } else {
            page.StartManualSelection();
            page.SetEditedMask(c.selection);
        }
        page.AcceptSelection(c.diagnosticData);
        EXPECT_EQ(log, SaidAll(c.messages));
        const bool blanked = c.result != none;
        EXPECT_EQ(page.Checked(ChckBx_RUSG_41), blanked);
        const std::optional<ReceiverCustomerRecord> record = Save();
        ASSERT_TRUE(record);
        EXPECT_EQ(record->Byte(CF::FunctionBits) & 0x08, blanked ? 0x08 : 0);
        EXPECT_EQ(record->Mask(CF::FixedBlankingMask), c.result);
    }
}

TEST_F(ReceiverSettingsTest, TeachSampleTeachesTheMutingAreaManualSelectionTheBlanking) {
    active.SetByte(CF::SpecialFunctionBits, 0x98);
    Reload();
    page.Click(RdBtn_RUSM_312);
    ASSERT_TRUE(page.TakeSelectionRequest());
    EXPECT_EQ(page.Selection().mode, BeamSelectionMode::Teach);
    page.TeachFromCycle(Blanked({2, 3}));
    page.AcceptSelection(true);
    page.StartManualSelection();
    page.SetEditedMask(Blanked({7}));
    page.AcceptSelection(true);
    EXPECT_TRUE(page.Checked(RdBtn_RUSM_312));
    EXPECT_EQ(page.MutingAreaMask(), Blanked({2, 3}));
    EXPECT_EQ(page.FixedBlankingMask(), Blanked({7}));
    EXPECT_TRUE(log.empty());

    page.StartManualSelection(); // blanking is on: the selection starts from it
    EXPECT_EQ(page.Selection().fixedBlanking, Blanked({7}));
    page.DiscardSelection();
    EXPECT_FALSE(page.Checked(ChckBx_RUSG_41));
    EXPECT_EQ(page.FixedBlankingMask(), FactoryMask());
    for (bool accept : {true, false}) {
        page.Click(RdBtn_RUSM_311);
        page.Click(RdBtn_RUSM_312);
        page.TeachFromCycle(FactoryMask()); // no beam interrupted
        accept ? page.AcceptSelection(true) : page.DiscardSelection();
        EXPECT_TRUE(page.Checked(RdBtn_RUSM_311));
        EXPECT_EQ(page.MutingAreaMask(), FactoryMask());
    }
    EXPECT_EQ(log, SaidAll({{170}}));
}

} // namespace
} // namespace lcdiag
