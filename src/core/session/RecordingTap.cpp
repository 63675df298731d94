#include "core/session/RecordingTap.h"

namespace lcdiag {

void RecordingTap::Start(std::ostream& out, SessionHeader header) {
    started_ = clock_.Now();
    header.startLineClock = started_;
    writer_ = std::make_unique<SessionWriter>(out, header);
    if (!port_.Connected()) {
        return;
    }
    Mark(SessionEventKind::PortOpened, port_.Kind() == PortKind::UsbAdapter ? 1 : 0);
    if (lineSpeed_) {
        Mark(SessionEventKind::LineSpeed, static_cast<std::uint32_t>(*lineSpeed_));
    }
    if (breakOn_) {
        Mark(SessionEventKind::BreakOn);
    }
}

void RecordingTap::Stop() {
    writer_.reset();
}

void RecordingTap::Mark(SessionEventKind kind, std::uint32_t value) {
    if (writer_ != nullptr) {
        writer_->Mark(kind, Time(), value);
    }
}

void RecordingTap::Bytes(SessionEventKind direction, std::span<const std::uint8_t> bytes) {
    if (writer_ != nullptr) {
        writer_->Bytes(direction, Time(), bytes);
    }
}

void RecordingTap::Open() {
    port_.Open();
}

void RecordingTap::Close() {
    const bool wasOpen = port_.Connected();
    port_.Close();
    if (wasOpen) {
        Mark(SessionEventKind::PortClosed, static_cast<std::uint32_t>(PortCloseReason::ByProgram));
    }
}

void RecordingTap::Write(std::span<const std::uint8_t> bytes) {
    port_.Write(bytes);
    Bytes(SessionEventKind::ToDevice, bytes);
}

void RecordingTap::WriteStr(std::string_view text) {
    port_.WriteStr(text);
    Bytes(SessionEventKind::ToDevice,
          {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
}

int RecordingTap::Read(std::span<std::uint8_t> into) {
    const int count = port_.Read(into);
    if (count > 0) {
        Bytes(SessionEventKind::FromDevice, into.first(static_cast<std::size_t>(count)));
    }
    return count;
}

void RecordingTap::SetBreak(bool on) {
    port_.SetBreak(on);
    breakOn_ = on;
    Mark(on ? SessionEventKind::BreakOn : SessionEventKind::BreakOff);
}

void RecordingTap::SetBaudRate(int bitsPerSecond) {
    port_.SetBaudRate(bitsPerSecond);
    lineSpeed_ = bitsPerSecond;
    Mark(SessionEventKind::LineSpeed, static_cast<std::uint32_t>(bitsPerSecond));
}

// The opening is written when the port reports it, before the dialogue answers it (with a
// break): a replay then opens before it compares what the program does.
void RecordingTap::ComPortAfterOpen() {
    Mark(SessionEventKind::PortOpened, port_.Kind() == PortKind::UsbAdapter ? 1 : 0);
    if (listener_ != nullptr) {
        listener_->ComPortAfterOpen();
    }
}

void RecordingTap::ComPortBeforeClose() {
    if (listener_ != nullptr) {
        listener_->ComPortBeforeClose();
    }
}

void RecordingTap::ComPortRxChar(int count) {
    if (listener_ != nullptr) {
        listener_->ComPortRxChar(count);
    }
}

void RecordingTap::ComPortTxEmpty() {
    if (listener_ != nullptr) {
        listener_->ComPortTxEmpty();
    }
}

void RecordingTap::ComPortEvent2() {
    Mark(SessionEventKind::PortClosed, static_cast<std::uint32_t>(PortCloseReason::BySelf));
    if (listener_ != nullptr) {
        listener_->ComPortEvent2();
    }
}

void RecordingTap::ComPortDisconnect() {
    Mark(SessionEventKind::PortClosed, static_cast<std::uint32_t>(PortCloseReason::Disconnected));
    if (listener_ != nullptr) {
        listener_->ComPortDisconnect();
    }
}

} // namespace lcdiag
