#pragma once

#include "core/device/ControllerFirmware.h"
#include "core/device/ControllerType.h"
#include "core/device/EmitterCustomerRecord.h"
#include "core/device/EmitterCycle.h"
#include "core/device/EmitterFactoryRecord.h"
#include "core/device/FaultList.h"
#include "core/device/InfoTexts.h"
#include "core/device/PcClock.h"
#include "core/device/ReceiverCustomerSet.h"
#include "core/device/ReceiverCycle.h"
#include "core/device/ReceiverFactoryRecord.h"
#include "core/protocol/Clock.h"
#include "core/protocol/ConnectionSeams.h"
#include "core/protocol/ExpectedKeywordList.h"
#include "core/protocol/FrameSelection.h"
#include "core/protocol/KeywordTable.h"
#include "core/protocol/Port.h"
#include "core/protocol/ReceiveBuffer.h"
#include "core/protocol/RecordCodec.h"
#include "core/protocol/ResultCode.h"
#include "core/protocol/SettingsWrite.h"

#include <array>
#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace lcdiag {

enum class LinkState {
    Idle = 0,              // waiting for an identification
    Identified = 1,        // reading the controller's data
    Diagnosis = 2,         // cyclic frames
    TransferRequested = 3, // break sent, waiting for the controller's readiness
    TransferSent = 4,      // data sent, waiting for the acknowledgement
    Reporting = 5,         // a result message is on screen
};

class Texts;

// The connection dialogue with the controller of the connected unit: wakes it, answers its
// identification, reads its data, keeps the cyclic diagnosis running, writes settings into
// it, and reports every outcome. It runs on the user-interface thread and reaches the
// outside only through its seams.
class ConnectionController final : public PortEvents {
public:
    static constexpr std::uint32_t SilenceLimit = 1500; // ms without a frame
    static constexpr int LineBaud = 19200;
    static constexpr int DiagnosisBaud = 115200;

    ConnectionController(Port& port, const Clock& clock, ConnectionTimers& timers,
                         ConnectionView& view, const Texts& texts, const PcClock& pcClock,
                         PcSoftwareVersion pcVersion);

    // Port events.
    void ComPortAfterOpen() override;
    void ComPortBeforeClose() override;
    void ComPortRxChar(int count) override;
    void ComPortTxEmpty() override;
    void ComPortEvent2() override;
    void ComPortDisconnect() override;

    // Timer1: supervision, confirmation countdown, redraw.
    void Timer1Tick();
    // Timer2: shows the message of the result code and resets the dialogue where it must.
    void Timer2Fire();
    // Sets a result code for the reporter and arms it (the protected start-up, the expired
    // confirmation, the configuration import); it replaces a code not yet reported.
    void Report(ResultCode code);
    // Whether a result waits for the reporter.
    bool ResultPending() const { return resultCode_ != ResultCode::None; }

    // Writes the records into the controller; the outcome goes to the result reporter and
    // the listener. False, with nothing sent, when the link refuses (message 117: a customer
    // record for a receiver whose factory record is unknown).
    bool WriteSettings(const SettingsWrite& write);
    // A configuration read from a file stands in for the unit's own until the unit is read
    // again: the user settings pages load it, and their save sends it.
    void AdoptConfiguration(const ReceiverCustomerRecord& record);
    void AdoptConfiguration(const EmitterCustomerRecord& record);
    // The editors that hear of lost links and reported outcomes (nullptr: nobody).
    void SetTransferListener(TransferListener* listener) { listener_ = listener; }

    // State, read by the window and the editors.
    LinkState State() const { return linkState_; }
    ControllerType Unit() const { return controllerType_; }
    bool LongLayout() const { return longLayout_; }
    const ControllerFirmware& Firmware() const { return firmware_; }
    std::uint32_t OperatingHours() const { return operatingHours_; }
    std::uint8_t ConfigurationNumber() const { return configurationNumber_; }
    int ConfigurationPointer() const { return configurationPointer_; }
    const ReceiverFactoryRecord& ReceiverFactory() const { return receiverFactory_; }
    bool ReceiverFactoryValid() const { return receiverFactoryValid_; }
    const ReceiverCustomerSet& ReceiverCustomers() const { return receiverCustomers_; }
    const EmitterFactoryRecord& EmitterFactory() const { return emitterFactory_; }
    bool EmitterFactoryValid() const { return emitterFactoryValid_; }
    const EmitterCustomerRecord& EmitterCustomer() const { return emitterCustomer_; }
    bool EmitterCustomerValid() const { return emitterCustomerValid_; }
    const ReceiverCycle& ReceiverCycles() const { return receiverCycle_; }
    const EmitterCycle& EmitterCycles() const { return emitterCycle_; }
    FaultList& Faults() { return faults_; }
    const InfoTexts& Info() const { return info_; }
    // The connect menu item's caption: 5700 "Connect" or 5701 "Disconnect".
    std::uint32_t ConnectCaption() const { return connectCaption_; }
    const ExpectedKeywordList& Expected() const { return expected_; }
    const KeywordTable& Keywords() const { return table_; }
    const RecordCodec& Codec() const { return codec_; }

    // Counts as activity for the supervision (the status view starts without a time-out).
    void Stamp();
    // Makes `type` the connected unit (the start-up passes force to run the switch once).
    void SwitchControllerType(ControllerType type, bool force = false);

private:
    // Receiving.
    void HandleFrame(const SelectedFrame& frame);
    void CollectCycles();
    std::span<const std::uint8_t> DataOf(const SelectedFrame& frame) const;
    void Consume(const SelectedFrame& frame);
    void ExpectOnly(std::initializer_list<int> ids);
    void ExpectIdentification();
    Layout CurrentLayout() const { return LayoutOf(longLayout_); }

    // Handlers of the keywords the controllers send (outside diagnosis).
    void OnReceiverIdentification(int id);
    void OnEmitterIdentification(int id);
    void OnFirmware(const SelectedFrame& frame);
    void OnOperatingHours(const SelectedFrame& frame);
    void OnEmitterFirmware(const SelectedFrame& frame);
    void OnReceiverFactoryRecord(const SelectedFrame& frame);
    void OnEmitterFactoryRecord(const SelectedFrame& frame);
    void OnReceiverCustomerRecords(const SelectedFrame& frame);
    void OnEmitterCustomerRecord(const SelectedFrame& frame);
    void OnIncompatible(const SelectedFrame& frame);
    void TakeConfigTrailer(std::span<const std::uint8_t> trailer);
    void StartReceiverDiagnosis();

    // The settings transfer.
    void OnBreakSeen();
    void OnReceiverReady(std::uint8_t handshake);
    void OnFactoryRecordStored();
    void OnEmitterReady();
    void SendEmitterRecords(TransferKind kind);
    void OnEmitterStored();
    void JudgeReceiverReadBack();
    ResultCode EmitterTransferResult() const;
    bool UsesNewStoreKeywords() const;
    void RequestBreak(TransferKind kind);

    // Supervision and results.
    void Supervise();
    void ResetAfterSilence();
    void ResetDisplayedData();
    MessageResult ShowResultMessage(ResultCode code);
    void ResetDialogueWithMessage(ResultCode code);
    void BaudSwitch();
    void SetResult(ResultCode code);

    // Sends and waits.
    void SendKeyword(int id);
    void SendBytes(std::span<const std::uint8_t> bytes);
    // Runs `step` after the gap unless the dialogue was reset or the port closed meanwhile.
    void Later(int milliseconds, std::function<void()> step);
    void Interrupt() { ++generation_; }

    Port& port_;
    const Clock& clock_;
    ConnectionTimers& timers_;
    ConnectionView& view_;
    const Texts& texts_;
    const PcClock& pcClock_;
    PcSoftwareVersion pcVersion_;
    KeywordTable table_;
    RecordCodec codec_{table_.KeywordSum()};

    LinkState linkState_ = LinkState::Idle;
    ControllerType controllerType_ = ControllerType::Receiver;
    bool longLayout_ = false;
    bool recognitionEnabled_ = false;
    ExpectedKeywordList expected_;
    ReceiveBuffer buffer_;
    std::uint32_t lastFrameTick_ = 0;
    TransferKind pendingTransfer_ = TransferKind::None;
    TransferKind activeTransfer_ = TransferKind::None;
    bool storedAcknowledged_ = false;
    ResultCode resultCode_ = ResultCode::None;
    bool cycleSwitchPending_ = false;
    // Keyword 10 has left the PC (transmit-empty, or the adapter's 100 ms): only then may the
    // baud rate change under it.
    bool diagnosisStartSent_ = false;
    std::uint32_t generation_ = 0;

    ControllerFirmware firmware_;
    std::uint32_t operatingHours_ = 0;
    std::array<std::uint8_t, 2> minPcVersion_{};
    std::uint8_t configurationNumber_ = 0;
    int configurationPointer_ = 65535;

    ReceiverFactoryRecord receiverFactory_;
    bool receiverFactoryValid_ = false;
    ReceiverCustomerSet receiverCustomers_;
    EmitterFactoryRecord emitterFactory_;
    bool emitterFactoryValid_ = false;
    EmitterCustomerRecord emitterCustomer_;
    bool emitterCustomerValid_ = false;
    ReceiverCycle receiverCycle_;
    EmitterCycle emitterCycle_;
    FaultList faults_;
    InfoTexts info_;
    std::uint32_t connectCaption_ = 5700;
    SettingsWrite write_; // the records of the transfer under way
    TransferListener* listener_ = nullptr;
};

} // namespace lcdiag
