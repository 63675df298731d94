#include "sim/Wire.h"

#include <iterator>

namespace lcdiag::sim {

namespace {

// What a UART reads when the bits come at another rate: a start bit taken for data bits.
constexpr std::uint8_t Misreads[] = {0x00, 0x80, 0xC0, 0xE0, 0xF0, 0xF8, 0xFC, 0xFE, 0xFF};

constexpr long CostOfByte = Wire::BitsPerByte * 1000L; // in bit-milliseconds

} // namespace

void Wire::CarryOneMillisecond(Transmitter& from, int senderBaud, int receiverBaud,
                               std::vector<std::uint8_t>& received) {
    if (from.PauseOneMillisecond() || senderBaud <= 0) {
        credit_ = 0;
        return;
    }
    credit_ += senderBaud;
    while (credit_ >= CostOfByte) {
        const auto byte = from.TakeByte();
        if (!byte) {
            break;
        }
        credit_ -= CostOfByte;
        Deliver(*byte, senderBaud, receiverBaud, received);
    }
    // An idle line saves no time for later bytes.
    if (from.Empty()) {
        credit_ = 0;
    }
}

void Wire::Deliver(std::uint8_t byte, int senderBaud, int receiverBaud,
                   std::vector<std::uint8_t>& received) {
    if (senderBaud == receiverBaud) {
        received.push_back(byte);
        return;
    }
    if (senderBaud <= 0 || receiverBaud <= 0) {
        return;
    }
    misreadCredit_ += receiverBaud;
    while (misreadCredit_ >= senderBaud) {
        misreadCredit_ -= senderBaud;
        received.push_back(Misreads[rng_() % std::size(Misreads)]);
    }
}

} // namespace lcdiag::sim
