#include "platform/serial/CustomBaudRate.h"

#include "platform/serial/Interrupted.h"

#include <asm/termbits.h>
#include <cerrno>
#include <sys/ioctl.h>

namespace lcdiag {

int SetCustomBaudRate(int fd, unsigned rate) {
    termios2 line{};
    if (RetryInterrupted(ioctl, fd, TCGETS2, &line) != 0) {
        return errno;
    }
    line.c_cflag &= ~static_cast<tcflag_t>(CBAUD);
    line.c_cflag |= BOTHER;
    line.c_ispeed = rate;
    line.c_ospeed = rate;
    return RetryInterrupted(ioctl, fd, TCSETS2, &line) == 0 ? 0 : errno;
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
