#include "tools/cli/Tool.h"

#include "RecordedSession.h"
#include "core/files/ConfigFile.h"
#include "platform/check/ConnectionCheck.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

namespace lcdiag {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

struct ToolRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

ToolRun Tool(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "lcdiag-tool");
    std::vector<const char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(argument.c_str());
    }
    std::ostringstream out;
    std::ostringstream err;
    const int code = cli::RunTool(static_cast<int>(argv.size()), argv.data(), out, err);
    return {code, out.str(), err.str()};
}

std::string ReadText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Compares with the golden file; a difference leaves the output beside the build for a look
// (and for taking it over when the change is meant).
void ExpectGolden(const std::string& output, const std::string& name) {
    const fs::path golden = fs::path(LCDIAG_TOOL_GOLDEN_DIR) / name;
    if (output == ReadText(golden)) {
        return;
    }
    const fs::path actual = fs::path(LCDIAG_TOOL_ACTUAL_DIR) / name;
    fs::create_directories(actual.parent_path());
    std::ofstream(actual, std::ios::binary) << output;
    ADD_FAILURE() << "The output differs from " << golden << "; it is in " << actual;
}

class ToolTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        session = new test::RecordedSession(test::RecordSession(sim::Unit::Receiver));
    }
    static void TearDownTestSuite() {
        delete session;
        session = nullptr;
    }

    std::string Write(const std::string& name, const Bytes& bytes) {
        const fs::path file = folder / name;
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return file.string();
    }
    std::string RecordingFile() { return Write("session.lcdrec", session->recording); }
    std::string ConfigFile() { return Write("unit.zcf", *WriteConfigFile(session->unit)); }

    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("lcdiag-tool-test-" +
                  std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    static test::RecordedSession* session;
    fs::path folder;
};

test::RecordedSession* ToolTest::session = nullptr;

TEST_F(ToolTest, DecodesARecordedSessionAsText) {
    const ToolRun run = Tool({"decode", RecordingFile()});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.err, "");
    ExpectGolden(run.out, "receiver-session.txt");
}

// The JSON document carries what the session did: the unit's records as the dialogue read
// them, the cycles with their fault in words, the record written back as it was sent.
TEST_F(ToolTest, DecodesARecordedSessionAsJsonForScripts) {
    const ToolRun run = Tool({"decode", "--json", RecordingFile()});
    ASSERT_EQ(run.exitCode, 0);
    const nlohmann::json document = nlohmann::json::parse(run.out);
    EXPECT_EQ(document["file"], "session recording");
    EXPECT_EQ(document["header"]["program_version"], "v4.30.0001");
    EXPECT_EQ(document["header"]["start"], "2026-12-07 04:00:00.000 UTC");
    EXPECT_TRUE(document["cut"].is_null());

    const auto& unit = std::get<ConfigReceiver>(session->unit);
    std::vector<std::string> sent;
    std::vector<int> activeRecords;
    int cycles = 0;
    for (const auto& event : document["events"]) {
        for (const auto& frame : event.value("frames", nlohmann::json::array())) {
            const std::string name = frame["name"];
            if (event["event"] == "to device") {
                sent.push_back(name);
            }
            if (name == "ReceiverFactoryData") {
                EXPECT_EQ(frame["record"]["checksum_valid"], true);
                EXPECT_EQ(frame["record"]["fields"]["BeamCount"], 16);
                EXPECT_EQ(frame["record"]["fields"]["SerialNumber"], "1408230117");
                activeRecords.push_back(frame["active_customer_record"]);
            }
            if (name == "receiver cycle") {
                ++cycles;
                EXPECT_EQ(frame["checksums_valid"], true);
                EXPECT_EQ(frame["interrupted_beams"], "5-7");
                ASSERT_EQ(frame["faults"].size(), 1u);
                EXPECT_EQ(frame["faults"][0]["code"], 3);
                EXPECT_FALSE(frame["faults"][0]["text"].get<std::string>().empty());
            }
            if (name == "ReceiverStoreCustomer") {
                const auto& fields = frame["record"]["fields"];
                EXPECT_EQ(fields["RelayDelay"],
                          unit.activeRecord->Byte(ReceiverCustomerField::RelayDelay));
                EXPECT_EQ(fields["Checksum"],
                          unit.activeRecord->Number(ReceiverCustomerField::Checksum));
            }
        }
    }
    EXPECT_GE(cycles, 3);
    // The record written back goes into the next slot of the controller's ring, which the
    // read-back and the new start after the result show.
    EXPECT_EQ(activeRecords, std::vector<int>({3, 4, 4}));
    const std::vector<std::string> expectedSent = {"PcAnswerReceiver", "StartReceiverDiagnosis",
                                                   "ReceiverStoreCustomer", "PcAnswerReceiver",
                                                   "StartReceiverDiagnosis"};
    EXPECT_EQ(sent, expectedSent);
}

// The emitter's side: its records, its cycles with the fault in words, its customer record as
// the program sent it back.
TEST_F(ToolTest, DecodesAnEmitterSession) {
    const test::RecordedSession emitter = test::RecordSession(sim::Unit::Emitter);
    const ToolRun run = Tool({"decode", "--json", Write("emitter.lcdrec", emitter.recording)});
    ASSERT_EQ(run.exitCode, 0);
    const nlohmann::json document = nlohmann::json::parse(run.out);
    const auto& unit = std::get<ConfigEmitter>(emitter.unit);
    std::vector<std::string> names;
    for (const auto& event : document["events"]) {
        for (const auto& frame : event.value("frames", nlohmann::json::array())) {
            const std::string name = frame["name"];
            if (names.empty() || names.back() != name) {
                names.push_back(name);
            }
            if (name == "EmitterFactoryData") {
                EXPECT_EQ(frame["record"]["checksum_valid"], true);
                EXPECT_EQ(frame["record"]["fields"]["BeamCount"], 16);
            }
            if (name == "emitter cycle") {
                EXPECT_EQ(frame["checksum_valid"], true);
                EXPECT_EQ(frame["beams"], 16);
                ASSERT_EQ(frame["faults"].size(), 1u);
                EXPECT_EQ(frame["faults"][0]["code"], 2);
            }
            if (name == "EmitterCustomerFollows") {
                EXPECT_EQ(frame["record"]["checksum_valid"], true);
                EXPECT_EQ(frame["record"]["fields"]["Checksum"],
                          unit.customer.Number(EmitterCustomerField::Checksum));
            }
        }
    }
    const std::vector<std::string> course = {
        "EmitterIdentLong",      "PcAnswerEmitter",       "EmitterFirmware",
        "EmitterFactoryData",    "EmitterCustomerData",   "StartEmitterDiagnosis",
        "emitter cycle",         "EmitterWaitingForData", "EmitterCustomerFollows",
        "EmitterCustomerStored", "EmitterFirmware",       "EmitterFactoryData",
        "EmitterCustomerData",   "StartEmitterDiagnosis", "emitter cycle",
        "EmitterWaitingForData"}; // the break that bids farewell
    EXPECT_EQ(names, course);
}

TEST_F(ToolTest, DecodesATruncatedRecordingUpToTheCutAndSaysWhere) {
    Bytes cut = session->recording;
    cut.resize(cut.size() - 3);
    const ToolRun full = Tool({"decode", "--json", RecordingFile()});
    const ToolRun run = Tool({"decode", "--json", Write("cut.lcdrec", cut)});
    ASSERT_EQ(run.exitCode, 0);
    const nlohmann::json document = nlohmann::json::parse(run.out);
    EXPECT_EQ(document["events"].size(), nlohmann::json::parse(full.out)["events"].size() - 1);
    const std::string where = "the recording ends at byte ";
    EXPECT_EQ(document["cut"].get<std::string>().rfind(where, 0), 0u);
    const ToolRun text = Tool({"decode", Write("cut.lcdrec", cut)});
    EXPECT_NE(text.out.find("cut: " + where), std::string::npos);
}

// Outside input: whatever a file holds, the tool answers with one line and exit code 1.
TEST_F(ToolTest, RefusesWhatItCannotDecodeWithOneLine) {
    const Bytes garbage = {0x00, 0xFF, 'Z', 'C', 0x13, 0x37, 0x42};
    const Bytes headerCut = {'L', 'C', 'D', 'R', 'E', 'C', '\r', '\n', 1, 0, 200, 'v'};
    const Bytes shortConfig = {'Z', 'C', 'F', 'R', 2, '1', 133};
    const std::vector<std::pair<Bytes, std::string>> cases = {
        {garbage, "neither a session recording nor a configuration file"},
        {{}, "neither a session recording nor a configuration file"},
        {headerCut, "the session recording is cut within its header"},
        {shortConfig, "Error reading the selected file!"},
    };
    for (const auto& [bytes, reason] : cases) {
        const std::string file = Write("input", bytes);
        for (const std::string command : {"decode", "report"}) {
            const ToolRun run = Tool({command, file});
            EXPECT_EQ(run.exitCode, 1) << command << ": " << reason;
            EXPECT_EQ(run.out, "");
            EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
            if (command == "decode") {
                EXPECT_NE(run.err.find(reason), std::string::npos) << run.err;
            }
        }
    }
    for (const fs::path& unreadable : {folder / "missing", folder}) {
        const ToolRun run = Tool({"decode", unreadable.string()});
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_EQ(run.err, "lcdiag-tool: " + unreadable.string() + ": cannot be read\n");
    }
}

TEST_F(ToolTest, DecodesAConfigurationFileAndWritesItsReport) {
    const std::string file = ConfigFile();
    const ToolRun decoded = Tool({"decode", file});
    EXPECT_EQ(decoded.exitCode, 0);
    ExpectGolden(decoded.out, "receiver-config.txt");
    const ToolRun json = Tool({"decode", "--json", file});
    EXPECT_EQ(nlohmann::json::parse(json.out)["records"][1]["fields"]["FunctionBits"],
              std::get<ConfigReceiver>(session->unit)
                  .activeRecord->Byte(ReceiverCustomerField::FunctionBits));
    const ToolRun report = Tool({"report", file});
    EXPECT_EQ(report.exitCode, 0);
    ExpectGolden(report.out, "receiver-report.txt");
}

TEST(ToolCommandLine, UsageErrorsExitWithTwoAndHelpWithZero) {
    EXPECT_EQ(Tool({}).exitCode, 2);
    EXPECT_EQ(Tool({"decode"}).exitCode, 2);
    EXPECT_EQ(Tool({"calc", "--level", "x"}).exitCode, 2);
    EXPECT_EQ(Tool({"frobnicate"}).exitCode, 2);
    for (const std::string command : {"decode", "report", "calc", "check-connection"}) {
        const ToolRun help = Tool({command, "--help"});
        EXPECT_EQ(help.exitCode, 0) << command;
        EXPECT_NE(help.out.find("Exit codes"), std::string::npos) << command;
    }
}

TEST(ToolCommandLine, ChecksTheConnectionAsTheProgramDoes) {
    const std::string port = "/nonexistent/ttyUSB9";
    std::ostringstream expected;
    const int expectedCode = RunConnectionCheck(expected, {port});
    const ToolRun run = Tool({"check-connection", port});
    EXPECT_EQ(run.exitCode, expectedCode);
    EXPECT_EQ(run.out, expected.str());
}

} // namespace
} // namespace lcdiag
