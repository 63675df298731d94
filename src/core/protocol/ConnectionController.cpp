#include "core/protocol/ConnectionController.h"

#include "core/app/Texts.h"
#include "core/protocol/CycleCollector.h"

namespace lcdiag {

namespace {

constexpr std::uint32_t ConnectText = 5700;
constexpr std::uint32_t DisconnectText = 5701;
constexpr int BreakPulse = 100; // ms of break that wakes the controller or bids farewell

} // namespace

ConnectionController::ConnectionController(Port& port, const Clock& clock, ConnectionTimers& timers,
                                           ConnectionView& view, const Texts& texts,
                                           const PcClock& pcClock, PcSoftwareVersion pcVersion)
    : port_(port), clock_(clock), timers_(timers), view_(view), texts_(texts), pcClock_(pcClock),
      pcVersion_(pcVersion) {}

void ConnectionController::ComPortAfterOpen() {
    Interrupt();
    longLayout_ = false;
    ExpectIdentification();
    recognitionEnabled_ = true;
    port_.SetBreak(true);
    Later(BreakPulse, [this] { port_.SetBreak(false); });
    connectCaption_ = DisconnectText;
}

void ConnectionController::ComPortBeforeClose() {
    Interrupt();
    recognitionEnabled_ = false;
    expected_.Reset();
    port_.SetBreak(true);
    timers_.Wait(BreakPulse);
    port_.SetBreak(false);
    connectCaption_ = ConnectText;
}

void ConnectionController::ComPortEvent2() {
    Interrupt();
    connectCaption_ = ConnectText;
}

void ConnectionController::ComPortDisconnect() {
    Interrupt();
    connectCaption_ = ConnectText;
    texts_.ShowMessageId(msg::Warning | 182);
}

void ConnectionController::ComPortTxEmpty() {
    if (cycleSwitchPending_) {
        diagnosisStartSent_ = true;
        timers_.ArmResultReporter(100);
    }
}

void ConnectionController::ComPortRxChar(int /*count*/) {
    std::array<std::uint8_t, ReceiveBuffer::MaxReadPerEvent> bytes{};
    const int read = port_.Read(bytes);
    if (read > 0) {
        buffer_.Append(std::span(bytes).first(static_cast<std::size_t>(read)));
    }
    if (linkState_ == LinkState::Diagnosis) {
        CollectCycles();
        return;
    }
    if (!recognitionEnabled_) {
        buffer_.Clear();
        return;
    }
    if (const auto frame = SelectFrame(table_, expected_, buffer_.Bytes(), CurrentLayout())) {
        HandleFrame(*frame);
    }
}

void ConnectionController::CollectCycles() {
    const Layout layout = CurrentLayout();
    if (controllerType_ == ControllerType::Emitter) {
        for (const FrameData& data : TakeEmitterRecords(buffer_, table_, layout)) {
            const CycleOutcome outcome =
                emitterCycle_.Receive(data, layout, codec_, emitterFactory_, faults_, info_);
            Stamp();
            if (outcome.infoChanged) {
                view_.RefreshInfo();
            }
        }
        return;
    }
    for (const FrameData& data : TakeCycleTriples(buffer_, table_, layout)) {
        const CycleOutcome outcome =
            receiverCycle_.ReceivePart(data, layout, codec_, faults_, info_);
        Stamp();
        if (outcome.infoChanged) {
            view_.RefreshInfo();
        }
    }
}

void ConnectionController::HandleFrame(const SelectedFrame& frame) {
    switch (frame.id) {
    case kw::ReceiverIdentShort:
    case kw::ReceiverIdentLong:
        return OnReceiverIdentification(frame.id);
    case kw::EmitterIdentShort:
    case kw::EmitterIdentLong:
        return OnEmitterIdentification(frame.id);
    case kw::FirmwareWithType:
    case kw::FirmwareType1:
        return OnFirmware(frame);
    case kw::OperatingHours:
        return OnOperatingHours(frame);
    case kw::EmitterFirmware:
        return OnEmitterFirmware(frame);
    case kw::ReceiverFactoryData:
        return OnReceiverFactoryRecord(frame);
    case kw::EmitterFactoryData:
        return OnEmitterFactoryRecord(frame);
    case kw::ReceiverCustomerData:
        return OnReceiverCustomerRecords(frame);
    case kw::EmitterCustomerData:
        return OnEmitterCustomerRecord(frame);
    case kw::PcSoftwareIncompatible:
        return OnIncompatible(frame);
    case kw::BreakSeen:
        return OnBreakSeen();
    case kw::BreakSeenWaiting:
        return OnReceiverReady(DataOf(frame)[0]);
    case kw::DeliveryState:
        return OnFactoryRecordStored();
    case kw::EmitterWaitingForData:
        return OnEmitterReady();
    case kw::EmitterFactoryStored:
    case kw::EmitterCustomerStored:
        return OnEmitterStored();
    default:
        return;
    }
}

std::span<const std::uint8_t> ConnectionController::DataOf(const SelectedFrame& frame) const {
    const auto keywordLength = table_.Text(frame.id).size();
    return buffer_.Bytes()
        .subspan(static_cast<std::size_t>(frame.position), static_cast<std::size_t>(frame.length))
        .subspan(keywordLength);
}

void ConnectionController::Consume(const SelectedFrame& frame) {
    buffer_.Consume(frame.position + frame.length);
}

// The list is only replaced between two receive events, so no frame can be matched against
// half a list; replacing it counts as activity for the supervision.
void ConnectionController::ExpectOnly(std::initializer_list<int> ids) {
    expected_.Reset();
    for (int id : ids) {
        expected_.Add(id);
    }
    Stamp();
}

void ConnectionController::ExpectIdentification() {
    ExpectOnly({kw::ReceiverIdentShort, kw::ReceiverIdentLong, kw::EmitterIdentShort,
                kw::EmitterIdentLong});
}

void ConnectionController::Stamp() {
    lastFrameTick_ = clock_.Now();
}

void ConnectionController::SwitchControllerType(ControllerType type, bool force) {
    if (SwitchToControllerType(controllerType_, type, faults_, force)) {
        view_.ControllerTypeSwitched();
    }
}

void ConnectionController::SendKeyword(int id) {
    port_.WriteStr(table_.Text(id));
}

void ConnectionController::SendBytes(std::span<const std::uint8_t> bytes) {
    port_.Write(bytes);
}

void ConnectionController::Later(int milliseconds, std::function<void()> step) {
    timers_.RunAfter(milliseconds, [this, generation = generation_, step = std::move(step)] {
        if (generation == generation_ && port_.Connected()) {
            step();
        }
    });
}

} // namespace lcdiag
