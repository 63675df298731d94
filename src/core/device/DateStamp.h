#pragma once

#include "core/device/PcClock.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace lcdiag {

// The six-byte date and time that the records carry: day, month, year minus 2000, second,
// minute, hour. Blocks of fewer than six bytes are neither read nor written.

// Stores the time, each value modulo 100 (so the year as year minus 2000).
void WriteDateStamp(std::span<std::uint8_t> stamp, const CalendarTime& time);
CalendarTime ReadDateStamp(std::span<const std::uint8_t> stamp);

// "05.03.2014": day and month with at least two digits, the year 2000 + its byte.
std::string DateStampDateText(std::span<const std::uint8_t> stamp);
// "17:08:09": hour, minute and second with at least two digits.
std::string DateStampTimeText(std::span<const std::uint8_t> stamp);
// Both, joined by a blank: "05.03.2014 17:08:09".
std::string DateStampText(std::span<const std::uint8_t> stamp);

// Reads a date and time written as DateStampText writes it (day, month and year joined by
// ".", a blank, hour, minute and optional second joined by ":"); nothing when the text is not
// such a date or names no real day and time.
std::optional<CalendarTime> ParseDateTimeText(std::string_view text);
// The text of a time as the editors show it: "05.03.2014 17:08:09".
std::string DateTimeText(const CalendarTime& time);

} // namespace lcdiag
