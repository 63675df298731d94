#include "platform/serial/ComPortLink.h"

#include "platform/serial/ComPort.h"

#include <algorithm>
#include <climits>

namespace lcdiag {
namespace {

// The component counts in 32 bits, the dialogue in int.
int AsInt(std::uint32_t count) {
    return static_cast<int>(std::min<std::uint32_t>(count, INT_MAX));
}

std::uint32_t AsCount(std::size_t size) {
    return static_cast<std::uint32_t>(std::min<std::size_t>(size, INT_MAX));
}

} // namespace

ComPortLink::ComPortLink(TComPort& port) : port_(port) {
    port_.OnAfterOpen = [this](TComPort&) { Tell(&PortEvents::ComPortAfterOpen); };
    port_.OnBeforeClose = [this](TComPort&) { Tell(&PortEvents::ComPortBeforeClose); };
    port_.OnTxEmpty = [this](TComPort&) { Tell(&PortEvents::ComPortTxEmpty); };
    port_.OnDisconnect = [this](TComPort&) { Tell(&PortEvents::ComPortDisconnect); };
    port_.OnRxChar = [this](TComPort&, std::uint32_t count) {
        if (listener_ != nullptr) {
            listener_->ComPortRxChar(AsInt(count));
        }
    };
}

ComPortLink::~ComPortLink() {
    port_.OnAfterOpen = nullptr;
    port_.OnBeforeClose = nullptr;
    port_.OnTxEmpty = nullptr;
    port_.OnDisconnect = nullptr;
    port_.OnRxChar = nullptr;
}

bool ComPortLink::Connected() const {
    return port_.Connected();
}

void ComPortLink::Open() {
    port_.Open(kind_ == PortKind::UsbAdapter);
}

void ComPortLink::Close() {
    port_.Close();
}

void ComPortLink::Write(std::span<const std::uint8_t> bytes) {
    port_.Write(bytes.data(), AsCount(bytes.size()));
}

void ComPortLink::WriteStr(std::string_view text) {
    port_.WriteStr(text);
}

int ComPortLink::Read(std::span<std::uint8_t> into) {
    return AsInt(port_.Read(into.data(), AsCount(into.size())));
}

int ComPortLink::InputCount() const {
    return AsInt(port_.InputCount());
}

void ComPortLink::SetBreak(bool on) {
    port_.SetBreak(on);
}

void ComPortLink::SetBaudRate(int bitsPerSecond) {
    const auto named = std::find(BaudRateValues.begin() + 1, BaudRateValues.end(),
                                 static_cast<std::uint32_t>(bitsPerSecond));
    if (named != BaudRateValues.end()) {
        port_.SetBaudRate(static_cast<TBaudRate>(named - BaudRateValues.begin()));
        return;
    }
    port_.SetCustomBaudRate(static_cast<std::uint32_t>(bitsPerSecond));
    port_.SetBaudRate(brCustom);
}

} // namespace lcdiag
