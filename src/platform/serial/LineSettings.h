#pragma once

namespace lcdiag {

class TComPort;

// Sets the line of an open tty from the port's settings: raw mode, baud rate, data bits,
// parity, stop bits, flow control and the DTR and RTS lines. Returns 0 or the OS error.
int SetLine(int fd, const TComPort& port);

// Sets a baud rate that has no termios constant (14400, 56000, custom rates). Returns 0 or
// the OS error. Lives apart because the kernel's termios2 header clashes with <termios.h>.
int SetCustomBaudRate(int fd, unsigned rate);

} // namespace lcdiag
