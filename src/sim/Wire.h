#pragma once

#include "sim/Transmitter.h"

#include <cstdint>
#include <random>
#include <vector>

namespace lcdiag::sim {

// One direction of the serial line. Each millisecond the sender's queue gives up as many
// bytes as its baud rate carries (ten bits a byte: start, eight data, stop). A receiver set
// to another baud rate reads framing garbage instead: roughly as many bytes as its own rate
// fits into the time, with values a UART makes of a misread start bit, never text.
class Wire {
public:
    static constexpr int BitsPerByte = 10;

    explicit Wire(std::uint32_t seed) : rng_(seed) {}

    // Carries one millisecond of the sender's output to `received`.
    void CarryOneMillisecond(Transmitter& from, int senderBaud, int receiverBaud,
                             std::vector<std::uint8_t>& received);
    // What a receiver at receiverBaud reads of one byte sent at senderBaud.
    void Deliver(std::uint8_t byte, int senderBaud, int receiverBaud,
                 std::vector<std::uint8_t>& received);

private:
    std::mt19937 rng_;
    long credit_ = 0;        // bit-milliseconds the sender may still spend
    long misreadCredit_ = 0; // receiver samples owed while the rates differ
};

} // namespace lcdiag::sim
