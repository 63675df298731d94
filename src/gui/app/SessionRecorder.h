#pragma once

#include "core/session/RecordingTap.h"

#include <fstream>
#include <optional>
#include <string>

namespace lcdiag {

// Records the connection's line into a file while the user wants it: what the tap between the
// dialogue and its port sees goes into the file as it happens.
class SessionRecorder {
public:
    SessionRecorder(RecordingTap& tap, std::string programVersion)
        : tap_(tap), programVersion_(std::move(programVersion)) {}
    ~SessionRecorder() { Stop(); }
    SessionRecorder(const SessionRecorder&) = delete;
    SessionRecorder& operator=(const SessionRecorder&) = delete;

    // Records into the file from now on (a recording running stops first); the system's
    // reason when the file cannot be created.
    std::optional<std::string> Start(const std::string& path);
    void Stop();
    bool Recording() const { return tap_.Recording(); }
    const std::string& File() const { return path_; }
    // Once the file could no longer be written (a full disk, a removed stick): the reason, and
    // the recording has stopped. What was written before stays readable.
    std::optional<std::string> TakeWriteFailure();

private:
    RecordingTap& tap_;
    std::string programVersion_;
    std::ofstream out_;
    std::string path_;
};

} // namespace lcdiag
