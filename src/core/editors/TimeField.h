#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace lcdiag {

// A time entered in tenths of a second, shown as hh:mm:ss,t, with limits, the step of its
// arrow control and the acceleration of that step while an arrow is held.
//
// A time is never negative: a negative limit or value is taken as 0. Otherwise a value is
// kept as given even outside the limits, because the loader shows what the device holds;
// the text is then still right (with more hour digits from 1000 h on), an arrow that grows
// the value cuts it to the maximum, and the keys take only values within the limits.
class TimeField {
public:
    static constexpr int ArrowPositions = 4; // the arrow control counts 0 to 3 and wraps
    static constexpr int HighestLevel = 6;   // the 30-minute step

    TimeField(std::int32_t minimum, std::int32_t maximum, std::int32_t value, std::int32_t baseStep,
              int baseLevel);

    std::int32_t Minimum() const { return minimum_; }
    std::int32_t Maximum() const { return maximum_; }
    std::int32_t Value() const { return value_; }
    std::int32_t BaseStep() const { return baseStep_; }
    int BaseLevel() const { return baseLevel_; }
    std::int32_t Step() const { return step_; }
    int Level() const { return level_; }
    int ArrowPosition() const { return arrowPosition_; }

    void SetMaximum(std::int32_t maximum);
    void SetValue(std::int32_t value);
    // The pages are loaded: the arrow control starts again at position 0.
    void ResetArrowPosition() { arrowPosition_ = 0; }

    // hh:mm:ss,t with a blank in front while the hours are below 100: 11 characters up to
    // 999 h, one more for each further hour digit.
    std::string Text() const;

    // The arrow control moved to `position` (taken modulo 4): one place up grows the value
    // by the current step, one place down shrinks it; the position is remembered.
    void ArrowClicked(int position);

    // The left button went down on the arrows: the step starts again from its base.
    void AccelerationStarted();
    // Every two seconds while the arrows are held the step widens. False once the widest
    // step is reached: the acceleration stops there and the step stays until the next press.
    bool AccelerationTick();

    enum class Key { Up, Down };
    // Up or Down in the text box: the part of the text that holds the caret (hours, minutes,
    // seconds or tenths) goes one unit up or down, carrying into the other parts.
    void KeyPressed(Key key, int caret);
    // A character typed in overwrite mode at the caret; returns the caret's new position.
    int Typed(char16_t character, int caret);
    // The mouse wheel over the focused text box: every 120 units are one Up (a positive
    // delta) or Down.
    void Wheel(int delta, int caret);

private:
    std::int32_t UnitOfPart(int caret) const;
    void StepBy(std::int32_t unit, int direction, std::int64_t presses);
    bool WithinLimits(std::int64_t value) const;

    std::int32_t minimum_;
    std::int32_t maximum_;
    std::int32_t value_;
    std::int32_t baseStep_;
    int baseLevel_;
    std::int32_t step_;
    int level_;
    int arrowPosition_ = 0;
};

// The seven time fields; the index is the Tag of the field's text box and arrow control.
enum class TimeFieldIndex {
    MutingCycle = 0,
    Concurrency = 1,
    ConveyorStop = 2,
    Override = 3,
    ClockCycle = 4,
    FactoryMutingCycle = 5,
    FactoryConveyorStop = 6,
};
inline constexpr int TimeFieldCount = 7;

// The factory maxima of the muting cycle and conveyor stop times (tenths), which are also
// the user fields' maxima once the factory data are loaded.
inline constexpr std::int32_t FactoryTimeLimitBefore133 = 648000; // 18 h
inline constexpr std::int32_t FactoryTimeLimitFrom133 = 3600000;  // 100 h
constexpr std::int32_t FactoryTimeLimit(int firmwareVersion) {
    return firmwareVersion >= 133 ? FactoryTimeLimitFrom133 : FactoryTimeLimitBefore133;
}

struct TimeFieldDefinition {
    std::string_view textBox; // object name of the text box
    std::string_view arrows;  // object name of the arrow control
    std::int32_t minimum;
    std::int32_t maximum; // before the factory data are loaded
    std::int32_t initialValue;
    std::int32_t baseStep;
    int baseLevel;
};

inline constexpr std::array<TimeFieldDefinition, TimeFieldCount> TimeFieldDefinitions{{
    {"M_RUSM_11", "UpDwn_RUSM_11", 10, FactoryTimeLimitBefore133, 3000, 10, 1}, // muting cycle
    {"M_RUSM_12", "UpDwn_RUSM_12", 1, 30, 20, 1, 0},                            // concurrency
    {"M_RUSM_21", "UpDwn_RUSM_21", 10, FactoryTimeLimitBefore133, 3000, 10, 1}, // conveyor stop
    {"M_RUSM_22", "UpDwn_RUSM_22", 10, 2400, 1800, 10, 1},                      // override
    {"M_RUSC_21", "UpDwn_RUSC_21", 10, 300, 300, 10, 1},                        // clock cycle
    {"M_RFS_81", "UpDwn_RFS_81", 10, FactoryTimeLimitBefore133, 648000, 10, 1}, // factory muting
    {"M_RFS_82", "UpDwn_RFS_82", 10, FactoryTimeLimitBefore133, 648000, 10, 1}, // factory conveyor
}};

using TimeFields = std::array<TimeField, TimeFieldCount>;

TimeField MakeTimeField(TimeFieldIndex index);
TimeFields MakeTimeFields();

} // namespace lcdiag
