#pragma once

#include "core/device/ReceiverCustomerRecord.h"

#include <cstdint>
#include <string>

namespace lcdiag {

class RecordCodec;

// The receiver keeps its last eight customer records in a ring of slots 0-7, each stamped
// when it was activated; the factory record's trailer names the current configuration
// number and the active slot (255 when no valid trailer came: no history then).
inline constexpr int NoActiveSlot = 255;

// Whether a history record can be shown: its checksum (bytes 142-143, over bytes 0-145),
// the checksum's complement and the complement of its operating hours all agree.
bool IsValidHistoryRecord(const ReceiverCustomerRecord& record, const RecordCodec& codec);

// The configuration a slot holds, counted back from the active slot.
struct HistorySlot {
    static constexpr int ActiveLabelTextId = 2107; // "active"

    std::uint8_t number = 0; // the configuration number
    bool active = false;
    std::uint8_t age = 0; // configurations since this one

    // "n-" and the age; the active slot is labelled with text 2107 instead.
    std::string AgeLabel() const { return "n-" + std::to_string(age); }

    friend bool operator==(const HistorySlot&, const HistorySlot&) = default;
};
// With c the current configuration number and a the active slot, all modulo 256:
// d = a - s, k = c - d, and 8 less when that exceeds c (the ring holds eight).
HistorySlot ConfigurationOfSlot(int slot, std::uint8_t currentNumber, std::uint8_t activeSlot);

// When the record was activated: "05.03.2014 17:08:09".
std::string ActivationStampText(const ReceiverCustomerRecord& record);
// The operating hours at activation (bytes 146-148).
std::uint32_t ActivationOperatingHours(const ReceiverCustomerRecord& record);

} // namespace lcdiag
