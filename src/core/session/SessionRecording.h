#pragma once

#include <cstdint>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace lcdiag {

// What happened on the line, as a session recording keeps it. docs/session-recording.md
// describes the file byte by byte.
enum class SessionEventKind : std::uint8_t {
    FromDevice = 1, // bytes the program read from the device
    ToDevice = 2,   // bytes the program wrote to the device
    BreakOn = 3,
    BreakOff = 4,
    LineSpeed = 5,  // value: bits per second
    PortOpened = 6, // value: 0 a serial port, 1 the device's USB adapter
    PortClosed = 7, // value: a PortCloseReason
};

enum class PortCloseReason : std::uint8_t { ByProgram = 0, BySelf = 1, Disconnected = 2 };

struct SessionEvent {
    SessionEventKind kind = SessionEventKind::FromDevice;
    std::uint32_t timeMs = 0;        // since the recording started
    std::uint32_t value = 0;         // LineSpeed, PortOpened, PortClosed
    std::vector<std::uint8_t> bytes; // FromDevice, ToDevice: at least one byte

    friend bool operator==(const SessionEvent&, const SessionEvent&) = default;
};

struct SessionHeader {
    std::uint16_t formatVersion = 0;
    std::string programVersion;
    std::int64_t startUnixMs = 0; // the wall clock when the recording started, UTC
    // The line clock's tick when the recording started: what the pictures saw as the time
    // (the emitter's LEDs blink with it).
    std::uint32_t startLineClock = 0;

    friend bool operator==(const SessionHeader&, const SessionHeader&) = default;
};

inline constexpr std::uint16_t SessionFormatVersion = 1;

// A recording as read back. `cut` is empty for a complete file; otherwise it says where
// and why the readable part ended (a recording cut short by a crash or an unplugged laptop
// keeps every event before the cut).
struct SessionRecording {
    SessionHeader header;
    std::vector<SessionEvent> events;
    std::string cut;
    std::size_t readableBytes = 0; // the file's bytes up to the end of the last whole event
};

// The recording in the bytes, or the one-line reason why they are not a recording.
std::variant<SessionRecording, std::string>
ReadSessionRecording(std::span<const std::uint8_t> file);

// Recordings, and the other files read with them, larger than this are refused unread.
inline constexpr std::uintmax_t MaxRecordingFileBytes = 256ULL * 1024 * 1024;

// The recording in the file, or the one-line reason why it cannot be read or is none.
std::variant<SessionRecording, std::string> ReadSessionRecordingFile(const std::string& path);

// The events of a recording as they happen: every event goes to the stream at once and the
// stream is flushed, so a recording is readable up to its last event whatever ends the
// program. Times are taken from the caller and kept relative to the first call's start.
class SessionWriter {
public:
    SessionWriter(std::ostream& out, const SessionHeader& header);

    void Bytes(SessionEventKind direction, std::uint32_t timeMs,
               std::span<const std::uint8_t> bytes);
    void Mark(SessionEventKind kind, std::uint32_t timeMs, std::uint32_t value = 0);
    // False once writing failed (a full disk, a removed stick): nothing further is written.
    bool Good() const { return out_.good(); }

private:
    void Event(const SessionEvent& event);

    std::ostream& out_;
};

// The events' bytes in the file's form, header included: what SessionWriter writes.
std::vector<std::uint8_t> EncodeSession(const SessionHeader& header,
                                        std::span<const SessionEvent> events);

// "lcdiag-1234567890-20261207-143012.lcdrec": the unit's serial number, of which only letters,
// digits, '-' and '_' are kept (left out when nothing is left), and the time stamp.
std::string OfferedRecordingName(std::string_view serialNumber, std::string_view stamp);

// "from device", "break on", ... for reports and messages.
std::string_view SessionEventName(SessionEventKind kind);

} // namespace lcdiag
