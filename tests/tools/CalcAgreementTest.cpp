// The command-line calculator and the calculator page compute through the same core function;
// this shows it from the outside: the same entries give the same fields.
#include "../gui/QtTestSupport.h"
#include "gui/safety/CalcSafetyDistance.h"
#include "tools/cli/Tool.h"

#include <QLineEdit>
#include <QRadioButton>
#include <sstream>

namespace lcdiag {
namespace {

using test::Child;

struct Entries {
    const char* level; // "cd" or "e"
    const char* resolution;
    const char* gap;
    const char* overrun;
    const char* response;
};

class CalcAgreement : public test::RecordedMessages {
protected:
    // The page's three fields as the tool writes them, with the labels and prefixes.
    std::string PageFields(const Entries& entries) {
        Child<QRadioButton>(page,
                            entries.level == std::string("cd") ? "RdBtn_CSD_111" : "RdBtn_CSD_112")
            ->click();
        const std::array<const char*, 4> inputs = {entries.resolution, entries.gap, entries.overrun,
                                                   entries.response};
        for (std::size_t i = 0; i < inputs.size(); ++i) {
            const std::string name = "Edt_CSD_1" + std::to_string(i + 1);
            Child<QLineEdit>(page, name.c_str())->setText(QString::fromLatin1(inputs[i]));
        }
        const auto field = [&](const char* name, TextId label, const std::string& prefix) {
            const std::string value = Child<QLineEdit>(page, name)->text().toStdString();
            return texts.GetText(label) + ": " + (value.empty() ? "-" : prefix + value) + "\n";
        };
        return field("Edt_CSD_15", 7016, "") + field("Edt_CSD_16", 7017, "S=") +
               field("Edt_CSD_17", 7018, "S1=");
    }

    static std::string ToolFields(const Entries& entries) {
        const std::vector<std::string> arguments = {
            "lcdiag-tool",
            "calc",
            std::string("--level=") + entries.level,
            std::string("--resolution=") + entries.resolution,
            std::string("--gap=") + entries.gap,
            std::string("--overrun-time=") + entries.overrun,
            std::string("--response-time=") + entries.response};
        std::vector<const char*> argv;
        for (const std::string& argument : arguments) {
            argv.push_back(argument.c_str());
        }
        std::ostringstream out;
        std::ostringstream err;
        cli::RunTool(static_cast<int>(argv.size()), argv.data(), out, err);
        return out.str();
    }

    TCalcSafetyDistance page{texts, 0, QSize(784, 538)};
};

TEST_F(CalcAgreement, TheToolWritesWhatThePageShows) {
    page.show();
    const Entries cases[] = {
        {"e", "14", "300", "0", "0"},      // the defaults: the minimum distances
        {"e", "30", "5000", "250", "50"},  // K = 1.6 m/s
        {"cd", "30", "5000", "250", "50"}, // the wider divergence of PL c,d
        {"e", "40", "300", "100", "20"},   // S = 2 T + C, no more than 500 mm
        {"e", "41", "299", "-5", "ten"},   // every input outside its range
        {"cd", "+20", "50000", "0", "1000000"},
    };
    for (const Entries& entries : cases) {
        EXPECT_EQ(ToolFields(entries), PageFields(entries)) << entries.resolution;
    }
}

} // namespace
} // namespace lcdiag
