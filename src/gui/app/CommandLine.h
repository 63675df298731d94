#pragma once

#include "core/app/Version.h"
#include "core/device/ControllerType.h"
#include "core/views/ViewMode.h"

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace lcdiag {

// "--simulate receiver|emitter [options]": run on the simulated device instead of a port;
// the options that follow the unit, up to the next option of the program, are the
// simulator's.
struct SimulationRequest {
    ControllerType unit = ControllerType::Receiver;
    std::vector<std::string> options;

    bool operator==(const SimulationRequest&) const = default;
};

struct CommandLine {
    std::optional<SimulationRequest> simulation;
    std::optional<std::string> port;           // "--port NAME": this port for this run
    std::optional<std::string> screenshotFile; // "--screenshot FILE": save the window and quit
    int screenshotDelayMs = 1500;              // "--after MS"
    std::optional<ViewMode> viewMode;          // "--view NAME": the view mode to start in
    bool reportFirstPaint = false; // "--report-first-paint": tell when the window first showed
    std::optional<std::string> recordFile; // "--record FILE": record the session from the start
    std::optional<std::string> replayFile; // "--replay FILE": replay a recording as the device
    double replaySpeed = 1;                // "--speed N": N times the recorded pace
    // "--replay" with "--screenshot" and no "--after": the screenshot when the replay has ended.
    bool screenshotAtReplayEnd = false;
};

inline constexpr double MinReplaySpeed = 0.25;
inline constexpr double MaxReplaySpeed = 64;

inline constexpr int MaxScreenshotDelayMs = 3600000;

// The program's arguments without the program name; the text of the first mistake when they
// are wrong.
std::variant<CommandLine, std::string> ParseCommandLine(const std::vector<std::string>& args);

// Whether "--help" (or "-h") is among the arguments; it is answered before anything else.
bool AsksForHelp(const std::vector<std::string>& args);
// Whether "--version" is among the arguments; answered next, without a display.
bool AsksForVersion(const std::vector<std::string>& args);

// "lcdiag 4.30.0", then the language folders in order of preference, each with the number of
// language files it holds or "(not there)".
std::string VersionReport(const std::string& program, const FileVersion& version,
                          const std::vector<std::filesystem::path>& languageFolders);

std::string CommandLineHelp(const std::string& program);

// Whether the program can reach a screen: a desktop session (DISPLAY or WAYLAND_DISPLAY set),
// or a platform chosen by hand (QT_QPA_PLATFORM, Qt's option -platform). `environment` reads a
// variable (null when unset). Without a screen Qt would abort with a misleading message.
bool HasDisplay(const std::vector<std::string>& args,
                const std::function<const char*(const char*)>& environment);
// What to do without a screen: a desktop session, or a virtual screen.
std::string NoDisplayHelp(const std::string& program);

} // namespace lcdiag
