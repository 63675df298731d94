#pragma once

#include "core/device/BeamMask.h"
#include "core/device/EmitterCustomerRecord.h"
#include "core/device/EmitterFactoryRecord.h"
#include "core/device/ReceiverCustomerRecord.h"
#include "core/device/ReceiverFactoryRecord.h"

#include <cstdint>
#include <nlohmann/json.hpp>
#include <span>
#include <string>
#include <string_view>

namespace lcdiag::cli {

// The documents the tool writes keep their keys in the order they were added.
using Json = nlohmann::ordered_json;

// A record's fields by the names the core gives them, in layout order: numbers as numbers,
// texts as text, date stamps as "05.03.2014 17:08:09", beam masks as the numbers of the set
// beams ("1-12, 15"), anything else as hex bytes.
Json RecordFields(const ReceiverFactoryRecord& record);
Json RecordFields(const ReceiverCustomerRecord& record);
Json RecordFields(const EmitterFactoryRecord& record);
Json RecordFields(const EmitterCustomerRecord& record);

// {"record": name, "checksum_valid": valid, "fields": {...}}.
template <typename Field>
Json RecordJson(std::string_view name, const Record<Field>& record, bool checksumValid) {
    return {{"record", name}, {"checksum_valid", checksumValid}, {"fields", RecordFields(record)}};
}

// The beams 1 to `beams` whose bit is `set` in the mask, as ranges: "1-12, 15"; "" for none.
std::string BeamRanges(const BeamMask& mask, int beams, bool set = true);

// Bytes of the PC's 8-bit character set (Latin-1) as UTF-8.
std::string Latin1ToUtf8(std::string_view text);

// The name the core gives a keyword ("ReceiverFactoryData"), "keyword <id>" outside the table.
std::string KeywordName(int id);

} // namespace lcdiag::cli
