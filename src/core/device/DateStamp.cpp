#include "core/device/DateStamp.h"

#include "core/device/Decimal.h"

#include <array>
#include <vector>

namespace lcdiag {

namespace {

enum StampByte { Day, Month, Year, Second, Minute, Hour, StampSize };

bool Holds(std::span<const std::uint8_t> stamp) {
    return stamp.size() >= StampSize;
}

std::uint8_t Modulo100(int value) {
    return static_cast<std::uint8_t>((value % 100 + 100) % 100);
}

std::string TwoDigits(int value) {
    return PaddedDecimal(value, 2);
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (std::size_t at = text.find(separator); at != std::string_view::npos;
         at = text.find(separator)) {
        parts.push_back(text.substr(0, at));
        text.remove_prefix(at + 1);
    }
    parts.push_back(text);
    return parts;
}

// One to four digits, nothing else.
std::optional<int> Digits(std::string_view text) {
    if (text.empty() || text.size() > 4 || text.front() == '+' || text.front() == '-') {
        return std::nullopt;
    }
    const std::optional<long long> value = ParseDecimal(text);
    return value ? std::optional<int>(static_cast<int>(*value)) : std::nullopt;
}

int DaysInMonth(int year, int month) {
    static constexpr std::array<int, 12> days{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[static_cast<std::size_t>(month - 1)];
}

bool IsRealTime(const CalendarTime& t) {
    return t.month >= 1 && t.month <= 12 && t.day >= 1 && t.day <= DaysInMonth(t.year, t.month) &&
           t.hour <= 23 && t.minute <= 59 && t.second <= 59;
}

} // namespace

void WriteDateStamp(std::span<std::uint8_t> stamp, const CalendarTime& time) {
    if (!Holds(stamp)) {
        return;
    }
    stamp[Day] = Modulo100(time.day);
    stamp[Month] = Modulo100(time.month);
    stamp[Year] = Modulo100(time.year);
    stamp[Second] = Modulo100(time.second);
    stamp[Minute] = Modulo100(time.minute);
    stamp[Hour] = Modulo100(time.hour);
}

CalendarTime ReadDateStamp(std::span<const std::uint8_t> stamp) {
    if (!Holds(stamp)) {
        return {};
    }
    return {2000 + stamp[Year], stamp[Month],  stamp[Day],
            stamp[Hour],        stamp[Minute], stamp[Second]};
}

std::string DateStampDateText(std::span<const std::uint8_t> stamp) {
    if (!Holds(stamp)) {
        return {};
    }
    return TwoDigits(stamp[Day]) + "." + TwoDigits(stamp[Month]) + "." +
           TwoDigits(2000 + stamp[Year]);
}

std::string DateStampTimeText(std::span<const std::uint8_t> stamp) {
    if (!Holds(stamp)) {
        return {};
    }
    return TwoDigits(stamp[Hour]) + ":" + TwoDigits(stamp[Minute]) + ":" + TwoDigits(stamp[Second]);
}

std::string DateStampText(std::span<const std::uint8_t> stamp) {
    if (!Holds(stamp)) {
        return {};
    }
    return DateStampDateText(stamp) + " " + DateStampTimeText(stamp);
}

std::optional<CalendarTime> ParseDateTimeText(std::string_view text) {
    const std::vector<std::string_view> halves = Split(Trimmed(text), ' ');
    if (halves.size() != 2) {
        return std::nullopt;
    }
    const std::vector<std::string_view> date = Split(halves[0], '.');
    const std::vector<std::string_view> clock = Split(halves[1], ':');
    if (date.size() != 3 || clock.size() < 2 || clock.size() > 3) {
        return std::nullopt;
    }
    std::array<std::optional<int>, 6> values{Digits(date[2]),  Digits(date[1]),  Digits(date[0]),
                                             Digits(clock[0]), Digits(clock[1]), 0};
    if (clock.size() == 3) {
        values[5] = Digits(clock[2]);
    }
    for (const std::optional<int>& value : values) {
        if (!value) {
            return std::nullopt;
        }
    }
    const CalendarTime time{*values[0], *values[1], *values[2], *values[3], *values[4], *values[5]};
    return IsRealTime(time) ? std::optional(time) : std::nullopt;
}

std::string DateTimeText(const CalendarTime& time) {
    return TwoDigits(time.day) + "." + TwoDigits(time.month) + "." + TwoDigits(time.year) + " " +
           TwoDigits(time.hour) + ":" + TwoDigits(time.minute) + ":" + TwoDigits(time.second);
}

} // namespace lcdiag
