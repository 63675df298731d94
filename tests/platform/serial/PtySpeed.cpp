// Apart from Pty.cpp: the kernel's termios2 header clashes with <termios.h>.
#include <asm/termbits.h>
#include <cstdint>
#include <sys/ioctl.h>

namespace lcdiag::test {

std::uint32_t SpeedOf(int fd) {
    termios2 line{};
    return ioctl(fd, TCGETS2, &line) == 0 ? line.c_ospeed : 0;
}

} // namespace lcdiag::test
