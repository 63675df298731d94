// The program: lcdiag, lcdiag-pro and lcdiag-factory, told apart by LCDIAG_VARIANT_WORD.
#include "core/app/BuildVariant.h"
#include "core/session/SessionRecording.h"
#include "gui/app/CommandLine.h"
#include "gui/app/MessageBoxes.h"
#include "gui/app/ProgramVersion.h"
#include "gui/app/TApplication.h"
#include "gui/app/TFRM_Main.h"
#include "platform/check/ConnectionCheck.h"
#include "platform/prefs/IniPreferenceStore.h"
#include "platform/prefs/UserFolders.h"
#include "platform/serial/UdevDeviceList.h"

#include <QEvent>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iostream>
#include <sstream>
#include <unistd.h>

#if defined(__SANITIZE_ADDRESS__)
// Development builds check for leaks at exit; the D-Bus library that Qt's X11 platform loads
// keeps its connection until then.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libdbus-1.so\n";
}
#endif

namespace {

// The arguments after the program name; once the application exists, Qt's own options
// (-platform, ...) are gone from them.
std::vector<std::string> ProgramArguments(int argc, char** argv) {
    return {argv + std::min(argc, 1), argv + argc};
}

// The folder of the program file, before Qt is there to ask: /proc/self/exe, else argv[0].
std::filesystem::path ProgramFolder(const std::string& argv0) {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    return (error ? std::filesystem::absolute(argv0, error) : self).parent_path();
}

// The installed desktop entry of this build, by which a desktop finds the window's icon.
QString DesktopEntryId(const lcdiag::BuildVariant& variant) {
    return variant.ManufacturerFunctions() ? QStringLiteral("org.lcdiag.lcdiag_factory")
           : variant.ExtendedFunctions()   ? QStringLiteral("org.lcdiag.lcdiag_pro")
                                           : QStringLiteral("org.lcdiag.lcdiag");
}

// Saves the window as PNG and ends the program. A Timer1 cycle first lets the picture show
// everything read until now, and a recording ends with the picture, before the port's closing
// talks to the device: a replay's screenshot at the end of the recording then equals this one.
void TakeScreenshot(lcdiag::TFRM_Main& window, const std::string& file) {
    window.Timer1Timer();
    const QPixmap shot = window.grab();
    window.StopRecording();
    const bool saved = shot.save(QString::fromStdString(file), "PNG");
    if (!saved) {
        std::cerr << "lcdiag: could not write the screenshot " << file << '\n';
    }
    window.close();
    QCoreApplication::exit(saved ? 0 : 1);
}

void ScheduleScreenshot(lcdiag::TFRM_Main& window, const lcdiag::CommandLine& line) {
    const std::string file = *line.screenshotFile;
    if (line.screenshotAtReplayEnd) {
        window.WhenReplayEnded([&window, file] { TakeScreenshot(window, file); });
    } else {
        QTimer::singleShot(line.screenshotDelayMs, &window,
                           [&window, file] { TakeScreenshot(window, file); });
    }
}

// Milliseconds since the kernel started this process: its start time (/proc/self/stat, field
// 22, in clock ticks since boot, so to 10 ms) against CLOCK_BOOTTIME. Loading the libraries
// before main() counts as well: the user waits for it too. Since `mainStart` when /proc cannot
// be read.
long long MillisecondsSinceStart(std::chrono::steady_clock::time_point mainStart) {
    std::ifstream statFile("/proc/self/stat");
    std::string stat;
    std::getline(statFile, stat);
    const std::size_t commandEnd = stat.rfind(')'); // the command name may hold anything
    std::istringstream fields(commandEnd == std::string::npos ? "" : stat.substr(commandEnd + 1));
    std::string skipped; // fields 3 (the state) to 21
    for (int field = 3; field < 22; ++field) {
        fields >> skipped;
    }
    long long startTicks = -1;
    timespec now{};
    const long ticksPerSecond = ::sysconf(_SC_CLK_TCK);
    if (fields >> startTicks && ticksPerSecond > 0 && ::clock_gettime(CLOCK_BOOTTIME, &now) == 0) {
        return now.tv_sec * 1000LL + now.tv_nsec / 1000000 - startTicks * 1000 / ticksPerSecond;
    }
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                                 mainStart)
        .count();
}

// "--report-first-paint": once the window has been painted for the first time, tells on the
// error stream how long after the start that was.
class FirstPaintReport final : public QObject {
public:
    FirstPaintReport(QWidget& window, std::chrono::steady_clock::time_point mainStart)
        : QObject(&window), mainStart_(mainStart) {
        window.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::chrono::steady_clock::time_point mainStart_;
};

bool FirstPaintReport::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Paint) {
        watched->removeEventFilter(this);
        // The window's children are painted and the frame is put on the screen in the same
        // pass as this event: the report waits for the end of that pass.
        QTimer::singleShot(0, this, [this] {
            std::cerr << "lcdiag: first frame painted after " << MillisecondsSinceStart(mainStart_)
                      << " ms\n";
        });
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    const auto mainStart = std::chrono::steady_clock::now();
    const std::string program = argc > 0 ? argv[0] : "lcdiag";
    const std::vector<std::string> arguments = ProgramArguments(argc, argv);
    if (lcdiag::AsksForHelp(arguments)) { // before Qt looks for a display
        std::cout << lcdiag::CommandLineHelp(program);
        return 0;
    }
    if (lcdiag::AsksForVersion(arguments)) {
        std::cout << lcdiag::VersionReport(program, lcdiag::ProgramFileVersion(),
                                           lcdiag::LanguageFolders(ProgramFolder(program)));
        return 0;
    }
    if (!arguments.empty() && arguments.front() == "--check-connection") { // no display needed
        return lcdiag::RunConnectionCheck(std::cout, {arguments.begin() + 1, arguments.end()});
    }
    if (!lcdiag::HasDisplay(arguments, [](const char* name) { return std::getenv(name); })) {
        std::cerr << lcdiag::NoDisplayHelp(program);
        return 1;
    }
    lcdiag::TApplication app(argc, argv);
    app.setDesktopFileName(DesktopEntryId(lcdiag::BuildVariant{LCDIAG_VARIANT_WORD}));
    const auto parsed = lcdiag::ParseCommandLine(ProgramArguments(argc, argv));
    if (const auto* mistake = std::get_if<std::string>(&parsed)) {
        std::cerr << program << ": " << *mistake << "\n\n" << lcdiag::CommandLineHelp(program);
        return 2;
    }
    const auto& line = std::get<lcdiag::CommandLine>(parsed);

    lcdiag::IniPreferenceStore preferences(lcdiag::IniPreferenceStore::DefaultFile());
    // Nobody answers message boxes while a screenshot is taken: they go to the error stream.
    lcdiag::TStreamMessageDialogs unattended(std::cerr);
    lcdiag::TMainSetup setup;
    setup.variantWord = LCDIAG_VARIANT_WORD;
    setup.preferences = &preferences;
    setup.languageFolders = lcdiag::LanguageFolders(ProgramFolder(program));
    setup.loadAdapterSupport = lcdiag::LoadD2XX;
    setup.messageDialogs = line.screenshotFile ? &unattended : nullptr;
    setup.simulation = line.simulation;
    setup.port = line.port;
    setup.record = line.recordFile;
    if (line.replayFile) {
        auto recording = lcdiag::ReadSessionRecordingFile(*line.replayFile);
        if (const auto* refusal = std::get_if<std::string>(&recording)) {
            std::cerr << program << ": " << *refusal << '\n';
            return 1;
        }
        setup.replay = lcdiag::ReplayRequest{
            std::filesystem::path(*line.replayFile).filename().string(),
            std::move(std::get<lcdiag::SessionRecording>(recording)), line.replaySpeed};
    }

    lcdiag::TFRM_Main window(std::move(setup));
    if (!window.CreationFinished()) {
        return 1; // the error has been shown
    }
    app.SetTexts(&window.Language());
    if (line.reportFirstPaint) {
        new FirstPaintReport(window, mainStart); // the window owns it
    }
    window.show();
    if (line.viewMode) {
        window.SetViewMode(*line.viewMode);
    }
    if (line.screenshotFile) {
        ScheduleScreenshot(window, line);
    }
    return app.exec();
}
