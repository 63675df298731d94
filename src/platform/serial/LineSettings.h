#pragma once

#include <termios.h>

namespace lcdiag {

class TComPort;

// Turns the tty's current line into the raw line of the port's settings, speed aside.
void MakeLine(termios& line, const TComPort& port);

// Sets the line of an open tty from the port's settings: raw mode, baud rate, data bits,
// parity, stop bits, flow control and the DTR and RTS lines. Returns 0 or the OS error.
int SetLine(int fd, const TComPort& port);

} // namespace lcdiag
