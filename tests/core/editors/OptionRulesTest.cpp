#include "EditorTestSupport.h"

#include <optional>
#include <string>
#include <vector>

namespace lcdiag {
namespace {

using CF = ReceiverCustomerField;
using enum UserControl;
using test::Always;
using test::Describe;
using test::Msg;

class OptionRulesTest : public test::ReceiverPageTest {};

const Msg Refused176 = Always({176}); // not with multiple interruption forced by the factory
const Msg Shortened184 = Always({184, 3141, 3133});
const Msg Multiple184 = Always({184, 3133, 3141});

std::string Name(std::optional<UserControl> control) {
    return control ? RowOf(*control).objectName : "none";
}

// A change of the page in the notation of test::Options; the focus and the beam selection
// are asked for by a change that is not quiet only.
struct RuleCase {
    const char* before;
    UserControl control; // selected, or checked or unchecked as `on` says
    bool on;
    std::vector<Msg> messages;
    const char* after;
    std::optional<UserControl> focus;
    int typeDigit = 2;
    bool factoryForcesMultiple = false; // factory byte 205 is "M"
    bool beamSelection = false;
};

const RuleCase RuleCases[] = {
    {"P4 in all", RdBtn_RUSM_111, true, {{172}}, "D2 both all", RdBtn_RUSM_123},
    {"P4 in all", RdBtn_RUSM_112, true, {Refused176}, "P4 in all", RdBtn_RUSM_113, 2, true},
    {"P4 in M all", RdBtn_RUSM_112, true, {{168}}, "P2 out S all", RdBtn_RUSM_122},
    {"P4 in S all", RdBtn_RUSM_112, true, {{168}}, "P2 out S all", RdBtn_RUSM_122},
    {"P4 out S all", RdBtn_RUSM_112, true, {}, "P2 out S all", {}},
    {"P4 in all", RdBtn_RUSM_313, true, {{161}}, "P4 in all", RdBtn_RUSM_311},
    {"P4 in all", RdBtn_RUSM_313, true, {}, "P4 in bus", {}, 3},
    {"P4 in all", RdBtn_RUSM_313, true, {Refused176}, "P4 in all", RdBtn_RUSM_311, 3, true},
    {"P4 in all", RdBtn_RUSM_313, true, {{161}, Refused176}, "P4 in all", RdBtn_RUSM_311, 2, true},
    {"P4 in all", RdBtn_RUSM_312, true, {}, "P4 in teach", {}, 2, false, true},
    {"P2 out S all", RdBtn_RUSM_121, true, {{171}}, "P2 out S all", RdBtn_RUSM_122},
    {"P2 out S all", RdBtn_RUSM_123, true, {{171}}, "P2 out S all", RdBtn_RUSM_122},
    {"D2 both all", RdBtn_RUSM_121, true, {{173}}, "D2 both all", RdBtn_RUSM_123},
    {"D2 both all", RdBtn_RUSM_122, true, {{173}}, "D2 both all", RdBtn_RUSM_123},
    {"P4 in all", RdBtn_RUSM_122, true, {}, "P4 out all", {}},
    {"P4 in M all", ChckBx_RUSM_23, true, {Shortened184}, "P4 in M all", {}},
    // No rule runs after that one: not even the factory's.
    {"P4 in M all", ChckBx_RUSM_23, true, {Shortened184}, "P4 in M all", {}, 2, true},
    {"P2 out S all", ChckBx_RUSM_23, false, {{169}}, "P2 out S all", RdBtn_RUSM_122},
    {"P4 in all", ChckBx_RUSM_23, true, {Refused176}, "P4 in all", {}, 2, true},
    {"P4 in S all", ChckBx_RUSM_31, true, {Multiple184}, "P4 in S all", {}},
    {"P4 in all", ChckBx_RUSM_31, true, {}, "P4 in M all", {}},
};

TEST_F(OptionRulesTest, EveryRuleQuietAndNotQuiet) {
    for (const RuleCase& rule : RuleCases) {
        for (bool quiet : {false, true}) {
            SCOPED_TRACE(std::string(rule.before) + ": " + RowOf(rule.control).objectName +
                         (quiet ? ", quiet" : ""));
            firmware = {136, rule.typeDigit};
            factory = test::Factory(1, 16);
            factory.SetByte(ReceiverFactoryField::MultipleInterruption,
                            rule.factoryForcesMultiple ? 77 : 0);
            LoadOptions(rule.before);
            if (RowOf(rule.control).kind == ControlKind::RadioButton) {
                page.Select(rule.control, quiet);
            } else {
                ASSERT_NE(page.Checked(rule.control), rule.on);
                page.SetChecked(rule.control, rule.on, quiet);
            }
            EXPECT_EQ(log, SaidAll(rule.messages, quiet));
            EXPECT_EQ(Describe(page), rule.after);
            EXPECT_EQ(Name(page.TakeFocusRequest()), Name(quiet ? std::nullopt : rule.focus));
            EXPECT_EQ(page.TakeSelectionRequest(), rule.beamSelection && !quiet);
        }
    }
}

TEST_F(OptionRulesTest, OneSpecialFunctionAtATimeAndSwitchingOffIsAskedAgain) {
    using enum MessageResult;
    struct Case {
        bool muting, cyclic;
        UserControl box;
        MessageResult answer;
        std::vector<Msg> messages;
        bool mutingAfter, cyclicAfter;
    };
    const Case cases[] = {
        {false, true, ChckBx_RUSG_61, Ok, {{162}}, false, true},
        {true, false, ChckBx_RUSG_62, Ok, {{163}}, true, false},
        {false, false, ChckBx_RUSG_61, Ok, {}, true, false},
        {false, false, ChckBx_RUSG_62, Ok, {}, false, true},
        {true, false, ChckBx_RUSG_61, Yes, {{166}}, false, false},
        {true, false, ChckBx_RUSG_61, No, {{166}}, true, false},
        {false, true, ChckBx_RUSG_62, Yes, {{167}}, false, false},
        {false, true, ChckBx_RUSG_62, No, {{167}}, false, true},
        // The loader sets both as the record holds them; the handler does not run.
        {true, true, ChckBx_RUSG_11, Ok, {}, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << RowOf(c.box).objectName << c.muting << c.cyclic
                                        << static_cast<int>(c.answer));
        active.SetByte(
            CF::SpecialFunctionBits,
            static_cast<std::uint8_t>(0x90 | (c.muting ? 0x08 : 0) | (c.cyclic ? 1 : 0)));
        Reload();
        dialogs.answer = c.answer;
        page.Click(c.box);
        EXPECT_EQ(log, SaidAll(c.messages));
        EXPECT_EQ(page.Checked(ChckBx_RUSG_61), c.mutingAfter);
        EXPECT_EQ(page.Checked(ChckBx_RUSG_62), c.cyclicAfter);
    }
}

TEST_F(OptionRulesTest, FixedBlankingBoxOnlySwitchesOffAndBeamCodingAlwaysWarns) {
    active.SetByte(CF::FunctionBits, 0x04 | 0x08 | 0x40);
    active.SetMask(CF::FixedBlankingMask, test::Blanked({5}));
    dialogs.answer = MessageResult::Yes;
    Reload();
    ASSERT_TRUE(page.Checked(ChckBx_RUSG_41));
    ASSERT_TRUE(page.Checked(ChckBx_RUSG_31));
    for (bool checked : {false, true}) {
        page.Click(ChckBx_RUSG_41);
        page.Click(ChckBx_RUSG_31);
        EXPECT_FALSE(page.Checked(ChckBx_RUSG_41));
        EXPECT_EQ(page.Checked(ChckBx_RUSG_31), checked);
    }
    EXPECT_EQ(log, SaidAll({{131}, {131}}));
}

} // namespace
} // namespace lcdiag
