#include "Pty.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <poll.h>
#include <stdexcept>
#include <unistd.h>

namespace lcdiag::test {

std::uint32_t SpeedOf(int fd); // PtySpeed.cpp

TPty::TPty() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
        throw std::runtime_error("no pseudo-terminal");
    }
    slaveName_ = ptsname(master_);
}

TPty::~TPty() {
    CloseMaster();
}

void TPty::Send(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = write(master_, bytes.data(), bytes.size());
        if (written < 0) {
            throw std::runtime_error("pty write failed");
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
}

std::string TPty::Receive(std::size_t count) {
    std::string bytes;
    pollfd ready{master_, POLLIN, 0};
    while (bytes.size() < count && poll(&ready, 1, 10000) > 0) {
        char chunk[4096];
        const ssize_t got = read(master_, chunk, std::min(sizeof chunk, count - bytes.size()));
        if (got <= 0) {
            break;
        }
        bytes.append(chunk, static_cast<std::size_t>(got));
    }
    return bytes;
}

termios TPty::Line() const {
    termios line{};
    tcgetattr(master_, &line);
    return line;
}

std::uint32_t TPty::Speed() const {
    return SpeedOf(master_);
}

void TPty::CloseMaster() {
    if (master_ >= 0) {
        close(master_);
        master_ = -1;
    }
}

int OpenFileCount() {
    const auto fds = std::filesystem::directory_iterator("/proc/self/fd");
    return static_cast<int>(std::distance(begin(fds), end(fds)));
}

int ThreadCount() {
    const auto tasks = std::filesystem::directory_iterator("/proc/self/task");
    return static_cast<int>(std::distance(begin(tasks), end(tasks)));
}

} // namespace lcdiag::test
