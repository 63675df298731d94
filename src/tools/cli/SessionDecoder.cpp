#include "tools/cli/SessionDecoder.h"

#include "core/app/Texts.h"
#include "core/device/FaultList.h"
#include "core/device/ReceiverCustomerSet.h"
#include "core/protocol/ConfigTrailer.h"
#include "core/protocol/ConnectionController.h"
#include "core/protocol/CycleCollector.h"
#include "core/views/LiveViewData.h"
#include "core/views/StatusIndicators.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>

namespace lcdiag::cli {

namespace {

// What the connection dialogue expects once it knows the unit, besides a new identification;
// keyword 8 before 9 and 11 before 12, so that the longer keyword wins where one begins the
// other.
constexpr std::array IdentificationIds = {kw::ReceiverIdentShort, kw::ReceiverIdentLong,
                                          kw::EmitterIdentShort, kw::EmitterIdentLong};
constexpr std::array ReceiverIds = {
    kw::ReceiverFactoryData, kw::ReceiverCustomerData, kw::FirmwareWithType,
    kw::FirmwareType1,       kw::BreakSeenWaiting,     kw::BreakSeen,
    kw::DeliveryState,       kw::OperatingHours,       kw::PcSoftwareIncompatible};
constexpr std::array EmitterIds = {kw::EmitterFirmware,      kw::EmitterFactoryData,
                                   kw::EmitterCustomerData,  kw::EmitterWaitingForData,
                                   kw::EmitterFactoryStored, kw::EmitterCustomerStored};
// What the program sends.
constexpr std::array SentIds = {
    kw::PcAnswerReceiver,         kw::StartReceiverDiagnosis, kw::ReceiverStoreFactoryOld,
    kw::ReceiverStoreCustomerOld, kw::ReceiverStoreFactory,   kw::ReceiverStoreCustomer,
    kw::DefaultRecordFollows,     kw::StartEmitterDiagnosis,  kw::PcAnswerEmitter,
    kw::EmitterFactoryFollows,    kw::EmitterCustomerFollows};

template <std::size_t N>
ExpectedKeywordList ListOf(const std::array<int, N>& ids, int except = ExpectedKeywordList::None) {
    ExpectedKeywordList list;
    for (int id : ids) {
        if (id != except) {
            list.Add(id);
        }
    }
    return list;
}

std::string Characters(std::span<const std::uint8_t> bytes) {
    return Latin1ToUtf8(std::string(bytes.begin(), bytes.end()));
}

// "1.33" from the three characters "133".
std::string VersionText(std::span<const std::uint8_t> chars) {
    return Characters(chars.first(1)) + "." + Characters(chars.subspan(1, 2));
}

std::uint32_t BigEndian(std::span<const std::uint8_t> bytes) {
    std::uint32_t value = 0;
    for (std::uint8_t byte : bytes) {
        value = value << 8 | byte;
    }
    return value;
}

// "2026-12-07 04:00:00.000 UTC"; empty for a time beyond the years 1970 to 9999.
std::string UtcText(std::int64_t unixMs) {
    constexpr std::int64_t Year10000 = 253402300800000;
    if (unixMs < 0 || unixMs >= Year10000) {
        return {};
    }
    using namespace std::chrono;
    const sys_time<milliseconds> time{milliseconds{unixMs}};
    const auto day = floor<days>(time);
    const year_month_day date{day};
    const hh_mm_ss timeOfDay{time - day};
    std::array<char, 40> text{};
    std::snprintf(text.data(), text.size(), "%04d-%02u-%02u %02d:%02d:%02d.%03d UTC",
                  static_cast<int>(date.year()), static_cast<unsigned>(date.month()),
                  static_cast<unsigned>(date.day()), static_cast<int>(timeOfDay.hours().count()),
                  static_cast<int>(timeOfDay.minutes().count()),
                  static_cast<int>(timeOfDay.seconds().count()),
                  static_cast<int>(timeOfDay.subseconds().count()));
    return text.data();
}

std::string_view PortName(std::uint32_t value) {
    return value == 1 ? "the device's USB adapter" : "a serial port";
}

std::string CloseReason(std::uint32_t value) {
    switch (static_cast<PortCloseReason>(value)) {
    case PortCloseReason::ByProgram:
        return "by the program";
    case PortCloseReason::BySelf:
        return "by itself";
    case PortCloseReason::Disconnected:
        return "the port or adapter vanished";
    }
    return "reason " + std::to_string(value);
}

Json FaultsJson(const FaultList& faults, const Texts& texts) {
    std::vector<FaultEntry> entries = faults.Entries();
    std::sort(entries.begin(), entries.end(),
              [](const FaultEntry& a, const FaultEntry& b) { return a.code < b.code; });
    Json list = Json::array();
    for (const FaultEntry& entry : entries) {
        list.push_back({{"code", entry.code}, {"text", texts.GetText(entry.textId)}});
    }
    return list;
}

// The LEDs the views light, in the words of their table.
Json LedTexts(std::uint8_t ledByte, ControllerType unit, const Texts& texts) {
    Json list = Json::array();
    for (const LedRow& row : LedRows(unit)) {
        if ((ledByte >> row.bit & 1) != 0) {
            list.push_back(texts.GetText(row.text));
        }
    }
    return list;
}

// The lit indicators of the status view's function table: "<row>: active", "<row>: signal".
Json FunctionTexts(const LiveViewData& view, const Texts& texts) {
    const auto lights = FunctionTableLights(view);
    const auto rows = FunctionRows(ControllerType::Receiver);
    Json list = Json::array();
    for (std::size_t i = 0; i < rows.size() && i < lights.size(); ++i) {
        const bool active = rows[i].hasActive && lights[i].active;
        const bool signal = rows[i].hasSignal && lights[i].signal;
        if (active || signal) {
            list.push_back(texts.GetText(rows[i].text) + ": " +
                           (active && signal ? "active, signal"
                            : active         ? "active"
                                             : "signal"));
        }
    }
    return list;
}

} // namespace

Json SessionDecoder::Decode(const SessionRecording& recording) {
    Restart();
    Json events = Json::array();
    for (const SessionEvent& event : recording.events) {
        events.push_back(DecodeEvent(event));
    }
    const SessionHeader& header = recording.header;
    return {{"file", "session recording"},
            {"header",
             {{"format_version", header.formatVersion},
              {"program_version", header.programVersion},
              {"start_unix_ms", header.startUnixMs},
              {"start", UtcText(header.startUnixMs)}}},
            {"events", events},
            {"undecoded_bytes_at_end",
             {{"from_device", received_.Count()}, {"to_device", sent_.size()}}},
            {"cut", recording.cut.empty() ? Json(nullptr) : Json(recording.cut)}};
}

void SessionDecoder::Restart() {
    unit_.reset();
    longLayout_ = false;
    diagnosis_ = false;
    breakSeen_ = false;
    activeSlot_ = -1;
    received_.Clear();
    sent_.clear();
    receiverCycle_.Clear();
    emitterCycle_.Clear();
}

// The line events change what the dialogue expects: a new port starts over, the diagnosis
// speed starts the receiver's cycles, another speed or a break (a transfer) ends them.
Json SessionDecoder::DecodeEvent(const SessionEvent& event) {
    Json item = {{"time_ms", event.timeMs}, {"event", SessionEventName(event.kind)}};
    switch (event.kind) {
    case SessionEventKind::FromDevice:
        item["bytes"] = event.bytes.size();
        item["frames"] = FromDevice(event.bytes);
        break;
    case SessionEventKind::ToDevice:
        item["bytes"] = event.bytes.size();
        item["frames"] = ToDevice(event.bytes);
        break;
    case SessionEventKind::BreakOn:
        diagnosis_ = false;
        received_.Clear();
        break;
    case SessionEventKind::BreakOff:
        break;
    case SessionEventKind::LineSpeed:
        item["bits_per_second"] = event.value;
        diagnosis_ =
            event.value == ConnectionController::DiagnosisBaud && unit_ == ControllerType::Receiver;
        if (diagnosis_) {
            received_.Clear();
        }
        break;
    case SessionEventKind::PortOpened:
        item["port"] = PortName(event.value);
        Restart();
        break;
    case SessionEventKind::PortClosed:
        item["reason"] = CloseReason(event.value);
        Restart();
        break;
    }
    return item;
}

// The dialogue reads at most 1024 bytes per receive event.
Json SessionDecoder::FromDevice(std::span<const std::uint8_t> bytes) {
    Json frames = Json::array();
    while (!bytes.empty()) {
        const std::size_t count =
            std::min(bytes.size(), static_cast<std::size_t>(ReceiveBuffer::MaxReadPerEvent));
        received_.Append(bytes.first(count));
        bytes = bytes.subspan(count);
        TakeFrames(frames);
    }
    return frames;
}

void SessionDecoder::TakeFrames(Json& frames) {
    while (!diagnosis_) {
        const std::optional<SelectedFrame> frame = NextFrame();
        if (!frame) {
            return;
        }
        std::optional<Json> decoded = HandleFrame(*frame);
        if (!decoded) {
            return; // the frame waits for more bytes
        }
        frames.push_back(std::move(*decoded));
    }
    TakeCycles(frames);
}

std::optional<SelectedFrame> SessionDecoder::NextFrame() const {
    std::vector<ExpectedKeywordList> lists{ListOf(IdentificationIds)};
    if (unit_ == ControllerType::Receiver) {
        lists.push_back(
            ListOf(ReceiverIds, breakSeen_ ? kw::BreakSeen : ExpectedKeywordList::None));
    } else if (unit_ == ControllerType::Emitter) {
        lists.push_back(ListOf(EmitterIds));
    }
    std::optional<SelectedFrame> earliest;
    for (const ExpectedKeywordList& list : lists) {
        const auto frame = SelectFrame(table_, list, received_.Bytes(), CurrentLayout());
        if (frame && (!earliest || frame->position < earliest->position)) {
            earliest = frame;
        }
    }
    return earliest;
}

// The frame's meaning, and what becomes of the received bytes as the dialogue handles them;
// nothing while the frame waits for more bytes (keyword 9 that turns out to begin keyword 8).
std::optional<Json> SessionDecoder::HandleFrame(const SelectedFrame& frame) {
    const std::size_t keywordLength = table_.Text(frame.id).size();
    const std::span<const std::uint8_t> data =
        received_.Bytes()
            .subspan(static_cast<std::size_t>(frame.position),
                     static_cast<std::size_t>(frame.length))
            .subspan(keywordLength);
    Json json = {{"keyword", frame.id}, {"name", KeywordName(frame.id)}};
    if (frame.position > 0) {
        json["unrecognised_bytes_before"] = frame.position;
    }
    Json details = Json::object();
    enum class Then { Consume, Clear, Keep } then = Then::Consume;
    switch (frame.id) {
    case kw::ReceiverIdentShort:
    case kw::ReceiverIdentLong:
    case kw::EmitterIdentShort:
    case kw::EmitterIdentLong:
        details = Identification(frame.id);
        then = Then::Clear;
        break;
    case kw::FirmwareWithType:
    case kw::FirmwareType1: {
        std::optional<Json> firmware = Firmware(frame.id, data);
        if (!firmware) {
            return std::nullopt;
        }
        details = std::move(*firmware);
        break;
    }
    case kw::OperatingHours:
        details = {
            {"operating_hours", std::min(BigEndian(data.first(3)), BigEndian(data.subspan(3, 3)))}};
        break;
    case kw::ReceiverFactoryData:
        details = ReceiverFactory(data);
        break;
    case kw::ReceiverCustomerData:
        details = ReceiverCustomers(data);
        break;
    case kw::PcSoftwareIncompatible:
        details = {{"minimum_pc_version", {data[0], data[1]}}};
        then = Then::Clear;
        break;
    case kw::BreakSeen:
        then = Then::Keep; // keyword 11 begins with it: its handshake byte follows
        break;
    case kw::BreakSeenWaiting:
        details = {{"handshake", data[0]}};
        then = Then::Clear;
        break;
    case kw::DeliveryState:
    case kw::EmitterWaitingForData:
        then = Then::Clear;
        break;
    case kw::EmitterFirmware:
        details = {{"firmware", VersionText(data)}};
        break;
    case kw::EmitterFactoryData:
        details = EmitterFactory(data);
        break;
    case kw::EmitterCustomerData: {
        const EmitterCustomerRecord record = EmitterCustomerRecord::From(data);
        details = {{"record", RecordJson("EmitterCustomerRecord", record,
                                         RecordCodec::TestRecordChecksum(record.bytes))}};
        then = Then::Clear;
        diagnosis_ = true; // the program answers with the start of the diagnosis
        break;
    }
    default:
        break;
    }
    breakSeen_ = frame.id == kw::BreakSeen;
    for (auto& [key, value] : details.items()) {
        json[key] = value;
    }
    if (then == Then::Consume) {
        received_.Consume(frame.position + frame.length);
    } else if (then == Then::Clear) {
        received_.Clear();
    }
    return json;
}

Json SessionDecoder::Identification(int id) {
    const bool receiver = id == kw::ReceiverIdentShort || id == kw::ReceiverIdentLong;
    unit_ = receiver ? ControllerType::Receiver : ControllerType::Emitter;
    longLayout_ = id == kw::ReceiverIdentLong || id == kw::EmitterIdentLong;
    diagnosis_ = false;
    return {{"unit", receiver ? "receiver" : "emitter"},
            {"layout", longLayout_ ? "long" : "short"}};
}

// Keyword 9 is the start of keyword 8: a "_" after it, or a type digit outside 1-9 after 8,
// leaves the bytes for the other keyword or for more bytes to come.
std::optional<Json> SessionDecoder::Firmware(int id, std::span<const std::uint8_t> data) const {
    if (id == kw::FirmwareType1) {
        if (data[0] == '_') {
            return std::nullopt;
        }
        return Json{{"type_digit", 1}, {"firmware", VersionText(data)}};
    }
    const int typeDigit = data[0] - '0';
    if (typeDigit < 1 || typeDigit > 9) {
        return std::nullopt;
    }
    return Json{{"type_digit", typeDigit}, {"firmware", VersionText(data.subspan(1))}};
}

// The factory record and the trailer that names the active customer record.
Json SessionDecoder::ReceiverFactory(std::span<const std::uint8_t> data) {
    const Layout layout = CurrentLayout();
    ReceiverFactoryRecord record;
    const bool valid =
        codec_.Decode(data.first(static_cast<std::size_t>(BlockLength(BlockKind::Factory, layout))),
                      record.bytes, layout, BlockKind::Factory);
    Json json = {{"record", RecordJson("ReceiverFactoryRecord", record, valid)}};
    const auto trailer = ConfigTrailer::Parse(table_, data.last(ConfigTrailer::Size));
    const std::optional<int> slot = trailer ? trailer->ActiveSlot(layout) : std::nullopt;
    activeSlot_ = slot.value_or(-1);
    if (trailer) {
        json["configuration_number"] = trailer->number;
        json["configuration_pointer"] = trailer->pointer;
    }
    json["active_customer_record"] = slot ? Json(*slot) : Json(nullptr);
    return json;
}

// The eight customer records: the active one with its fields, the others by their checksum.
Json SessionDecoder::ReceiverCustomers(std::span<const std::uint8_t> data) const {
    const Layout layout = CurrentLayout();
    const auto size = static_cast<std::size_t>(BlockLength(BlockKind::Customer, layout));
    Json slots = Json::array();
    for (int slot = 0; slot < ReceiverCustomerSet::Slots; ++slot) {
        ReceiverCustomerRecord record;
        const bool valid = codec_.Decode(data.subspan(static_cast<std::size_t>(slot) * size, size),
                                         record.bytes, layout, BlockKind::Customer);
        if (slot == activeSlot_) {
            slots.push_back({{"slot", slot},
                             {"active", true},
                             {"record", RecordJson("ReceiverCustomerRecord", record, valid)}});
        } else {
            slots.push_back({{"slot", slot}, {"active", false}, {"checksum_valid", valid}});
        }
    }
    return {{"records", slots}};
}

Json SessionDecoder::EmitterFactory(std::span<const std::uint8_t> data) {
    emitterFactory_ = EmitterFactoryRecord::From(data);
    return {{"record", RecordJson("EmitterFactoryRecord", emitterFactory_,
                                  RecordCodec::TestRecordChecksum(emitterFactory_.bytes))}};
}

void SessionDecoder::TakeCycles(Json& frames) {
    const Layout layout = CurrentLayout();
    if (unit_ == ControllerType::Emitter) {
        for (const FrameData& data : TakeEmitterRecords(received_, table_, layout)) {
            frames.push_back(EmitterCycleJson(data));
        }
        return;
    }
    const std::vector<FrameData> parts = TakeCycleTriples(received_, table_, layout);
    for (std::size_t first = 0; first + 3 <= parts.size(); first += 3) {
        frames.push_back(ReceiverCycleJson(std::span(parts).subspan(first, 3)));
    }
}

// A cycle as the views show it: the beams, the lit LEDs and function indicators, the faults
// the valid parts reported. A cycle with a bad checksum reaches no view.
Json SessionDecoder::ReceiverCycleJson(std::span<const FrameData> parts) {
    FaultList faults;
    InfoTexts info;
    CycleOutcome outcome;
    for (const FrameData& part : parts) {
        outcome = receiverCycle_.ReceivePart(part, CurrentLayout(), codec_, faults, info);
    }
    Json json = {{"keyword", kw::ReceiverCyclePart},
                 {"name", "receiver cycle"},
                 {"checksums_valid", outcome.applied}};
    if (outcome.applied) {
        LiveViewData view;
        view.controller = ControllerType::Receiver;
        view.diagnosis = true;
        view.receiverCycle = receiverCycle_;
        const int beams = receiverCycle_.BeamCount();
        json["beams"] = beams;
        json["interrupted_beams"] = BeamRanges(receiverCycle_.FreeMask(), beams, false);
        json["weak_signal_beams"] = BeamRanges(receiverCycle_.WeakSignalMask(), beams);
        json["inactive_beams"] = BeamRanges(receiverCycle_.ActiveMask(), beams, false);
        json["leds"] = LedTexts(ReceiverLedByte(view), ControllerType::Receiver, texts_);
        json["functions"] = FunctionTexts(view, texts_);
    }
    json["faults"] = FaultsJson(faults, texts_);
    return json;
}

Json SessionDecoder::EmitterCycleJson(const FrameData& data) {
    FaultList faults;
    InfoTexts info;
    const CycleOutcome outcome =
        emitterCycle_.Receive(data, CurrentLayout(), codec_, emitterFactory_, faults, info);
    Json json = {{"keyword", kw::EmitterDiagnosticData},
                 {"name", "emitter cycle"},
                 {"checksum_valid", outcome.applied}};
    if (outcome.applied) {
        const int beams = emitterCycle_.BeamCount();
        json["beams"] = beams;
        json["current_not_reached_beams"] =
            BeamRanges(emitterCycle_.CurrentNotReachedMask(), beams);
        json["current_exceeded_beams"] = BeamRanges(emitterCycle_.CurrentExceededMask(), beams);
    }
    json["faults"] = FaultsJson(faults, texts_);
    return json;
}

Json SessionDecoder::ToDevice(std::span<const std::uint8_t> bytes) {
    sent_.insert(sent_.end(), bytes.begin(), bytes.end());
    Json frames = Json::array();
    while (std::optional<Json> frame = TakeSentFrame()) {
        frames.push_back(std::move(*frame));
    }
    return frames;
}

// The earliest keyword the program sends, once the records that go with it have followed:
// a store keyword carries the handshake answer and a record, the emitter's records follow
// their keyword.
std::optional<Json> SessionDecoder::TakeSentFrame() {
    int id = -1;
    int position = -1;
    for (int candidate : SentIds) {
        const int at = table_.Find(sent_, candidate);
        if (at >= 0 && (position < 0 || at < position)) {
            id = candidate;
            position = at;
        }
    }
    if (id < 0) {
        return std::nullopt;
    }
    const Layout layout = CurrentLayout();
    const int customerSize = BlockLength(BlockKind::Customer, layout);
    const int dataLength =
        id == kw::DefaultRecordFollows ? customerSize
        : id == kw::EmitterFactoryFollows
            ? static_cast<int>(EmitterFactoryRecord::Size + EmitterCustomerRecord::Size)
        : id == kw::EmitterCustomerFollows ? static_cast<int>(EmitterCustomerRecord::Size)
                                           : table_.DataLength(id, layout);
    const auto start = static_cast<std::size_t>(position) + table_.Text(id).size();
    const auto end = start + static_cast<std::size_t>(dataLength);
    if (end > sent_.size()) {
        return std::nullopt;
    }
    const std::span<const std::uint8_t> data = std::span(sent_).subspan(start, end - start);
    Json json = {{"keyword", id}, {"name", KeywordName(id)}};
    if (position > 0) {
        json["unrecognised_bytes_before"] = position;
    }
    if (id == kw::ReceiverStoreFactory || id == kw::ReceiverStoreFactoryOld) {
        ReceiverFactoryRecord record;
        const bool valid = codec_.Decode(data.subspan(1), record.bytes, layout, BlockKind::Factory);
        json["handshake_answer"] = data[0];
        json["record"] = RecordJson("ReceiverFactoryRecord", record, valid);
    } else if (id == kw::ReceiverStoreCustomer || id == kw::ReceiverStoreCustomerOld ||
               id == kw::DefaultRecordFollows) {
        const bool store = id != kw::DefaultRecordFollows;
        ReceiverCustomerRecord record;
        const bool valid =
            codec_.Decode(data.subspan(store ? 1 : 0), record.bytes, layout, BlockKind::Customer);
        if (store) {
            json["handshake_answer"] = data[0];
        }
        json["record"] = RecordJson("ReceiverCustomerRecord", record, valid);
    } else if (id == kw::EmitterFactoryFollows || id == kw::EmitterCustomerFollows) {
        const bool factory = id == kw::EmitterFactoryFollows;
        const auto customer = data.subspan(factory ? EmitterFactoryRecord::Size : 0);
        if (factory) {
            const auto record = EmitterFactoryRecord::From(data);
            json["factory_record"] = RecordJson("EmitterFactoryRecord", record,
                                                RecordCodec::TestRecordChecksum(record.bytes));
        }
        const auto record = EmitterCustomerRecord::From(customer);
        json["record"] = RecordJson("EmitterCustomerRecord", record,
                                    RecordCodec::TestRecordChecksum(record.bytes));
    }
    sent_.erase(sent_.begin(), sent_.begin() + static_cast<std::ptrdiff_t>(end));
    return json;
}

} // namespace lcdiag::cli
