#pragma once

#include "core/device/ReceiverCustomerRecord.h"
#include "core/protocol/Layout.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

namespace lcdiag {

class RecordCodec;

// The eight customer records a receiver controller keeps in a ring, as it last reported them.
// The record at ActiveRecordIndex is the one in force; the set is valid when that record's
// checksum was right on reception.
class ReceiverCustomerSet {
public:
    static constexpr int Slots = 8;
    static constexpr int UnknownIndex = 255;

    // The index the configuration pointer gives (0-7), or 255 when it is unknown. A new index
    // makes the set invalid until it is received again.
    int ActiveRecordIndex() const { return activeRecordIndex_; }
    void SetActiveRecordIndex(int index);

    // Decodes the eight records as they came after their keyword (1216 or 1024 bytes) and
    // returns the validity. Too few bytes leave the set unreceived.
    bool Receive(std::span<const std::uint8_t> data, Layout layout, const RecordCodec& codec);
    // Forgets the records (a reset of the dialogue).
    void Clear();
    // A configuration taken from a file: it is the record in force, as if the controller had
    // reported it, until the set or its index is received again. The ring itself keeps what
    // the controller holds, so the history never shows a record the unit has not stored.
    void Adopt(const ReceiverCustomerRecord& record);
    bool Adopted() const { return adopted_.has_value(); }

    bool Received() const { return received_; }
    bool Valid() const { return valid_; }
    // The record in force: an adopted one, or the active slot while the set is valid.
    const ReceiverCustomerRecord* ActiveRecord() const;
    // Slot 0-7 as received (slots outside give an empty record).
    const ReceiverCustomerRecord& Slot(int slot) const;

    // Operating hours of the active record as received when the set is valid and their
    // complements match (an adopted record has none: the controller stamps them).
    std::optional<std::uint32_t> ActiveOperatingHours() const;
    // The information panel's texts, of the active record as received; "0", "xx.xx.xxxx" and
    // "xx:xx:xx" while not valid.
    std::string OperatingHoursText() const;
    std::string ConfigurationDateText() const;
    std::string ConfigurationTimeText() const;

private:
    // The active slot as received, while the set is valid.
    const ReceiverCustomerRecord* ReceivedActiveRecord() const;

    std::array<ReceiverCustomerRecord, Slots> records_{};
    std::optional<ReceiverCustomerRecord> adopted_;
    int activeRecordIndex_ = UnknownIndex;
    bool received_ = false;
    bool valid_ = false;
};

} // namespace lcdiag
