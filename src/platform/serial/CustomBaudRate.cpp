#include "platform/serial/CustomBaudRate.h"

#include "platform/serial/Interrupted.h"

#include <algorithm>
#include <asm/termbits.h>
#include <cerrno>
#include <sys/ioctl.h>
#include <tuple>

namespace lcdiag {

static_assert(std::tuple_size_v<decltype(TKernelLine::controlChars)> == NCCS);

int SetKernelLine(int fd, const TKernelLine& line) {
    termios2 kernel{};
    kernel.c_iflag = line.input;
    kernel.c_oflag = line.output;
    // Input at the output's rate (no input speed bits); the rate as a number (BOTHER).
    kernel.c_cflag = (line.control & ~static_cast<tcflag_t>(CBAUD | CIBAUD)) | BOTHER;
    kernel.c_lflag = line.local;
    kernel.c_line = line.discipline;
    std::copy(line.controlChars.begin(), line.controlChars.end(), kernel.c_cc);
    kernel.c_ispeed = line.rate;
    kernel.c_ospeed = line.rate;
    return RetryInterrupted(ioctl, fd, TCSETS2, &kernel) == 0 ? 0 : errno;
}

std::uint64_t CharacterNanoseconds(int fd) {
    termios2 line{};
    if (ioctl(fd, TCGETS2, &line) != 0 || line.c_ospeed == 0) {
        return 0;
    }
    const tcflag_t size = line.c_cflag & CSIZE;
    const unsigned dataBits = size == CS5 ? 5 : size == CS6 ? 6 : size == CS7 ? 7 : 8;
    const unsigned bits =
        1 + dataBits + ((line.c_cflag & PARENB) ? 1 : 0) + ((line.c_cflag & CSTOPB) ? 2 : 1);
    return std::uint64_t{bits} * 1000000000 / line.c_ospeed;
}

} // namespace lcdiag
