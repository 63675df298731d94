#include "core/protocol/ReceiveBuffer.h"

#include <algorithm>

namespace lcdiag {

void ReceiveBuffer::Append(std::span<const std::uint8_t> bytes) {
    const auto size = std::min<std::size_t>(bytes.size(), MaxReadPerEvent);
    if (static_cast<std::size_t>(count_) + size >= static_cast<std::size_t>(Capacity)) {
        Consume(count_ - KeptOnOverflow);
    }
    std::copy_n(bytes.begin(), size, data_.begin() + count_);
    count_ += static_cast<int>(size);
}

void ReceiveBuffer::Assign(std::span<const std::uint8_t> bytes) {
    const auto size = std::min<std::size_t>(bytes.size(), Capacity);
    std::copy_n(bytes.begin(), size, data_.begin());
    count_ = static_cast<int>(size);
}

void ReceiveBuffer::Consume(int count) {
    if (count <= 0) {
        return;
    }
    const int kept = std::max(0, count_ - count);
    std::copy_n(data_.begin() + (count_ - kept), kept, data_.begin());
    count_ = kept;
}

} // namespace lcdiag
