#include "gui/app/CommandLine.h"

#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <unistd.h>

namespace lcdiag {
namespace {

CommandLine Parsed(const std::vector<std::string>& args) {
    auto result = ParseCommandLine(args);
    EXPECT_TRUE(std::holds_alternative<CommandLine>(result)) << std::get<std::string>(result);
    return std::holds_alternative<CommandLine>(result) ? std::get<CommandLine>(result)
                                                       : CommandLine{};
}

bool Refused(const std::vector<std::string>& args) {
    return std::holds_alternative<std::string>(ParseCommandLine(args));
}

TEST(CommandLine, SimulatorOptionsRunUpToTheNextProgramOption) {
    const CommandLine line = Parsed({"--simulate", "emitter", "--beams", "40", "--view", "status",
                                     "--screenshot", "/tmp/x.png", "--after", "250"});
    ASSERT_TRUE(line.simulation);
    EXPECT_EQ(line.simulation->unit, ControllerType::Emitter);
    EXPECT_EQ(line.simulation->options, (std::vector<std::string>{"--beams", "40"}));
    EXPECT_EQ(line.screenshotFile, "/tmp/x.png");
    EXPECT_EQ(line.screenshotDelayMs, 250);
    EXPECT_EQ(line.viewMode, ViewMode::Status);
    EXPECT_FALSE(line.reportFirstPaint);
    const CommandLine timed =
        Parsed({"--simulate", "receiver", "--scenes", "demo", "--report-first-paint"});
    EXPECT_TRUE(timed.reportFirstPaint);
    EXPECT_EQ(timed.simulation->options, (std::vector<std::string>{"--scenes", "demo"}));
}

TEST(CommandLine, DefaultsAndHelp) {
    const CommandLine none = Parsed({});
    EXPECT_FALSE(none.simulation);
    EXPECT_FALSE(none.screenshotFile);
    EXPECT_FALSE(none.viewMode);
    EXPECT_EQ(Parsed({"--screenshot", "a.png"}).screenshotDelayMs, 1500);
    EXPECT_EQ(Parsed({"--port", "/dev/pts/3", "--view", "lines"}).port, "/dev/pts/3");
    EXPECT_EQ(Parsed({"--simulate", "receiver"}).simulation->unit, ControllerType::Receiver);
    EXPECT_TRUE(AsksForHelp({"--simulate", "receiver", "-h"}));
    EXPECT_TRUE(AsksForHelp({"--help"}));
    EXPECT_FALSE(AsksForHelp({"--screenshot", "help.png"}));
}

TEST(CommandLine, ADisplayIsASessionAVariableOrQtsOption) {
    const auto environment = [](std::map<std::string, std::string> variables) {
        return [variables = std::move(variables)](const char* name) -> const char* {
            const auto found = variables.find(name);
            return found != variables.end() ? found->second.c_str() : nullptr;
        };
    };
    EXPECT_FALSE(HasDisplay({"--simulate", "receiver"}, environment({})));
    EXPECT_FALSE(HasDisplay({}, environment({{"DISPLAY", ""}})));
    EXPECT_TRUE(HasDisplay({}, environment({{"DISPLAY", ":0"}})));
    EXPECT_TRUE(HasDisplay({}, environment({{"WAYLAND_DISPLAY", "wayland-0"}})));
    EXPECT_TRUE(HasDisplay({}, environment({{"QT_QPA_PLATFORM", "offscreen"}})));
    EXPECT_TRUE(HasDisplay({"-platform", "offscreen"}, environment({})));
    EXPECT_TRUE(HasDisplay({"-platform=offscreen"}, environment({})));
}

TEST(CommandLine, VersionReportCountsTheLanguageFilesOfEachFolder) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("lcdiag-version-" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    for (const char* name : {"de.zna", "FR.ZNA", "notes.txt"}) {
        std::ofstream(folder / name) << "x";
    }
    EXPECT_TRUE(AsksForVersion({"--port", "USB", "--version"}));
    EXPECT_EQ(VersionReport("/usr/bin/lcdiag-pro", {4, 30, 0, 0}, {folder, folder / "none"}),
              "lcdiag-pro 4.30.0\nLanguage folders:\n  " + folder.string() +
                  " (2 language files)\n  " + (folder / "none").string() + " (not there)\n");
    std::filesystem::remove_all(folder);
}

TEST(CommandLine, MistakesAreRefused) {
    EXPECT_TRUE(Refused({"--simulate"}));
    EXPECT_TRUE(Refused({"--simulate", "transmitter"}));
    EXPECT_TRUE(Refused({"--simulate", "receiver", "--simulate", "emitter"}));
    EXPECT_TRUE(Refused({"--screenshot"}));
    EXPECT_TRUE(Refused({"--after", "100"}));
    for (const char* delay : {"-1", "1e3", "", "99999999999", "3600001"}) {
        EXPECT_TRUE(Refused({"--screenshot", "a.png", "--after", delay})) << delay;
    }
    EXPECT_TRUE(Refused({"--view", "settings"})); // the settings page needs its password
    EXPECT_TRUE(Refused({"--view"}));
    EXPECT_TRUE(Refused({"--verbose"}));
    EXPECT_TRUE(Refused({"--port"}));
    EXPECT_TRUE(Refused({"--port", "--view", "bar"}));
    EXPECT_TRUE(Refused({"--port", "USB", "--port", "ttyS0"}));
    EXPECT_TRUE(Refused({"--port", "USB", "--simulate", "receiver"}));
    EXPECT_TRUE(Refused({"--replay", "a.lcdrec", "--simulate", "receiver"}));
    EXPECT_TRUE(Refused({"--replay", "a.lcdrec", "--port", "USB"}));
    EXPECT_TRUE(Refused({"--replay", "--speed", "2"}));
    EXPECT_TRUE(Refused({"--record", "a.lcdrec", "--record", "b.lcdrec"}));
    EXPECT_TRUE(Refused({"--speed", "2"}));
    for (const char* speed : {"0.2", "65", "nan", "2x", "", "inf"}) {
        EXPECT_TRUE(Refused({"--replay", "a.lcdrec", "--speed", speed})) << speed;
    }
}

// A replay's screenshot waits for the end of the recording unless a time is given.
TEST(CommandLine, ReplayAndRecordingOptions) {
    const CommandLine replay = Parsed({"--replay", "a.lcdrec", "--speed", "0.5", "--screenshot",
                                       "a.png", "--record", "b.lcdrec"});
    EXPECT_EQ(replay.replayFile, "a.lcdrec");
    EXPECT_EQ(replay.replaySpeed, 0.5);
    EXPECT_EQ(replay.recordFile, "b.lcdrec");
    EXPECT_TRUE(replay.screenshotAtReplayEnd);
    EXPECT_FALSE(Parsed({"--replay", "a.lcdrec", "--screenshot", "a.png", "--after", "10"})
                     .screenshotAtReplayEnd);
    EXPECT_EQ(Parsed({"--replay", "a.lcdrec"}).replaySpeed, 1);
}

} // namespace
} // namespace lcdiag
