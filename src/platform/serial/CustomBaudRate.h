#pragma once

#include <cstdint>

namespace lcdiag {

// The calls that need the kernel's termios2, which carries any baud rate as a number. They
// live apart because its header clashes with <termios.h>.

// Sets a baud rate that has no termios constant (14400, 56000, custom rates). Returns 0 or
// the OS error.
int SetCustomBaudRate(int fd, unsigned rate);

// The time one character takes on the tty's line at its current rate and framing (start bit,
// data bits, parity bit, stop bits) in nanoseconds; 0 when fd is not a tty with a rate.
std::uint64_t CharacterNanoseconds(int fd);

} // namespace lcdiag
