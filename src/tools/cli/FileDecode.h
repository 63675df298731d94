#pragma once

#include "tools/cli/RecordFields.h"

#include <cstdint>
#include <ostream>
#include <span>
#include <string>
#include <variant>

namespace lcdiag {
class Texts;
}

namespace lcdiag::cli {

// Why a file cannot be decoded, in one line.
struct Refusal {
    std::string reason;
};

// A file's bytes decoded into one document, or the one-line reason they cannot be: a session
// recording (it starts with "LCDREC") or a configuration file (it starts with "ZCF"), told
// apart by their content. A recording cut short is decoded up to the cut, which the document
// names.
std::variant<Json, Refusal> DecodeFile(std::span<const std::uint8_t> bytes, const Texts& texts);

// The settings report of a configuration file, as the program writes it, or the one-line
// reason there is none.
std::variant<std::string, Refusal> ConfigFileReportText(std::span<const std::uint8_t> bytes,
                                                        const Texts& texts);

// The document as indented text: "key: value" lines, each event of a recording on a line of
// its own with its time, what it carried indented below it.
void WriteText(std::ostream& out, const Json& document);

} // namespace lcdiag::cli
