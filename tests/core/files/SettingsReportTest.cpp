#include "core/files/SettingsReport.h"

#include "../app/AppTestSupport.h"
#include "core/app/TLocaleFile.h"
#include "core/app/Texts.h"

#include <gtest/gtest.h>
#include <string>
#include <tuple>

namespace lcdiag {
namespace {

namespace fs = std::filesystem;
using F = ReceiverCustomerField;
using test::ReadFile;
using test::TempFolder;

const std::string SaveTime = "05.03.2014 17:08:09";

// A report as its file holds it, against the golden file of that name. On a difference the
// produced file is saved into the build folder, ready to be copied over the golden one.
void ExpectSavedAsGolden(const std::string& report, const std::string& name) {
    const fs::path golden = fs::path(LCDIAG_REPORT_GOLDEN_DIR) / name;
    const std::vector<std::uint8_t> bytes = ReadFile(golden);
    const std::string expected(bytes.begin(), bytes.end());
    if (report + "\r\n" == expected) {
        return;
    }
    const fs::path actual = fs::path(LCDIAG_REPORT_ACTUAL_DIR) / name;
    fs::create_directories(actual.parent_path());
    ASSERT_TRUE(SaveReport(actual, report));
    ADD_FAILURE() << "The report differs from " << golden << ".\nThe produced file is " << actual
                  << "; when it is right, update the golden file:\n  cp " << actual << " "
                  << golden;
    EXPECT_EQ(report + "\r\n", expected);
}

ReceiverCustomerRecord Settings(std::initializer_list<std::pair<F, std::uint32_t>> fields,
                                BeamMask fixedBlanking = {}) {
    ReceiverCustomerRecord record;
    for (const auto& [field, value] : fields) {
        record.SetNumber(field, value);
    }
    record.SetMask(F::FixedBlankingMask, fixedBlanking);
    return record;
}

// The default settings: relay control off, override on, the whole protection field muted.
ReceiverCustomerRecord DefaultSettings() {
    return Settings({{F::FunctionBits, 0x04},
                     {F::MutingBits, 0x0C},
                     {F::RelayDelay, 3},
                     {F::SpecialFunctionBits, 0x90},
                     {F::ClockCycles, 2},
                     {F::ClockCycleTime, 30},
                     {F::InterruptionTime, 5},
                     {F::MutingCycleTime, 300},
                     {F::SensorConcurrency, 20},
                     {F::ConveyorStopTime, 300},
                     {F::OverrideTime, 180},
                     {F::BusProtocol, 1}},
                    BeamMask::FirstBeams(40));
}

// Five beams with beams 2 and 3 blanked out, three floating beams, high bytes of the muting
// times that a firmware before 1.33 does not read, and in every choice both bits set.
ReceiverCustomerRecord FixedBlankingSettings() {
    BeamMask mask = BeamMask::FirstBeams(5);
    mask.Set(1, false);
    mask.Set(2, false);
    return Settings({{F::FunctionBits, 0x6A},
                     {F::MutingBits, 0x06},
                     {F::RelayDelay, 1},
                     {F::SpecialFunctionBits, 0x69},
                     {F::ClockCycleTime, 1},
                     {F::InterruptionTime, 10},
                     {F::MutingCycleTime, 65535},
                     {F::MutingCycleTimeHigh, 5},
                     {F::SensorConcurrency, 5},
                     {F::ConveyorStopTime, 10},
                     {F::ConveyorStopTimeHigh, 9},
                     {F::FloatingBeams, 3}},
                    mask);
}

// A muting receiver with 24-bit times (100000 s and 70000 s), both floating bits and both
// two-sensor modes set.
ReceiverCustomerRecord MutingSettings() {
    return Settings({{F::FunctionBits, 0x34},
                     {F::MutingBits, 0x3A},
                     {F::RelayDelay, 11},
                     {F::SpecialFunctionBits, 0xAE},
                     {F::ClockCycles, 3},
                     {F::ClockCycleTime, 255},
                     {F::InterruptionTime, 25},
                     {F::MutingCycleTime, 0x86A0},
                     {F::MutingCycleTimeHigh, 1},
                     {F::SensorConcurrency, 25},
                     {F::ConveyorStopTime, 0x1170},
                     {F::ConveyorStopTimeHigh, 1},
                     {F::OverrideTime, 30},
                     {F::BusProtocol, 17},
                     {F::FloatingBeams, 4},
                     {F::MultipleInterruption, 'M'}});
}

TEST(SettingsReport, ReportsMatchTheirGoldenFiles) {
    const Texts texts;
    ExpectSavedAsGolden(BuildReceiverReport(texts, SaveTime,
                                            {"RX 14/600", "14", "600", "0123456789", 40},
                                            DefaultSettings(), {120, 1}),
                        "receiver-default.txt");
    ExpectSavedAsGolden(BuildReceiverReport(texts, SaveTime,
                                            {"RX 30/150", "30", "150", "0123456790", 5},
                                            FixedBlankingSettings(), {122, 1}),
                        "receiver-fixed-blanking.txt");
    ExpectSavedAsGolden(BuildReceiverReport(texts, SaveTime,
                                            {"RXM 30/1500", "30", "1500", "2013110042", 88},
                                            MutingSettings(), {133, 2}),
                        "receiver-muting.txt");
    ExpectSavedAsGolden(
        BuildEmitterReport(texts, SaveTime, {"TX 14/600", "14", "600", "0123456788", 40}, true),
        "emitter.txt");
}

std::string ReportLine(const std::string& report, const std::string& start) {
    const std::size_t at = report.find("\r\n" + start);
    return at == std::string::npos ? ""
                                   : report.substr(at + 2, report.find("\r\n", at + 2) - at - 2);
}

// More than one floating beam counts as two, unless the firmware keeps the count (here 7).
TEST(SettingsReport, FloatingBeamCountDependsOnTheFirmware) {
    const std::tuple<std::uint8_t, ControllerFirmware, std::string> cases[] = {
        {function_bit::FloatingOneBeam, {136, 2}, "1"},
        {function_bit::FloatingMoreBeams, {121, 1}, "2"},
        {function_bit::FloatingMoreBeams, {122, 1}, "7"},
        {function_bit::FloatingMoreBeams, {135, 3}, "2"},
        {function_bit::FloatingMoreBeams, {136, 3}, "7"}};
    for (const auto& [bits, firmware, count] : cases) {
        const std::string report = BuildReceiverReport(
            Texts(), SaveTime, {}, Settings({{F::FunctionBits, bits}, {F::FloatingBeams, 7}}),
            firmware);
        EXPECT_EQ(ReportLine(report.substr(report.find("Floating")), " Number of beams"),
                  " Number of beams: " + count)
            << "bits " << int(bits) << ", firmware " << firmware.version;
    }
}

// A translated column head is padded by characters, not bytes, so that the columns stay
// aligned in every language.
TEST(SettingsReport, BeamTableAlignsTranslatedHeadsByCharacters) {
    const TempFolder temp;
    TLocaleFile locale;
    locale.SetFolder(temp.Path());
    locale.Load("Deutsch.zna", true);
    LanguageData german;
    german.texts[2201] = "Strahl-Nr. \xC3\xBC"; // 12 characters, 13 bytes
    german.texts[2202] = "Zustand";
    locale.Assign(german);
    ReceiverCustomerRecord record;
    record.SetByte(F::FunctionBits, function_bit::FixedBlanking);
    const std::string report =
        BuildReceiverReport(Texts(&locale), SaveTime, {"", "", "", "", 200}, record, {133, 1});
    EXPECT_EQ(ReportLine(report, " Strahl"), " Strahl-Nr. \xC3\xBC   Zustand");
    EXPECT_EQ(ReportLine(report, "   1 "), "   1            blanked out");
    EXPECT_EQ(ReportLine(report, " 192"), " 192            blanked out") << "the mask ends there";
    EXPECT_EQ(ReportLine(report, " 193"), "");
}

TEST(SettingsReport, FileNameGetsTxtOnlyWithoutAnExtension) {
    const std::pair<std::string, std::string> names[] = {
        {"/home/user/report", "/home/user/report.txt"},
        {"/home/user/report.txt", "/home/user/report.txt"},
        {"report.TXT", "report.TXT"},
        {"report.log", "report.log"},
        {"archive.tar.gz", "archive.tar.gz"},
        {"dir.v2/report", "dir.v2/report.txt"},
        {"report.", "report.txt"},
        {".hidden", ".hidden.txt"},
        {"dir/.hidden.log", "dir/.hidden.log"},
        {"", ""},
        {"dir/", "dir/"},
    };
    for (const auto& [chosen, saved] : names) {
        EXPECT_EQ(ReportFileName(chosen), saved) << chosen;
    }
}

} // namespace
} // namespace lcdiag
