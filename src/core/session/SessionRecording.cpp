#include "core/session/SessionRecording.h"

#include "core/files/FileReplace.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <limits>
#include <optional>

namespace lcdiag {

namespace {

// "LCDREC" and CR LF: a transfer that changes line ends spoils the magic, not the events.
constexpr std::array<std::uint8_t, 8> Magic = {'L', 'C', 'D', 'R', 'E', 'C', '\r', '\n'};
constexpr std::size_t MaxEventBytes = std::numeric_limits<std::uint16_t>::max();

void PutLittleEndian(std::vector<std::uint8_t>& out, std::uint64_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
    }
}

bool CarriesBytes(SessionEventKind kind) {
    return kind == SessionEventKind::FromDevice || kind == SessionEventKind::ToDevice;
}

// The width of an event's value in the file: 0, 1 or 4 bytes; nothing for an unknown kind.
std::optional<int> ValueWidth(std::uint8_t kind) {
    switch (static_cast<SessionEventKind>(kind)) {
    case SessionEventKind::FromDevice:
    case SessionEventKind::ToDevice:
    case SessionEventKind::BreakOn:
    case SessionEventKind::BreakOff:
        return 0;
    case SessionEventKind::LineSpeed:
        return 4;
    case SessionEventKind::PortOpened:
    case SessionEventKind::PortClosed:
        return 1;
    }
    return std::nullopt;
}

void EncodeEvent(std::vector<std::uint8_t>& out, const SessionEvent& event) {
    out.push_back(static_cast<std::uint8_t>(event.kind));
    PutLittleEndian(out, event.timeMs, 4);
    if (CarriesBytes(event.kind)) {
        PutLittleEndian(out, event.bytes.size(), 2);
        out.insert(out.end(), event.bytes.begin(), event.bytes.end());
    } else {
        PutLittleEndian(out, event.value,
                        ValueWidth(static_cast<std::uint8_t>(event.kind)).value_or(0));
    }
}

std::vector<std::uint8_t> EncodeHeader(const SessionHeader& header) {
    std::vector<std::uint8_t> out(Magic.begin(), Magic.end());
    PutLittleEndian(out, header.formatVersion, 2);
    const std::size_t length = std::min(header.programVersion.size(), std::size_t{255});
    out.push_back(static_cast<std::uint8_t>(length));
    out.insert(out.end(), header.programVersion.begin(), header.programVersion.begin() + length);
    PutLittleEndian(out, static_cast<std::uint64_t>(header.startUnixMs), 8);
    PutLittleEndian(out, header.startLineClock, 4);
    return out;
}

// Reads little-endian numbers and byte runs from the file, never past its end.
class Cursor {
public:
    explicit Cursor(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}

    std::size_t Offset() const { return offset_; }
    bool AtEnd() const { return offset_ == bytes_.size(); }

    std::optional<std::uint64_t> Number(int width) {
        if (bytes_.size() - offset_ < static_cast<std::size_t>(width)) {
            return std::nullopt;
        }
        std::uint64_t value = 0;
        for (int i = 0; i < width; ++i) {
            value |= std::uint64_t{bytes_[offset_ + i]} << (8 * i);
        }
        offset_ += width;
        return value;
    }

    std::optional<std::span<const std::uint8_t>> Run(std::size_t length) {
        if (bytes_.size() - offset_ < length) {
            return std::nullopt;
        }
        const auto run = bytes_.subspan(offset_, length);
        offset_ += length;
        return run;
    }

private:
    std::span<const std::uint8_t> bytes_;
    std::size_t offset_ = 0;
};

// The next event, or the reason the events end here.
std::variant<SessionEvent, std::string> NextEvent(Cursor& in, std::uint32_t previousTime) {
    const auto kind = in.Number(1);
    const auto time = in.Number(4);
    if (!kind || !time) {
        return std::string("cut within an event");
    }
    const auto width = ValueWidth(static_cast<std::uint8_t>(*kind));
    if (!width) {
        return "an unknown event kind " + std::to_string(*kind);
    }
    SessionEvent event;
    event.kind = static_cast<SessionEventKind>(*kind);
    event.timeMs = static_cast<std::uint32_t>(*time);
    if (event.timeMs < previousTime) {
        return std::string("an event whose time goes back");
    }
    if (CarriesBytes(event.kind)) {
        const auto length = in.Number(2);
        if (!length) {
            return std::string("cut within an event");
        }
        if (*length == 0) {
            return std::string("an event without bytes");
        }
        const auto run = in.Run(*length);
        if (!run) {
            return std::string("cut within an event");
        }
        event.bytes.assign(run->begin(), run->end());
        return event;
    }
    const auto value = in.Number(*width);
    if (!value) {
        return std::string("cut within an event");
    }
    event.value = static_cast<std::uint32_t>(*value);
    return event;
}

} // namespace

std::variant<SessionRecording, std::string>
ReadSessionRecording(std::span<const std::uint8_t> file) {
    Cursor in(file);
    const auto magic = in.Run(Magic.size());
    if (!magic || !std::equal(magic->begin(), magic->end(), Magic.begin())) {
        return std::string("not a session recording (it does not start with LCDREC)");
    }
    SessionRecording recording;
    const auto version = in.Number(2);
    const auto versionLength = in.Number(1);
    const auto programVersion = versionLength ? in.Run(*versionLength) : std::nullopt;
    const auto start = in.Number(8);
    const auto lineClock = in.Number(4);
    if (!version || !programVersion || !start || !lineClock) {
        return std::string("the session recording is cut within its header");
    }
    if (*version != SessionFormatVersion) {
        return "a session recording of format " + std::to_string(*version) +
               ", which this program does not read (it reads format " +
               std::to_string(SessionFormatVersion) + ")";
    }
    recording.header = {static_cast<std::uint16_t>(*version),
                        std::string(programVersion->begin(), programVersion->end()),
                        static_cast<std::int64_t>(*start), static_cast<std::uint32_t>(*lineClock)};
    recording.readableBytes = in.Offset();
    while (!in.AtEnd()) {
        const std::size_t at = in.Offset();
        auto next = NextEvent(in, recording.events.empty() ? 0 : recording.events.back().timeMs);
        if (auto* reason = std::get_if<std::string>(&next)) {
            recording.cut = "the recording ends at byte " + std::to_string(at) + " of " +
                            std::to_string(file.size()) + ": " + *reason;
            break;
        }
        recording.events.push_back(std::move(std::get<SessionEvent>(next)));
        recording.readableBytes = in.Offset();
    }
    return recording;
}

std::variant<SessionRecording, std::string> ReadSessionRecordingFile(const std::string& path) {
    const auto bytes = ReadWholeFile(path, MaxRecordingFileBytes);
    if (!bytes) {
        return "cannot read " + path + " (it is missing, unreadable or larger than 256 MB)";
    }
    auto recording = ReadSessionRecording(*bytes);
    if (auto* reason = std::get_if<std::string>(&recording)) {
        return path + ": " + *reason;
    }
    return recording;
}

std::vector<std::uint8_t> EncodeSession(const SessionHeader& header,
                                        std::span<const SessionEvent> events) {
    std::vector<std::uint8_t> out = EncodeHeader(header);
    for (const SessionEvent& event : events) {
        EncodeEvent(out, event);
    }
    return out;
}

SessionWriter::SessionWriter(std::ostream& out, const SessionHeader& header) : out_(out) {
    const std::vector<std::uint8_t> bytes = EncodeHeader(header);
    out_.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    out_.flush();
}

// Long runs are split into events of at most 65535 bytes.
void SessionWriter::Bytes(SessionEventKind direction, std::uint32_t timeMs,
                          std::span<const std::uint8_t> bytes) {
    while (!bytes.empty()) {
        const std::size_t length = std::min(bytes.size(), MaxEventBytes);
        Event({direction, timeMs, 0, {bytes.begin(), bytes.begin() + length}});
        bytes = bytes.subspan(length);
    }
}

void SessionWriter::Mark(SessionEventKind kind, std::uint32_t timeMs, std::uint32_t value) {
    Event({kind, timeMs, value, {}});
}

void SessionWriter::Event(const SessionEvent& event) {
    if (!out_.good()) {
        return;
    }
    std::vector<std::uint8_t> bytes;
    EncodeEvent(bytes, event);
    out_.write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    out_.flush();
}

std::string OfferedRecordingName(std::string_view serialNumber, std::string_view stamp) {
    std::string name = "lcdiag-";
    for (const char c : serialNumber) {
        const auto u = static_cast<unsigned char>(c);
        if ((u < 0x80 && std::isalnum(u) != 0) || c == '-' || c == '_') {
            name += c;
        }
    }
    if (name.size() > 7) {
        name += '-';
    }
    return name + std::string(stamp) + ".lcdrec";
}

std::string_view SessionEventName(SessionEventKind kind) {
    switch (kind) {
    case SessionEventKind::FromDevice:
        return "from device";
    case SessionEventKind::ToDevice:
        return "to device";
    case SessionEventKind::BreakOn:
        return "break on";
    case SessionEventKind::BreakOff:
        return "break off";
    case SessionEventKind::LineSpeed:
        return "line speed";
    case SessionEventKind::PortOpened:
        return "port opened";
    case SessionEventKind::PortClosed:
        return "port closed";
    }
    return "unknown";
}

} // namespace lcdiag
