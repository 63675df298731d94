#pragma once

#include "core/protocol/Clock.h"
#include "core/protocol/Port.h"
#include "core/session/SessionRecording.h"

#include <memory>
#include <optional>

namespace lcdiag {

// Sits between the connection dialogue and its port and, while a recording runs, writes down
// what passes: the bytes the dialogue reads and writes, breaks, line speeds, the port opening
// and closing. Calls and events pass unchanged, so the dialogue behaves the same whether or
// not it is recorded. Times are the line clock's, from the start of the recording.
class RecordingTap final : public Port, public PortEvents {
public:
    RecordingTap(Port& port, const Clock& clock) : port_(port), clock_(clock) {}

    void SetListener(PortEvents* listener) { listener_ = listener; }

    // Starts writing to `out` (the caller keeps it open until Stop); an open port, its line
    // speed and a held break are written first, so that the recording stands on its own. The
    // header's line clock is the tap's.
    void Start(std::ostream& out, SessionHeader header);
    void Stop();
    bool Recording() const { return writer_ != nullptr; }
    // False when the recording could not be written (a full disk): it goes on no further.
    bool WriteFailed() const { return writer_ != nullptr && !writer_->Good(); }

    bool Connected() const override { return port_.Connected(); }
    PortKind Kind() const override { return port_.Kind(); }
    void Open() override;
    void Close() override;
    void Write(std::span<const std::uint8_t> bytes) override;
    void WriteStr(std::string_view text) override;
    int Read(std::span<std::uint8_t> into) override;
    int InputCount() const override { return port_.InputCount(); }
    void SetBreak(bool on) override;
    void SetBaudRate(int bitsPerSecond) override;

    void ComPortAfterOpen() override;
    void ComPortBeforeClose() override;
    void ComPortRxChar(int count) override;
    void ComPortTxEmpty() override;
    void ComPortEvent2() override;
    void ComPortDisconnect() override;

private:
    std::uint32_t Time() const { return Elapsed(started_, clock_.Now()); }
    void Mark(SessionEventKind kind, std::uint32_t value = 0);
    void Bytes(SessionEventKind direction, std::span<const std::uint8_t> bytes);

    Port& port_;
    const Clock& clock_;
    PortEvents* listener_ = nullptr;
    std::unique_ptr<SessionWriter> writer_;
    std::uint32_t started_ = 0;
    std::optional<int> lineSpeed_; // as last set, to open a recording with
    bool breakOn_ = false;
};

} // namespace lcdiag
