#pragma once

#include <array>
#include <cstdint>

namespace lcdiag {

// The calls that need the kernel's termios2, which carries any baud rate as a number. They
// live apart because its header clashes with <termios.h>.

// A tty's whole line: the modes as <termios.h> has them (the kernel's control characters are
// its first 19) and the rate in bits per second.
struct TKernelLine {
    std::uint32_t input = 0;
    std::uint32_t output = 0;
    std::uint32_t control = 0; // its speed bits are ignored
    std::uint32_t local = 0;
    std::uint8_t discipline = 0;
    std::array<std::uint8_t, 19> controlChars{};
    std::uint32_t rate = 0;
};

// Sets the line in one call, also at a rate without a termios constant (14400, 56000, custom
// rates): the line never runs at another rate or with other modes on the way. Returns 0 or
// the OS error.
int SetKernelLine(int fd, const TKernelLine& line);

// The time one character takes on the tty's line at its current rate and framing (start bit,
// data bits, parity bit, stop bits) in nanoseconds; 0 when fd is not a tty with a rate.
std::uint64_t CharacterNanoseconds(int fd);

} // namespace lcdiag
