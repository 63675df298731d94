#include "core/editors/TimeField.h"

#include <algorithm>
#include <cstdlib>

namespace lcdiag {

namespace {

constexpr std::int32_t TenthsPerHour = 36000;
constexpr std::int32_t TenthsPerMinute = 600;
constexpr std::int32_t TenthsPerSecond = 10;

// The steps of the acceleration levels: 1 s, 5 s, 10 s, 1 min, 5 min, 10 min, 30 min.
constexpr std::array<std::int32_t, TimeField::HighestLevel + 1> StepOfLevel{10,   50,   100,  600,
                                                                            3000, 6000, 18000};
constexpr int TenSecondLevel = 2;
// From this value on the acceleration skips the steps below ten seconds.
constexpr std::int32_t LongTime = 30001;

constexpr int WheelUnitsPerPress = 120;

// The separators sit at fixed places counted from the end of the text, ":mm:ss,t": with the
// usual 11 characters these are the fourth, seventh and tenth, and they stay right for a
// loaded value of 1000 h or more, whose hours take more digits.
constexpr int FirstColonFromEnd = 8;
constexpr int SecondColonFromEnd = 5;
constexpr int CommaFromEnd = 2;

std::string TwoDigits(std::int32_t number) {
    return (number < 10 ? "0" : "") + std::to_string(number);
}

bool IsSeparator(int position, int end) {
    return position == end - FirstColonFromEnd || position == end - SecondColonFromEnd ||
           position == end - CommaFromEnd;
}

// The digits of one part; the blank in front of the hours counts as nothing.
std::int64_t ReadNumber(std::string_view digits) {
    std::int64_t number = 0;
    for (const char digit : digits) {
        if (digit != ' ') {
            number = number * 10 + (digit - '0');
        }
    }
    return number;
}

// A text that holds digits and blanks only between its separators. Minutes and seconds above
// 59 carry into the sum.
std::int64_t ReadTime(std::string_view text) {
    const std::size_t end = text.size();
    const std::int64_t hours = ReadNumber(text.substr(0, end - FirstColonFromEnd));
    const std::int64_t minutes = ReadNumber(text.substr(end - FirstColonFromEnd + 1, 2));
    const std::int64_t seconds = ReadNumber(text.substr(end - SecondColonFromEnd + 1, 2));
    const std::int64_t tenths = ReadNumber(text.substr(end - 1));
    return ((hours * 60 + minutes) * 60 + seconds) * 10 + tenths;
}

bool IsDigit(char16_t character) {
    return character >= u'0' && character <= u'9';
}

} // namespace

TimeField::TimeField(std::int32_t minimum, std::int32_t maximum, std::int32_t value,
                     std::int32_t baseStep, int baseLevel)
    : minimum_(std::max(minimum, 0)), maximum_(std::max(maximum, 0)), value_(std::max(value, 0)),
      baseStep_(std::max(baseStep, 1)), baseLevel_(std::clamp(baseLevel, 0, HighestLevel)),
      step_(baseStep_), level_(baseLevel_) {}

void TimeField::SetMaximum(std::int32_t maximum) {
    maximum_ = std::max(maximum, 0);
}

void TimeField::SetValue(std::int32_t value) {
    value_ = std::max(value, 0);
}

std::string TimeField::Text() const {
    const std::int32_t hours = value_ / TenthsPerHour;
    return (hours < 100 ? " " : "") + TwoDigits(hours) + ':' +
           TwoDigits(value_ / TenthsPerMinute % 60) + ':' +
           TwoDigits(value_ / TenthsPerSecond % 60) + ',' +
           static_cast<char>('0' + value_ % TenthsPerSecond);
}

void TimeField::ArrowClicked(int position) {
    const int moved = (position % ArrowPositions + ArrowPositions) % ArrowPositions;
    if (moved == (arrowPosition_ + 1) % ArrowPositions) {
        value_ = static_cast<std::int32_t>(
            std::min<std::int64_t>(std::int64_t{value_} + step_, maximum_));
    } else if (moved == (arrowPosition_ + ArrowPositions - 1) % ArrowPositions) {
        value_ = std::max(value_ - step_, minimum_);
    }
    arrowPosition_ = moved;
}

void TimeField::AccelerationStarted() {
    step_ = baseStep_;
    level_ = baseLevel_;
}

bool TimeField::AccelerationTick() {
    if (value_ >= LongTime && step_ < StepOfLevel[TenSecondLevel]) {
        level_ = TenSecondLevel;
    }
    step_ = StepOfLevel[static_cast<std::size_t>(level_)];
    if (++level_ <= HighestLevel) {
        return true;
    }
    level_ = 0;
    return false;
}

void TimeField::KeyPressed(Key key, int caret) {
    StepBy(UnitOfPart(caret), key == Key::Up ? 1 : -1, 1);
}

int TimeField::Typed(char16_t character, int caret) {
    std::string text = Text();
    const int end = static_cast<int>(text.size());
    const int kept = std::clamp(caret, 0, end);
    // A separator is put back at once and a digit typed over itself changes nothing: then
    // the caret stays. Only digits are typed into a time.
    if (caret != kept || caret == end || IsSeparator(caret, end) || !IsDigit(character) ||
        text[static_cast<std::size_t>(caret)] == static_cast<char>(character)) {
        return kept;
    }
    text[static_cast<std::size_t>(caret)] = static_cast<char>(character);
    if (const std::int64_t typed = ReadTime(text); WithinLimits(typed)) {
        value_ = static_cast<std::int32_t>(typed);
    }
    return caret + 1;
}

void TimeField::Wheel(int delta, int caret) {
    const std::int64_t presses = std::llabs(delta) / WheelUnitsPerPress;
    StepBy(UnitOfPart(caret), delta > 0 ? 1 : -1, presses);
}

// The part before the first ":" is the hours, before the second the minutes, before the ","
// the seconds, then the tenths, which the keys change only in a field that steps in tenths.
std::int32_t TimeField::UnitOfPart(int caret) const {
    const int end = static_cast<int>(Text().size());
    if (caret <= end - FirstColonFromEnd) {
        return TenthsPerHour;
    }
    if (caret <= end - SecondColonFromEnd) {
        return TenthsPerMinute;
    }
    if (caret <= end - CommaFromEnd) {
        return TenthsPerSecond;
    }
    return baseStep_ < TenthsPerSecond ? 1 : 0;
}

// Each press is taken only when its result lies within the limits. Presses in a row stop at
// the first that would leave them, so any number of presses is counted at once.
void TimeField::StepBy(std::int32_t unit, int direction, std::int64_t presses) {
    if (unit == 0 || presses <= 0 || !WithinLimits(std::int64_t{value_} + direction * unit)) {
        return;
    }
    const std::int64_t room =
        direction > 0 ? std::int64_t{maximum_} - value_ : std::int64_t{value_} - minimum_;
    const std::int64_t taken = std::min(presses, room / unit);
    value_ = static_cast<std::int32_t>(value_ + direction * taken * unit);
}

bool TimeField::WithinLimits(std::int64_t value) const {
    return value >= minimum_ && value <= maximum_;
}

TimeField MakeTimeField(TimeFieldIndex index) {
    const TimeFieldDefinition& field = TimeFieldDefinitions[static_cast<std::size_t>(index)];
    return TimeField(field.minimum, field.maximum, field.initialValue, field.baseStep,
                     field.baseLevel);
}

TimeFields MakeTimeFields() {
    return {MakeTimeField(TimeFieldIndex::MutingCycle),
            MakeTimeField(TimeFieldIndex::Concurrency),
            MakeTimeField(TimeFieldIndex::ConveyorStop),
            MakeTimeField(TimeFieldIndex::Override),
            MakeTimeField(TimeFieldIndex::ClockCycle),
            MakeTimeField(TimeFieldIndex::FactoryMutingCycle),
            MakeTimeField(TimeFieldIndex::FactoryConveyorStop)};
}

} // namespace lcdiag
