#include "gui/app/CommandLine.h"

#include "core/app/TLocaleFile.h"

#include <algorithm>
#include <charconv>
#include <utility>

namespace lcdiag {
namespace {

bool IsProgramOption(const std::string& arg) {
    return arg == "--simulate" || arg == "--port" || arg == "--screenshot" || arg == "--after" ||
           arg == "--view" || arg == "--report-first-paint" || arg == "--record" ||
           arg == "--replay" || arg == "--speed";
}

// The views a user can start in, by the names of the View menu's pictures and pages.
std::optional<ViewMode> ViewModeNamed(const std::string& name) {
    static constexpr std::pair<const char*, ViewMode> Views[] = {
        {"bar", ViewMode::Bar},
        {"lines", ViewMode::Lines},
        {"history", ViewMode::History},
        {"status", ViewMode::Status},
        {"calculator", ViewMode::Calculator}};
    for (const auto& [viewName, mode] : Views) {
        if (name == viewName) {
            return mode;
        }
    }
    return std::nullopt;
}

std::optional<ControllerType> UnitNamed(const std::string& name) {
    if (name == "receiver") {
        return ControllerType::Receiver;
    }
    if (name == "emitter") {
        return ControllerType::Emitter;
    }
    return std::nullopt;
}

std::optional<int> Milliseconds(const std::string& text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 0 ||
        value > MaxScreenshotDelayMs) {
        return std::nullopt;
    }
    return value;
}

// Walks the arguments; each option takes what follows it.
class Parser {
public:
    explicit Parser(const std::vector<std::string>& args) : args_(args) {}

    std::variant<CommandLine, std::string> Run() {
        while (at_ < args_.size()) {
            if (auto mistake = Option(args_[at_++])) {
                return *mistake;
            }
        }
        if (delayGiven_ && !line_.screenshotFile) {
            return std::string("--after needs --screenshot");
        }
        if (line_.port && line_.simulation) {
            return std::string("--port and --simulate exclude each other");
        }
        if (line_.replayFile && (line_.port || line_.simulation)) {
            return std::string("--replay excludes --port and --simulate");
        }
        if (speedGiven_ && !line_.replayFile) {
            return std::string("--speed needs --replay");
        }
        line_.screenshotAtReplayEnd = line_.replayFile && line_.screenshotFile && !delayGiven_;
        return line_;
    }

private:
    std::optional<std::string> Option(const std::string& option) {
        if (option == "--simulate") {
            return Simulate();
        }
        if (option == "--port") {
            return Port();
        }
        if (option == "--screenshot") {
            return Screenshot();
        }
        if (option == "--after") {
            return Delay();
        }
        if (option == "--view") {
            return View();
        }
        if (option == "--record" || option == "--replay") {
            return FileOption(option, option == "--record" ? line_.recordFile : line_.replayFile);
        }
        if (option == "--speed") {
            return Speed();
        }
        if (option == "--report-first-paint") {
            line_.reportFirstPaint = true;
            return std::nullopt;
        }
        return "unknown argument: " + option;
    }

    std::optional<std::string> Simulate() {
        const auto unit = at_ < args_.size() ? UnitNamed(args_[at_]) : std::nullopt;
        if (line_.simulation || !unit) {
            return std::string("--simulate takes receiver or emitter, once");
        }
        ++at_;
        line_.simulation = SimulationRequest{*unit, {}};
        while (at_ < args_.size() && !IsProgramOption(args_[at_])) {
            line_.simulation->options.push_back(args_[at_++]);
        }
        return std::nullopt;
    }

    std::optional<std::string> Port() {
        if (line_.port || at_ >= args_.size() || args_[at_].empty() ||
            IsProgramOption(args_[at_])) {
            return std::string("--port takes one port (USB, ttyS0, /dev/pts/3, ...), once");
        }
        line_.port = args_[at_++];
        return std::nullopt;
    }

    std::optional<std::string> Screenshot() {
        if (line_.screenshotFile || at_ >= args_.size() || args_[at_].empty()) {
            return std::string("--screenshot takes one file name, once");
        }
        line_.screenshotFile = args_[at_++];
        return std::nullopt;
    }

    std::optional<std::string> Delay() {
        const auto delay = at_ < args_.size() ? Milliseconds(args_[at_]) : std::nullopt;
        if (delayGiven_ || !delay) {
            return "--after takes milliseconds from 0 to " + std::to_string(MaxScreenshotDelayMs) +
                   ", once";
        }
        ++at_;
        delayGiven_ = true;
        line_.screenshotDelayMs = *delay;
        return std::nullopt;
    }

    std::optional<std::string> FileOption(const std::string& option,
                                          std::optional<std::string>& file) {
        if (file || at_ >= args_.size() || args_[at_].empty() || IsProgramOption(args_[at_])) {
            return option + " takes one file name, once";
        }
        file = args_[at_++];
        return std::nullopt;
    }

    std::optional<std::string> Speed() {
        double speed = 0;
        const std::string text = at_ < args_.size() ? args_[at_] : std::string();
        const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), speed);
        if (speedGiven_ || text.empty() || error != std::errc() ||
            end != text.data() + text.size() ||
            !(speed >= MinReplaySpeed && speed <= MaxReplaySpeed)) {
            return std::string("--speed takes a number from 0.25 to 64, once");
        }
        ++at_;
        speedGiven_ = true;
        line_.replaySpeed = speed;
        return std::nullopt;
    }

    std::optional<std::string> View() {
        const auto mode = at_ < args_.size() ? ViewModeNamed(args_[at_]) : std::nullopt;
        if (line_.viewMode || !mode) {
            return std::string("--view takes bar, lines, status, history or calculator, once");
        }
        ++at_;
        line_.viewMode = *mode;
        return std::nullopt;
    }

    const std::vector<std::string>& args_;
    std::size_t at_ = 0;
    CommandLine line_;
    bool delayGiven_ = false;
    bool speedGiven_ = false;
};

} // namespace

std::variant<CommandLine, std::string> ParseCommandLine(const std::vector<std::string>& args) {
    return Parser(args).Run();
}

bool AsksForHelp(const std::vector<std::string>& args) {
    return std::any_of(args.begin(), args.end(),
                       [](const std::string& arg) { return arg == "--help" || arg == "-h"; });
}

std::string CommandLineHelp(const std::string& program) {
    return "Usage: " + program +
           " [options]\n"
           "Diagnoses and configures safety light curtains and light grids.\n"
           "\n"
           "  --simulate receiver|emitter [simulator options]\n"
           "                       run on the simulated device instead of a port\n"
           "  --port PORT          use this port for this run instead of the stored one: USB\n"
           "                       (the device's adapter), ttyS0, ttyUSB0, /dev/pts/3, ...\n"
           "  --record FILE        record the session into FILE from the start\n"
           "  --replay FILE        replay a recorded session as the device\n"
           "  --speed N            replay N times as fast (0.25 to 64, default 1)\n"
           "  --screenshot FILE    save the main window as a PNG file and quit\n"
           "  --after MS           take the screenshot after MS milliseconds (default 1500;\n"
           "                       with --replay: when the replay has ended)\n"
           "  --view NAME          start in the view bar, lines, status, history or calculator\n"
           "  --report-first-paint print on the error stream how many milliseconds after the\n"
           "                       program's start the main window was first painted\n"
           "  --check-connection [PORT...]\n"
           "                       check on the terminal why a device does not answer (ports,\n"
           "                       permissions, other programs, the adapter's udev rule) and\n"
           "                       quit; exit code 1 when a problem was found\n"
           "  --version            show the version and the language folders\n"
           "  --help               show this help\n"
           "\n"
           "Qt's own options (-platform, ...) are understood as well.\n";
}

bool AsksForVersion(const std::vector<std::string>& args) {
    return std::find(args.begin(), args.end(), "--version") != args.end();
}

std::string VersionReport(const std::string& program, const FileVersion& version,
                          const std::vector<std::filesystem::path>& languageFolders) {
    std::string report = std::filesystem::path(program).filename().string() + " " +
                         std::to_string(version.major) + "." + std::to_string(version.minor) + "." +
                         std::to_string(version.release) + "\nLanguage folders:\n";
    for (const std::filesystem::path& folder : languageFolders) {
        std::error_code error;
        const bool there = std::filesystem::is_directory(folder, error);
        const std::size_t files = there ? LanguageFileNames(folder).size() : 0;
        report += "  " + folder.string() +
                  (there ? " (" + std::to_string(files) + " language files)\n" : " (not there)\n");
    }
    return report;
}

bool HasDisplay(const std::vector<std::string>& args,
                const std::function<const char*(const char*)>& environment) {
    const auto set = [&environment](const char* name) {
        const char* value = environment(name);
        return value != nullptr && *value != '\0';
    };
    return set("DISPLAY") || set("WAYLAND_DISPLAY") || set("QT_QPA_PLATFORM") ||
           std::any_of(args.begin(), args.end(),
                       [](const std::string& arg) { return arg.rfind("-platform", 0) == 0; });
}

std::string NoDisplayHelp(const std::string& program) {
    return program +
           ": there is no display (neither DISPLAY nor WAYLAND_DISPLAY is set).\n"
           "Start it in a desktop session, or, without one, on a virtual screen:\n"
           "  xvfb-run -a " +
           program +
           " --simulate receiver --screenshot window.png\n"
           "(saves the window as a picture and quits). Over SSH, \"ssh -X\" brings the window to\n"
           "your own screen. \"" +
           program + " --check-connection\" needs no display.\n";
}

} // namespace lcdiag
