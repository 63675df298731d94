#include "platform/serial/CustomBaudRate.h"

#include <asm/termbits.h>
#include <cerrno>
#include <sys/ioctl.h>

namespace lcdiag {

int SetCustomBaudRate(int fd, unsigned rate) {
    termios2 line{};
    if (ioctl(fd, TCGETS2, &line) != 0) {
        return errno;
    }
    line.c_cflag &= ~static_cast<tcflag_t>(CBAUD);
    line.c_cflag |= BOTHER;
    line.c_ispeed = rate;
    line.c_ospeed = rate;
    return ioctl(fd, TCSETS2, &line) == 0 ? 0 : errno;
}

} // namespace lcdiag
