#include "gui/app/SessionRecorder.h"

#include <cerrno>
#include <chrono>
#include <cstring>

namespace lcdiag {

std::optional<std::string> SessionRecorder::Start(const std::string& path) {
    Stop();
    errno = 0;
    out_.open(path, std::ios::binary | std::ios::trunc);
    if (!out_) {
        out_.clear();
        return errno != 0 ? std::strerror(errno) : "the file cannot be created";
    }
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    tap_.Start(out_, {SessionFormatVersion, programVersion_,
                      std::chrono::duration_cast<std::chrono::milliseconds>(now).count(), 0});
    path_ = path;
    return std::nullopt;
}

void SessionRecorder::Stop() {
    tap_.Stop();
    if (out_.is_open()) {
        out_.close();
    }
    out_.clear();
}

std::optional<std::string> SessionRecorder::TakeWriteFailure() {
    if (!tap_.WriteFailed()) {
        return std::nullopt;
    }
    const int error = errno;
    Stop();
    return error != 0 ? std::strerror(error) : "the file cannot be written";
}

} // namespace lcdiag
