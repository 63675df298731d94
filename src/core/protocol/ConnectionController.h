#pragma once

#include "core/device/ControllerFirmware.h"
#include "core/device/ControllerType.h"
#include "core/device/EmitterCustomerRecord.h"
#include "core/device/EmitterCycle.h"
#include "core/device/EmitterFactoryRecord.h"
#include "core/device/FaultList.h"
#include "core/device/InfoTexts.h"
#include "core/device/PcClock.h"
#include "core/device/ReceiverCustomerRecord.h"
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

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
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

// What a settings transfer writes: 1 receiver factory record, 2 receiver customer record,
// 3 emitter factory record (with an emitter customer record), 4 emitter customer record.
enum class TransferKind {
    None = 0,
    ReceiverFactory = 1,
    ReceiverCustomer = 2,
    EmitterFactory = 3,
    EmitterCustomer = 4
};

// The records the editors build for a transfer, in the internal layout.
struct SendBuffers {
    ReceiverFactoryRecord receiverFactory;
    ReceiverCustomerRecord receiverCustomer;
    EmitterFactoryRecord emitterFactory;
    EmitterCustomerRecord emitterFactoryCustomer; // goes with the emitter factory record
    EmitterCustomerRecord emitterCustomer;
};

// The save, confirm and update buttons of the settings pages, as plain data the window
// mirrors. The confirm captions count down: text 2002 (factory pages) and 3002 (customer
// pages) with the seconds left.
struct EditorButtons {
    bool Btn_RFS_1 = false; // receiver factory: save
    bool Btn_RFS_2 = false; // receiver factory: confirm
    bool Btn_RFS_5 = false; // receiver factory: update from the received record
    bool Btn_EFS_1 = false;
    bool Btn_EFS_2 = false;
    bool Btn_EFS_3 = false;
    bool Btn_RUS_1 = true; // receiver customer: save
    bool Btn_RUS_2 = false;
    bool Btn_EUS_1 = true;
    bool Btn_EUS_2 = false;
    int factoryConfirmSeconds = 10;
    int customerConfirmSeconds = 10;
    bool factorySaveReenable = true; // re-enable the factory save button once in diagnosis
};

// The connection dialogue with the controller of the connected unit: wakes it, answers its
// identification, reads its data, keeps the cyclic diagnosis running, writes settings into
// it, and reports every outcome. It runs on the user-interface thread and reaches the
// outside only through its seams.
class ConnectionController final : public PortEvents {
public:
    static constexpr std::uint32_t SilenceLimit = 1500; // ms without a frame
    static constexpr int LineBaud = 19200;
    static constexpr int DiagnosisBaud = 115200;
    static constexpr int ConfirmWindow = 10000; // ms to confirm a save

    ConnectionController(Port& port, const Clock& clock, ConnectionTimers& timers,
                         ConnectionView& view, const PcClock& pcClock, PcSoftwareVersion pcVersion);

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
    // Sets a result code for the reporter and arms it (19: the protected start-up; 8: the
    // configuration import).
    void Report(std::uint32_t code);

    // The editors' two-step save: a page whose record was built opens the ten-second window;
    // its confirm button then starts the transfer.
    void BeginConfirmation(TransferKind kind);
    void Confirm(TransferKind kind);
    void StartTransfer(TransferKind kind);
    SendBuffers& Send() { return send_; }

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
    const EditorButtons& Buttons() const { return buttons_; }
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
    std::uint32_t EmitterTransferResult() const;
    bool UsesNewStoreKeywords() const;
    void RunConfirmationCountdown();
    void ExpireConfirmation(bool factoryPage);

    // Supervision and results.
    void Supervise();
    void ResetAfterSilence();
    void ResetDisplayedData();
    void ResetEditorButtons();
    void ShowResultMessage(std::uint32_t code);
    void ResetDialogueWithMessage(std::uint32_t code);
    void BaudSwitch();
    void LeaveEditorViews();
    void SetResult(std::uint32_t code);

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
    std::uint32_t resultCode_ = 0;
    bool cycleSwitchPending_ = false;
    // Keyword 10 has left the PC (transmit-empty, or the adapter's 100 ms): only then may the
    // baud rate change under it.
    bool diagnosisStartSent_ = false;
    std::optional<std::uint32_t> confirmStart_;
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
    EditorButtons buttons_;
    std::uint32_t connectCaption_ = 5700;
    SendBuffers send_;
};

} // namespace lcdiag
