#include "core/device/ReceiverCustomerSet.h"

#include "core/device/DateStamp.h"
#include "core/protocol/RecordCodec.h"

#include <vector>

namespace lcdiag {

namespace {
using CF = ReceiverCustomerField;
} // namespace

void ReceiverCustomerSet::SetActiveRecordIndex(int index) {
    const int known = index >= 0 && index < Slots ? index : UnknownIndex;
    // The validity was judged for the record the old index named.
    if (known != activeRecordIndex_) {
        valid_ = false;
        adopted_.reset();
    }
    activeRecordIndex_ = known;
}

bool ReceiverCustomerSet::Receive(std::span<const std::uint8_t> data, Layout layout,
                                  const RecordCodec& codec) {
    if (data.size() < static_cast<std::size_t>(BlockLength(BlockKind::CustomerSet, layout))) {
        Clear();
        return false;
    }
    std::vector<std::uint8_t> decoded(Slots * ReceiverCustomerRecord::Size);
    valid_ = codec.DecodeCustomerSet(data, decoded, layout, activeRecordIndex_);
    adopted_.reset();
    for (std::size_t slot = 0; slot < records_.size(); ++slot) {
        const auto record = std::span(decoded).subspan(slot * ReceiverCustomerRecord::Size,
                                                       ReceiverCustomerRecord::Size);
        records_[slot] = ReceiverCustomerRecord::From(record);
    }
    received_ = true;
    return valid_;
}

void ReceiverCustomerSet::Clear() {
    records_ = {};
    adopted_.reset();
    received_ = false;
    valid_ = false;
}

void ReceiverCustomerSet::Adopt(const ReceiverCustomerRecord& record) {
    adopted_ = record;
}

const ReceiverCustomerRecord* ReceiverCustomerSet::ActiveRecord() const {
    return adopted_ ? &*adopted_ : ReceivedActiveRecord();
}

const ReceiverCustomerRecord* ReceiverCustomerSet::ReceivedActiveRecord() const {
    const bool known = activeRecordIndex_ >= 0 && activeRecordIndex_ < Slots;
    return valid_ && known ? &records_[static_cast<std::size_t>(activeRecordIndex_)] : nullptr;
}

const ReceiverCustomerRecord& ReceiverCustomerSet::Slot(int slot) const {
    static const ReceiverCustomerRecord empty{};
    return slot >= 0 && slot < Slots ? records_[static_cast<std::size_t>(slot)] : empty;
}

std::optional<std::uint32_t> ReceiverCustomerSet::ActiveOperatingHours() const {
    const ReceiverCustomerRecord* active = ReceivedActiveRecord();
    if (active == nullptr || !active->ComplementMatches(CF::OperatingHoursComplement)) {
        return std::nullopt;
    }
    return active->Number(CF::OperatingHours);
}

std::string ReceiverCustomerSet::OperatingHoursText() const {
    const std::optional<std::uint32_t> hours = ActiveOperatingHours();
    return hours ? std::to_string(*hours) : "0";
}

std::string ReceiverCustomerSet::ConfigurationDateText() const {
    const ReceiverCustomerRecord* active = ReceivedActiveRecord();
    return active ? DateStampDateText(active->Bytes(CF::ActivationStamp)) : "xx.xx.xxxx";
}

std::string ReceiverCustomerSet::ConfigurationTimeText() const {
    const ReceiverCustomerRecord* active = ReceivedActiveRecord();
    return active ? DateStampTimeText(active->Bytes(CF::ActivationStamp)) : "xx:xx:xx";
}

} // namespace lcdiag
