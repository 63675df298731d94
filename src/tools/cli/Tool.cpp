#include "tools/cli/Tool.h"

#include "core/app/Texts.h"
#include "core/files/FileReplace.h"
#include "core/safety/SafetyDistance.h"
#include "core/session/SessionRecording.h"
#include "platform/check/ConnectionCheck.h"
#include "tools/cli/FileDecode.h"

#include <CLI/CLI.hpp>
#include <array>
#include <optional>
#include <string>
#include <vector>

namespace lcdiag::cli {

namespace {

constexpr const char* ExitCodes = "Exit codes:\n"
                                  "  0  success\n"
                                  "  1  the file could not be read or decoded, the connection\n"
                                  "     check found a problem, a calc input is outside its range\n"
                                  "  2  a wrong command line";

// The calculator's labels: inputs 7012-7015, outputs 7016-7018, the prefixes "S=" and "S1=".
constexpr TextId FirstInputLabel = 7012;
constexpr TextId TotalResponseLabel = 7016;
constexpr TextId SafetyDistanceLabel = 7017;
constexpr TextId ReflectionLabel = 7018;
constexpr TextId SPrefix = 7019;
constexpr TextId S1Prefix = 7020;

// The file's bytes; nothing, and the message said, when it is missing, unreadable (a
// directory) or too large to be a recording or a configuration file.
std::optional<std::vector<std::uint8_t>> ReadInput(const std::string& path, std::ostream& err) {
    auto bytes = ReadWholeFile(path, MaxRecordingFileBytes);
    if (!bytes) {
        err << "lcdiag-tool: " << path << ": cannot be read\n";
    }
    return bytes;
}

struct DecodeOptions {
    std::string file;
    bool json = false;
};

int Decode(const DecodeOptions& options, std::ostream& out, std::ostream& err) {
    const auto bytes = ReadInput(options.file, err);
    if (!bytes) {
        return ExitProblem;
    }
    const Texts texts;
    const auto decoded = DecodeFile(*bytes, texts);
    if (const auto* refusal = std::get_if<Refusal>(&decoded)) {
        err << "lcdiag-tool: " << options.file << ": " << refusal->reason << '\n';
        return ExitProblem;
    }
    const Json& document = std::get<Json>(decoded);
    if (options.json) {
        out << document.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
    } else {
        WriteText(out, document);
    }
    return ExitSuccess;
}

int Report(const std::string& file, std::ostream& out, std::ostream& err) {
    const auto bytes = ReadInput(file, err);
    if (!bytes) {
        return ExitProblem;
    }
    const Texts texts;
    const auto report = ConfigFileReportText(*bytes, texts);
    if (const auto* refusal = std::get_if<Refusal>(&report)) {
        err << "lcdiag-tool: " << file << ": " << refusal->reason << '\n';
        return ExitProblem;
    }
    out << std::get<std::string>(report) << "\r\n";
    return ExitSuccess;
}

// The calculator's inputs as texts, read as its page reads its fields.
struct CalcOptions {
    std::string level = "e";
    std::array<std::string, 4> inputs = {"14", "300", "0", "0"};
};

int Calc(const CalcOptions& options, std::ostream& out, std::ostream& err) {
    SafetyDistanceInputs inputs;
    inputs.level = options.level == "cd" ? PerformanceLevel::CD : PerformanceLevel::E;
    inputs.resolution = ParseDistanceInput(options.inputs[0]);
    inputs.emitterReceiverGap = ParseDistanceInput(options.inputs[1]);
    inputs.overrunTime = ParseDistanceInput(options.inputs[2]);
    inputs.responseTime = ParseDistanceInput(options.inputs[3]);
    const SafetyDistanceFields fields = CalcSDFields(inputs);
    const Texts texts;
    const auto line = [&](TextId label, const std::string& prefix, const std::string& value) {
        out << texts.GetText(label) << ": " << (value.empty() ? "-" : prefix + value) << '\n';
    };
    line(TotalResponseLabel, "", fields.totalResponseTime);
    line(SafetyDistanceLabel, texts.GetText(SPrefix), fields.safetyDistance);
    line(ReflectionLabel, texts.GetText(S1Prefix), fields.reflectionDistance);
    const std::array<bool, 4> invalid = {fields.result.resolutionInvalid, fields.result.gapInvalid,
                                         fields.result.overrunInvalid,
                                         fields.result.responseInvalid};
    bool anyInvalid = false;
    for (std::size_t i = 0; i < invalid.size(); ++i) {
        if (invalid[i]) {
            err << "lcdiag-tool: outside its range: "
                << texts.GetText(FirstInputLabel + static_cast<TextId>(i)) << " = \""
                << options.inputs[i] << "\"\n";
            anyInvalid = true;
        }
    }
    return anyInvalid ? ExitProblem : ExitSuccess;
}

} // namespace

int RunTool(int argc, const char* const* argv, std::ostream& out, std::ostream& err) {
    CLI::App app("lcdiag-tool: decodes session recordings and configuration files, writes the "
                 "settings report of a configuration file, calculates the safety distance and "
                 "checks the connection, without a window.",
                 "lcdiag-tool");
    app.footer(ExitCodes);
    app.require_subcommand(1);

    DecodeOptions decodeOptions;
    CLI::App* decode = app.add_subcommand(
        "decode", "Decode a session recording (.lcdrec) or a configuration file (.zcf); which "
                  "one it is, its content says.");
    decode->add_option("FILE", decodeOptions.file, "the file")->required();
    decode->add_flag("--json", decodeOptions.json, "write one JSON document for scripts");
    decode->footer(ExitCodes);

    std::string reportFile;
    CLI::App* report = app.add_subcommand(
        "report", "Write the settings report of a configuration file, as the program saves it.");
    report->add_option("FILE", reportFile, "the configuration file (.zcf)")->required();
    report->footer(ExitCodes);

    CalcOptions calcOptions;
    CLI::App* calc = app.add_subcommand(
        "calc", "Calculate the safety distances S and S1 (EN 13855) of a vertical light curtain, "
                "as the calculator page does; the defaults are the page's.");
    calc->add_option("--level", calcOptions.level, "safety category: cd (PL c,d) or e (PL e)")
        ->check(CLI::IsMember({"cd", "e"}))
        ->capture_default_str();
    calc->add_option("--resolution", calcOptions.inputs[0], "resolution d, 14..40 mm")
        ->capture_default_str();
    calc->add_option("--gap", calcOptions.inputs[1], "distance emitter-receiver D, 300..50000 mm")
        ->capture_default_str();
    calc->add_option("--overrun-time", calcOptions.inputs[2], "machine overrun time t1, ms")
        ->capture_default_str();
    calc->add_option("--response-time", calcOptions.inputs[3],
                     "response time of the light curtain and switching units t2, ms")
        ->capture_default_str();
    calc->footer(ExitCodes);

    std::vector<std::string> ports;
    CLI::App* check = app.add_subcommand(
        "check-connection", "Tell why a device does not answer, as lcdiag --check-connection "
                            "does: exit code 1 when a problem is found.");
    check->add_option("PORT", ports, "serial ports to check besides the ones found");
    check->footer(ExitCodes);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return app.exit(error, out, err) == 0 ? ExitSuccess : ExitUsage;
    }
    if (decode->parsed()) {
        return Decode(decodeOptions, out, err);
    }
    if (report->parsed()) {
        return Report(reportFile, out, err);
    }
    if (calc->parsed()) {
        return Calc(calcOptions, out, err);
    }
    return RunConnectionCheck(out, ports);
}

} // namespace lcdiag::cli
