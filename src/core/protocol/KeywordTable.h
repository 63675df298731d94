#pragma once

#include "core/protocol/Layout.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace lcdiag {

// One keyword of the protocol: a fixed text followed on the wire by a fixed number of data
// bytes, which depends on the layout of the connected controller.
struct KeywordEntry {
    std::string text; // byte-exact, may contain NUL (the configuration trailer template)
    int length = 0;
    int shortDataLength = 0;
    int shortFrameLength = 0;
    int longDataLength = 0;
    int longFrameLength = 0;

    int DataLength(Layout layout) const {
        return layout == Layout::Long ? longDataLength : shortDataLength;
    }
    int FrameLength(Layout layout) const {
        return layout == Layout::Long ? longFrameLength : shortFrameLength;
    }
};

// Keyword ids that other parts of the program name.
namespace kw {
inline constexpr int ReceiverCyclePart = 0;
inline constexpr int ReceiverFactoryData = 1;
inline constexpr int ReceiverStoreFactoryOld = 2;
inline constexpr int ReceiverCustomerData = 3;
inline constexpr int ReceiverStoreCustomerOld = 4;
inline constexpr int ReceiverIdentShort = 5;
inline constexpr int ReceiverIdentLong = 6;
inline constexpr int PcAnswerReceiver = 7;
inline constexpr int FirmwareWithType = 8;
inline constexpr int FirmwareType1 = 9;
inline constexpr int StartReceiverDiagnosis = 10;
inline constexpr int BreakSeenWaiting = 11;
inline constexpr int BreakSeen = 12;
inline constexpr int DeliveryState = 13;
inline constexpr int DefaultRecordFollows = 14;
inline constexpr int ConfigTrailerTemplate = 15;
inline constexpr int OperatingHours = 16;
inline constexpr int PcSoftwareIncompatible = 17;
inline constexpr int ReceiverStoreFactory = 18;
inline constexpr int ReceiverStoreCustomer = 19;
inline constexpr int EmitterFirmware = 20;
inline constexpr int EmitterFactoryData = 21;
inline constexpr int EmitterCustomerData = 22;
inline constexpr int StartEmitterDiagnosis = 23;
inline constexpr int EmitterIdentShort = 24;
inline constexpr int EmitterIdentLong = 25;
inline constexpr int PcAnswerEmitter = 26;
inline constexpr int EmitterWaitingForData = 27;
inline constexpr int EmitterFactoryFollows = 28;
inline constexpr int EmitterCustomerFollows = 29;
inline constexpr int EmitterDiagnosticData = 30;
inline constexpr int EmitterFactoryStored = 31;
inline constexpr int EmitterCustomerStored = 32;
} // namespace kw

// The 33 keywords of the protocol, filled once on construction.
class KeywordTable {
public:
    static constexpr int Count = 33;

    KeywordTable();

    // An id outside 0-32 yields an empty entry (no text, no data), which is never found.
    const KeywordEntry& Entry(int id) const;
    std::string_view Text(int id) const { return Entry(id).text; }
    int FrameLength(int id, Layout layout) const { return Entry(id).FrameLength(layout); }
    int DataLength(int id, Layout layout) const { return Entry(id).DataLength(layout); }

    // 16-bit wrapping sum of keyword 0's characters: the initial value of a cycle-part checksum.
    std::uint16_t KeywordSum() const { return keywordSum_; }

    // Index of the first complete occurrence of the keyword in the buffer, or -1.
    int Find(std::span<const std::uint8_t> buffer, int id) const;

private:
    void Set(int id, std::string_view text, int longData, int shortData);

    std::array<KeywordEntry, Count> entries_;
    std::uint16_t keywordSum_ = 0;
};

} // namespace lcdiag
