#include "core/editors/TimeField.h"

#include "core/editors/TimeFieldAccelerator.h"

#include <climits>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace lcdiag {
namespace {

TimeField Field(TimeFieldIndex index, std::int32_t value) {
    TimeField field = MakeTimeField(index);
    field.SetValue(value);
    return field;
}

// Carets of the usual 11-character text " hh:mm:ss,t".
constexpr int HoursCaret = 2;
constexpr int MinutesCaret = 5;
constexpr int SecondsCaret = 8;
constexpr int TenthsCaret = 10;

TEST(TimeFieldTest, TextIsHoursMinutesSecondsAndTenths) {
    const std::pair<std::int32_t, std::string> cases[] = {
        {0, " 00:00:00,0"},         {3000, " 00:05:00,0"},    {35999, " 00:59:59,9"},
        {359999, " 09:59:59,9"},    {3599999, " 99:59:59,9"}, {3600000, "100:00:00,0"},
        {36000000, "1000:00:00,0"}, // a loaded value far above every maximum
        {-5, " 00:00:00,0"},        // no time is negative
    };
    for (const auto& [value, text] : cases) {
        EXPECT_EQ(Field(TimeFieldIndex::MutingCycle, value).Text(), text) << value;
    }
}

TEST(TimeFieldTest, FieldsAreMadeInTheOrderOfTheirIndex) {
    const TimeFields fields = MakeTimeFields();
    for (std::size_t index = 0; index < fields.size(); ++index) {
        const TimeFieldDefinition& definition = TimeFieldDefinitions[index];
        EXPECT_EQ(fields[index].Value(), definition.initialValue) << definition.textBox;
        EXPECT_EQ(fields[index].Step(), definition.baseStep) << definition.textBox;
    }
    EXPECT_EQ(FactoryTimeLimit(132), 648000);
    EXPECT_EQ(FactoryTimeLimit(133), 3600000);
}

// The override time: 1 s to 4 min in steps of 1 s.
TEST(TimeFieldTest, ArrowClicksCompareWithTheStoredPositionAndWrap) {
    struct Case {
        std::int32_t value;
        int stored;
        int clicked;
        std::int32_t expected;
        int expectedPosition;
    };
    const Case cases[] = {
        {1800, 0, 1, 1810, 1},  {1800, 1, 0, 1790, 0}, {1800, 3, 0, 1810, 0}, // 3 to 0 grows
        {1800, 0, 3, 1790, 3},  {1800, 0, 2, 1800, 2}, {1800, 2, 2, 1800, 2}, // no change
        {2395, 0, 1, 2400, 1},  {15, 1, 0, 10, 0},                            // cut at limits
        {3000, 0, 1, 2400, 1},  {3000, 1, 0, 2990, 0}, // a loaded value above the maximum
        {1800, 0, -1, 1790, 3}, {1800, 0, 5, 1810, 1}, // taken modulo 4
    };
    for (const Case& c : cases) {
        TimeField field = Field(TimeFieldIndex::Override, c.value);
        field.ArrowClicked(c.stored);
        field.SetValue(c.value);
        field.ArrowClicked(c.clicked);
        EXPECT_EQ(field.Value(), c.expected) << c.value << ": " << c.stored << " -> " << c.clicked;
        EXPECT_EQ(field.ArrowPosition(), c.expectedPosition);
    }
}

// The step at the press and after each of six ticks.
std::vector<std::int32_t> StepsWhileHeld(TimeField& field) {
    field.AccelerationStarted();
    std::vector<std::int32_t> steps{field.Step()};
    for (int tick = 0; tick < 6; ++tick) {
        field.AccelerationTick();
        steps.push_back(field.Step());
    }
    return steps;
}

TEST(TimeFieldTest, HoldingTheArrowsWidensTheStepUpToHalfAnHour) {
    TimeField muting = Field(TimeFieldIndex::MutingCycle, 3000);
    EXPECT_EQ(StepsWhileHeld(muting),
              (std::vector<std::int32_t>{10, 50, 100, 600, 3000, 6000, 18000}));
    muting.ArrowClicked(1);
    EXPECT_EQ(muting.Value(), 21000); // the widest step stays until the next press

    // Long times skip the steps below ten seconds.
    muting.SetValue(30001);
    EXPECT_EQ(StepsWhileHeld(muting),
              (std::vector<std::int32_t>{10, 100, 600, 3000, 6000, 18000, 10}));
    muting.SetValue(30000);
    EXPECT_EQ(StepsWhileHeld(muting)[1], 50);

    TimeField concurrency = Field(TimeFieldIndex::Concurrency, 20);
    EXPECT_EQ(StepsWhileHeld(concurrency),
              (std::vector<std::int32_t>{1, 10, 50, 100, 600, 3000, 6000}));
}

class RecordingTimer final : public AccelerationTimer {
public:
    void Start(int interval) override { started.push_back(interval); }
    void Stop() override { ++stops; }
    std::vector<int> started;
    int stops = 0;
};

TEST(TimeFieldTest, TheAcceleratorDrivesTheSharedTimerForTheHeldField) {
    RecordingTimer timer;
    TimeFields fields = MakeTimeFields();
    TimeFieldAccelerator accelerator(timer, fields);
    using Button = TimeFieldAccelerator::Button;

    accelerator.Pressed(3, Button::Other);
    accelerator.Pressed(7, Button::Left);
    accelerator.Pressed(-1, Button::Left);
    EXPECT_TRUE(timer.started.empty());
    EXPECT_EQ(accelerator.Accelerating(), nullptr);

    accelerator.Pressed(3, Button::Left);
    EXPECT_EQ(timer.started, std::vector<int>{2000});
    EXPECT_EQ(accelerator.Accelerating(), &fields[3]);
    for (int tick = 0; tick < 5; ++tick) {
        accelerator.Tick();
    }
    EXPECT_EQ(timer.stops, 0);
    accelerator.Tick();
    EXPECT_EQ(timer.stops, 1); // the widest step is reached
    EXPECT_EQ(accelerator.Accelerating(), nullptr);
    accelerator.Pressed(3, Button::Left);
    EXPECT_EQ(fields[3].Step(), 10); // a new press starts from the base step again

    accelerator.Pressed(1, Button::Left);
    accelerator.Tick();
    accelerator.Released(Button::Other);
    EXPECT_EQ(timer.stops, 1);
    accelerator.Released(Button::Left);
    EXPECT_EQ(timer.stops, 2);
    accelerator.Tick(); // a late tick changes no field
    EXPECT_EQ(fields[1].Step(), 10);
}

TEST(TimeFieldTest, KeysChangeThePartAtTheCaretAndCarry) {
    TimeField field = Field(TimeFieldIndex::MutingCycle, 35990); // 00:59:59,0
    field.KeyPressed(TimeField::Key::Up, SecondsCaret);
    EXPECT_EQ(field.Text(), " 01:00:00,0");
    field.KeyPressed(TimeField::Key::Down, MinutesCaret);
    EXPECT_EQ(field.Text(), " 00:59:00,0");

    // The part ends at its separator: caret 3 still selects the hours.
    const std::pair<int, std::int32_t> units[] = {
        {-5, 36000}, {0, 36000}, {3, 36000}, {4, 600}, {6, 600},
        {7, 10},     {9, 10},    {10, 0},    {11, 0},  {1000, 0},
    };
    for (const auto& [caret, unit] : units) {
        field.SetValue(72000);
        field.KeyPressed(TimeField::Key::Up, caret);
        EXPECT_EQ(field.Value(), 72000 + unit) << caret;
    }

    TimeField concurrency = Field(TimeFieldIndex::Concurrency, 25);
    concurrency.KeyPressed(TimeField::Key::Down, TenthsCaret);
    EXPECT_EQ(concurrency.Value(), 24);
}

TEST(TimeFieldTest, KeysTakeOnlyValuesWithinTheLimits) {
    TimeField concurrency = Field(TimeFieldIndex::Concurrency, 25);
    concurrency.KeyPressed(TimeField::Key::Up, SecondsCaret); // 3.5 s is above 3 s
    EXPECT_EQ(concurrency.Value(), 25);
    concurrency.SetValue(5);
    concurrency.KeyPressed(TimeField::Key::Down, SecondsCaret); // -0.5 s
    EXPECT_EQ(concurrency.Value(), 5);

    TimeField override = Field(TimeFieldIndex::Override, 3000); // loaded above 4 min
    override.KeyPressed(TimeField::Key::Down, SecondsCaret);
    EXPECT_EQ(override.Value(), 3000);
    override.KeyPressed(TimeField::Key::Down, MinutesCaret);
    EXPECT_EQ(override.Value(), 2400);
}

TEST(TimeFieldTest, TypingOverwritesTheDigitAtTheCaret) {
    struct Case {
        int caret;
        char16_t typed;
        std::string text;
        int newCaret;
    };
    const Case cases[] = {
        {HoursCaret, u'1', " 01:05:00,0", 3},
        {4, u'9', " 01:35:00,0", 5}, // 95 minutes carry into the hours
        {TenthsCaret, u'7', " 00:05:00,7", 11},
        {1, u'2', " 00:05:00,0", 2},            // 20 h is above the maximum: not taken
        {0, u'1', " 00:05:00,0", 1},            // 100 h neither
        {3, u'1', " 00:05:00,0", 3},            // a separator stays and so does the caret
        {MinutesCaret, u'5', " 00:05:00,0", 5}, // the same digit
        {11, u'1', " 00:05:00,0", 11},          // no character behind the end
        {-5, u'1', " 00:05:00,0", 0},
        {1000, u'1', " 00:05:00,0", 11},
        {HoursCaret, u'a', " 00:05:00,0", 2},
        {HoursCaret, u'\u0661', " 00:05:00,0", 2}, // a digit of another script
        {0, u' ', " 00:05:00,0", 0},
    };
    for (const Case& c : cases) {
        TimeField field = Field(TimeFieldIndex::MutingCycle, 3000);
        EXPECT_EQ(field.Typed(c.typed, c.caret), c.newCaret) << c.caret;
        EXPECT_EQ(field.Text(), c.text) << c.caret;
    }

    TimeField factory = Field(TimeFieldIndex::FactoryMutingCycle, 0);
    factory.SetMaximum(FactoryTimeLimitFrom133);
    factory.SetValue(0);
    EXPECT_EQ(factory.Typed(u'1', 0), 1);
    EXPECT_EQ(factory.Text(), "100:00:00,0");
}

TEST(TimeFieldTest, TypingIntoThousandsOfHoursFindsTheSeparatorsFromTheEnd) {
    TimeField field = Field(TimeFieldIndex::FactoryMutingCycle, 0);
    field.SetMaximum(40000000);
    field.SetValue(36000000);
    EXPECT_EQ(field.Typed(u'1', 3), 4);
    EXPECT_EQ(field.Text(), "1001:00:00,0");
    EXPECT_EQ(field.Typed(u'1', 4), 4); // the first ":"
    EXPECT_EQ(field.Typed(u'3', 6), 7);
    EXPECT_EQ(field.Text(), "1001:03:00,0");
    field.KeyPressed(TimeField::Key::Down, 4);
    EXPECT_EQ(field.Text(), "1000:03:00,0");
}

TEST(TimeFieldTest, EveryHundredAndTwentyWheelUnitsAreOneKeyPress) {
    const std::pair<int, std::int32_t> cases[] = {
        {240, 4200}, {-240, 1800}, {119, 3000},    {-119, 3000},      {0, 3000},
        {359, 4200}, {360, 4800},  {INT_MIN, 600}, {INT_MAX, 648000},
    };
    for (const auto& [delta, value] : cases) {
        TimeField field = Field(TimeFieldIndex::MutingCycle, 3000);
        field.Wheel(delta, MinutesCaret);
        EXPECT_EQ(field.Value(), value) << delta;
    }
}

} // namespace
} // namespace lcdiag
