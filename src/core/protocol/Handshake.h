#pragma once

#include <cstdint>

namespace lcdiag {

// The receiver sends a handshake byte when it is ready for settings and expects it back with
// its bit order reversed (bit 0 becomes bit 7, bit 1 bit 6, and so on).
constexpr std::uint8_t HandshakeAnswer(std::uint8_t handshake) {
    std::uint8_t answer = 0;
    for (int bit = 0; bit < 8; ++bit) {
        answer = static_cast<std::uint8_t>(answer << 1 | (handshake >> bit & 1));
    }
    return answer;
}

} // namespace lcdiag
