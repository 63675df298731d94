#include "sim/tools/PtyLink.h"

#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>
#include <utility>

namespace lcdiag::sim {

namespace {

int BaudOf(speed_t speed) {
    constexpr std::array<std::pair<speed_t, int>, 8> Rates{{{B1200, 1200},
                                                            {B2400, 2400},
                                                            {B4800, 4800},
                                                            {B9600, 9600},
                                                            {B19200, 19200},
                                                            {B38400, 38400},
                                                            {B57600, 57600},
                                                            {B115200, 115200}}};
    for (const auto& [code, baud] : Rates) {
        if (code == speed) {
            return baud;
        }
    }
    return 0;
}

} // namespace

std::optional<PtyLink> PtyLink::Create(std::string& error) {
    const int master = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) {
        error = std::strerror(errno);
        if (master >= 0) {
            close(master);
        }
        return std::nullopt;
    }
    PtyLink link(master, ptsname(master));
    link.ResetLineSettings();
    // Open and close the slave once: from then on the master reports a hang-up while no
    // program holds the slave open.
    const int slave = open(link.path_.c_str(), O_RDWR | O_NOCTTY);
    if (slave >= 0) {
        close(slave);
    }
    return link;
}

PtyLink::PtyLink(PtyLink&& other) noexcept
    : master_(std::exchange(other.master_, -1)), path_(std::move(other.path_)) {}

PtyLink::~PtyLink() {
    if (master_ >= 0) {
        close(master_);
    }
}

bool PtyLink::WaitForPeer(int timeoutMs) const {
    pollfd watch{master_, POLLIN, 0};
    if (poll(&watch, 1, timeoutMs) < 0) {
        return true; // interrupted by a signal: look again next time
    }
    return (watch.revents & POLLHUP) == 0;
}

int PtyLink::PeerBaud() const {
    termios settings{};
    if (tcgetattr(master_, &settings) != 0) {
        return 0;
    }
    return BaudOf(cfgetospeed(&settings));
}

std::vector<std::uint8_t> PtyLink::ReadAvailable() {
    std::vector<std::uint8_t> bytes;
    std::array<std::uint8_t, 1024> chunk{};
    ssize_t count = 0;
    while ((count = read(master_, chunk.data(), chunk.size())) > 0) {
        bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + count);
    }
    return bytes;
}

void PtyLink::Write(std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const ssize_t written = write(master_, bytes.data(), bytes.size());
        if (written <= 0) {
            return;
        }
        bytes = bytes.subspan(static_cast<std::size_t>(written));
    }
}

void PtyLink::ResetLineSettings() {
    termios settings{};
    if (tcgetattr(master_, &settings) != 0) {
        return;
    }
    cfmakeraw(&settings);
    cfsetspeed(&settings, B19200);
    tcsetattr(master_, TCSANOW, &settings);
}

} // namespace lcdiag::sim
