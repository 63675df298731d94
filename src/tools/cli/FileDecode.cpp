#include "tools/cli/FileDecode.h"

#include "core/app/Texts.h"
#include "core/files/ConfigFile.h"
#include "core/files/SettingsReport.h"
#include "core/protocol/KeywordTable.h"
#include "core/protocol/RecordCodec.h"
#include "tools/cli/SessionDecoder.h"

#include <algorithm>
#include <iomanip>
#include <vector>

namespace lcdiag::cli {

namespace {

using namespace std::string_view_literals;

bool StartsWith(std::span<const std::uint8_t> bytes, std::string_view magic) {
    return bytes.size() >= magic.size() && std::equal(magic.begin(), magic.end(), bytes.begin());
}

std::string UnitName(const ReceiverFileContent&) {
    return "receiver";
}
std::string UnitName(const EmitterFileContent&) {
    return "emitter";
}

template <typename Content>
Json ConfigFileJson(const Content& file, std::string_view factory, std::string_view customer) {
    return {{"file", "configuration file"},
            {"unit", UnitName(file)},
            {"version", file.version},
            {"type_digit", Latin1ToUtf8(std::string(1, static_cast<char>(file.typeDigit)))},
            {"firmware_version", file.firmware},
            {"records",
             {RecordJson(factory, file.factory, file.factoryValid),
              RecordJson(customer, file.customer, file.customerValid)}}};
}

// The configuration file's content, or the program's message of its refusal.
ConfigFileContent ParseFile(std::span<const std::uint8_t> bytes) {
    const KeywordTable table;
    return ParseConfigFile(bytes, RecordCodec(table.KeywordSum()));
}

Refusal RefusalOf(ConfigFileRefusal refusal, const Texts& texts) {
    return {texts.GetText(RefusalText(refusal))};
}

constexpr std::string_view NeitherKind =
    "neither a session recording nor a configuration file (it starts with neither LCDREC nor "
    "ZCF)"sv;

// Keys are written with blanks: "checksum valid".
std::string Label(std::string key) {
    std::replace(key.begin(), key.end(), '_', ' ');
    return key;
}

std::string Scalar(const Json& value) {
    if (value.is_string()) {
        return value.get<std::string>().empty() ? "-" : value.get<std::string>();
    }
    if (value.is_null()) {
        return "-";
    }
    return value.dump();
}

bool IsFlat(const Json& value) {
    return !value.is_structured() ||
           (value.is_array() && std::none_of(value.begin(), value.end(), [](const Json& item) {
                return item.is_structured();
            }));
}

std::string FlatText(const Json& value) {
    if (!value.is_array()) {
        return Scalar(value);
    }
    std::string text;
    for (const Json& item : value) {
        text += (text.empty() ? "" : ", ") + Scalar(item);
    }
    return text.empty() ? "-" : text;
}

void WriteMembers(std::ostream& out, const Json& object, int indent);

void WriteItem(std::ostream& out, const Json& item, int indent) {
    if (item.is_object()) {
        WriteMembers(out, item, indent);
    } else {
        out << std::string(static_cast<std::size_t>(indent), ' ') << FlatText(item) << '\n';
    }
}

// An array of objects: each item under a "-", its members indented.
void WriteList(std::ostream& out, const Json& list, int indent) {
    for (const Json& item : list) {
        out << std::string(static_cast<std::size_t>(indent), ' ') << "-\n";
        WriteItem(out, item, indent + 2);
    }
}

void WriteMembers(std::ostream& out, const Json& object, int indent) {
    const std::string margin(static_cast<std::size_t>(indent), ' ');
    for (const auto& [key, value] : object.items()) {
        if (IsFlat(value)) {
            out << margin << Label(key) << ": " << FlatText(value) << '\n';
        } else if (value.is_object()) {
            out << margin << Label(key) << ":\n";
            WriteMembers(out, value, indent + 2);
        } else {
            out << margin << Label(key) << ":\n";
            WriteList(out, value, indent + 2);
        }
    }
}

bool CarriesBytes(const Json& event) {
    return event.contains("frames");
}

// "  1234 ms  break on (...)": the event's time, its name and its values.
void WriteEventLine(std::ostream& out, const Json& event) {
    out << std::setw(9) << event.at("time_ms").get<std::uint32_t>() << " ms  "
        << event.at("event").get<std::string>();
    std::string values;
    for (const auto& [key, value] : event.items()) {
        if (key != "time_ms" && key != "event" && key != "frames") {
            values += (values.empty() ? "" : ", ") + Label(key) + ": " + FlatText(value);
        }
    }
    out << (values.empty() ? "" : " (" + values + ")") << '\n';
}

// The bytes of one direction come in many small reads: a run of them is one line, "601-631 ms
// from device (bytes: 58 in 30 events)", followed by the frames the last one completed.
void WriteByteRun(std::ostream& out, std::span<const Json> run) {
    const Json& last = run.back();
    if (run.size() == 1) {
        WriteEventLine(out, last);
    } else {
        std::size_t bytes = 0;
        for (const Json& event : run) {
            bytes += event.at("bytes").get<std::size_t>();
        }
        const std::string times = std::to_string(run.front().at("time_ms").get<std::uint32_t>()) +
                                  "-" + std::to_string(last.at("time_ms").get<std::uint32_t>());
        out << std::setw(9) << times << " ms  " << last.at("event").get<std::string>()
            << " (bytes: " << bytes << " in " << run.size() << " events)\n";
    }
    for (const Json& frame : last.at("frames")) {
        out << std::string(15, ' ') << frame.at("name").get<std::string>() << " (keyword "
            << frame.at("keyword").get<int>() << ")\n";
        Json rest = frame;
        rest.erase("name");
        rest.erase("keyword");
        WriteMembers(out, rest, 17);
    }
}

void WriteEvents(std::ostream& out, const Json& events) {
    const std::vector<Json> list(events.begin(), events.end());
    for (std::size_t first = 0; first < list.size();) {
        if (!CarriesBytes(list[first])) {
            WriteEventLine(out, list[first++]);
            continue;
        }
        std::size_t last = first;
        while (list[last].at("frames").empty() && last + 1 < list.size() &&
               CarriesBytes(list[last + 1]) &&
               list[last + 1].at("event") == list[first].at("event")) {
            ++last;
        }
        WriteByteRun(out, std::span(list).subspan(first, last - first + 1));
        first = last + 1;
    }
}

} // namespace

std::variant<Json, Refusal> DecodeFile(std::span<const std::uint8_t> bytes, const Texts& texts) {
    if (StartsWith(bytes, "LCDREC")) {
        auto recording = ReadSessionRecording(bytes);
        if (auto* reason = std::get_if<std::string>(&recording)) {
            return Refusal{std::move(*reason)};
        }
        return SessionDecoder(texts).Decode(std::get<SessionRecording>(recording));
    }
    if (!StartsWith(bytes, "ZCF")) {
        return Refusal{std::string(NeitherKind)};
    }
    const ConfigFileContent content = ParseFile(bytes);
    if (const auto* receiver = std::get_if<ReceiverFileContent>(&content)) {
        return ConfigFileJson(*receiver, "ReceiverFactoryRecord", "ReceiverCustomerRecord");
    }
    if (const auto* emitter = std::get_if<EmitterFileContent>(&content)) {
        return ConfigFileJson(*emitter, "EmitterFactoryRecord", "EmitterCustomerRecord");
    }
    return RefusalOf(std::get<ConfigFileRefusal>(content), texts);
}

std::variant<std::string, Refusal> ConfigFileReportText(std::span<const std::uint8_t> bytes,
                                                        const Texts& texts) {
    const ConfigFileContent content = ParseFile(bytes);
    if (const auto* receiver = std::get_if<ReceiverFileContent>(&content)) {
        return BuildFileReport(texts, *receiver);
    }
    if (const auto* emitter = std::get_if<EmitterFileContent>(&content)) {
        return BuildFileReport(texts, *emitter);
    }
    return RefusalOf(std::get<ConfigFileRefusal>(content), texts);
}

void WriteText(std::ostream& out, const Json& document) {
    for (const auto& [key, value] : document.items()) {
        if (key != "events") {
            WriteMembers(out, Json{{key, value}}, 0);
            continue;
        }
        out << "events:\n";
        WriteEvents(out, value);
    }
}

} // namespace lcdiag::cli
