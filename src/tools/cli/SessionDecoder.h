#pragma once

#include "core/device/ControllerType.h"
#include "core/device/EmitterCycle.h"
#include "core/device/EmitterFactoryRecord.h"
#include "core/device/ReceiverCycle.h"
#include "core/protocol/CycleCollector.h"
#include "core/protocol/ExpectedKeywordList.h"
#include "core/protocol/FrameSelection.h"
#include "core/protocol/KeywordTable.h"
#include "core/protocol/ReceiveBuffer.h"
#include "core/protocol/RecordCodec.h"
#include "core/session/SessionRecording.h"
#include "tools/cli/RecordFields.h"

#include <optional>
#include <vector>

namespace lcdiag {
class Texts;
}

namespace lcdiag::cli {

// Reads a session recording as the program would have understood it: the bytes from the
// device are recognised as the connection dialogue recognises them (the identification sets
// the unit and the layout, the line speed of the diagnosis starts the cycles, a break ends
// them) and the bytes to the device are split into the keywords and records the program
// sent. The result is one document: the header, every event with its time and what it
// carried, and where the recording was cut.
class SessionDecoder {
public:
    explicit SessionDecoder(const Texts& texts) : texts_(texts) {}

    Json Decode(const SessionRecording& recording);

private:
    Json DecodeEvent(const SessionEvent& event);
    void Restart();

    // From the device.
    Json FromDevice(std::span<const std::uint8_t> bytes);
    void TakeFrames(Json& frames);
    std::optional<SelectedFrame> NextFrame() const;
    std::optional<Json> HandleFrame(const SelectedFrame& frame);
    Json Identification(int id);
    std::optional<Json> Firmware(int id, std::span<const std::uint8_t> data) const;
    Json ReceiverFactory(std::span<const std::uint8_t> data);
    Json ReceiverCustomers(std::span<const std::uint8_t> data) const;
    Json EmitterFactory(std::span<const std::uint8_t> data);
    void TakeCycles(Json& frames);
    Json ReceiverCycleJson(std::span<const FrameData> parts);
    Json EmitterCycleJson(const FrameData& data);

    // To the device.
    Json ToDevice(std::span<const std::uint8_t> bytes);
    std::optional<Json> TakeSentFrame();

    Layout CurrentLayout() const { return LayoutOf(longLayout_); }

    const Texts& texts_;
    KeywordTable table_;
    RecordCodec codec_{table_.KeywordSum()};
    std::optional<ControllerType> unit_; // known from the identification
    bool longLayout_ = false;
    bool diagnosis_ = false;
    bool breakSeen_ = false; // keyword 12 is taken; keyword 11 (which it begins) comes next
    int activeSlot_ = -1;    // of the receiver's customer records, from the factory trailer
    ReceiveBuffer received_;
    std::vector<std::uint8_t> sent_;
    ReceiverCycle receiverCycle_;
    EmitterCycle emitterCycle_;
    EmitterFactoryRecord emitterFactory_;
};

} // namespace lcdiag::cli
