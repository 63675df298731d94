#include "core/device/ConfigurationHistory.h"

#include "core/device/DateStamp.h"
#include "core/protocol/RecordCodec.h"

namespace lcdiag {

namespace {
using CF = ReceiverCustomerField;

std::uint8_t Byte(int value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}
} // namespace

bool IsValidHistoryRecord(const ReceiverCustomerRecord& record, const RecordCodec& codec) {
    return codec.TestChecksum(record.bytes, BlockKind::Customer, Layout::Long) &&
           record.ComplementMatches(CF::ChecksumComplement) &&
           record.ComplementMatches(CF::OperatingHoursComplement);
}

HistorySlot ConfigurationOfSlot(int slot, std::uint8_t currentNumber, std::uint8_t activeSlot) {
    const std::uint8_t distance = Byte(activeSlot - slot);
    std::uint8_t number = Byte(currentNumber - distance);
    if (number > currentNumber) {
        number = Byte(number - 8);
    }
    return {number, number == currentNumber, Byte(currentNumber - number)};
}

std::string ActivationStampText(const ReceiverCustomerRecord& record) {
    return DateStampText(record.Bytes(CF::ActivationStamp));
}

std::uint32_t ActivationOperatingHours(const ReceiverCustomerRecord& record) {
    return record.Number(CF::OperatingHours);
}

} // namespace lcdiag
