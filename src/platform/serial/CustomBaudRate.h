#pragma once

namespace lcdiag {

// Sets a baud rate that has no termios constant (14400, 56000, custom rates). Returns 0 or
// the OS error. Lives apart because the kernel's termios2 header clashes with <termios.h>.
int SetCustomBaudRate(int fd, unsigned rate);

} // namespace lcdiag
