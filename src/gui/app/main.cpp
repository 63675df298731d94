// The program: lcdiag, lcdiag-pro and lcdiag-factory, told apart by LCDIAG_VARIANT_WORD.
#include "core/app/BuildVariant.h"
#include "gui/app/CommandLine.h"
#include "gui/app/MessageBoxes.h"
#include "gui/app/ProgramVersion.h"
#include "gui/app/TApplication.h"
#include "gui/app/TFRM_Main.h"
#include "platform/check/ConnectionCheck.h"
#include "platform/prefs/IniPreferenceStore.h"
#include "platform/prefs/UserFolders.h"
#include "platform/serial/UdevDeviceList.h"

#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <iostream>

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

// Saves the window as PNG after the delay and ends the program.
void ScheduleScreenshot(lcdiag::TFRM_Main& window, const std::string& file, int delayMs) {
    QTimer::singleShot(delayMs, &window, [&window, file] {
        const bool saved = window.grab().save(QString::fromStdString(file), "PNG");
        if (!saved) {
            std::cerr << "lcdiag: could not write the screenshot " << file << '\n';
        }
        window.close();
        QCoreApplication::exit(saved ? 0 : 1);
    });
}

} // namespace

int main(int argc, char** argv) {
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

    lcdiag::TFRM_Main window(std::move(setup));
    if (!window.CreationFinished()) {
        return 1; // the error has been shown
    }
    app.SetTexts(&window.Language());
    window.show();
    if (line.viewMode) {
        window.SetViewMode(*line.viewMode);
    }
    if (line.screenshotFile) {
        ScheduleScreenshot(window, *line.screenshotFile, line.screenshotDelayMs);
    }
    return app.exec();
}
