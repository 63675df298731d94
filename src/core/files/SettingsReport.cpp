#include "core/files/SettingsReport.h"

#include "core/app/Texts.h"
#include "core/device/DateStamp.h"
#include "core/device/DeviceType.h"
#include "core/files/ConfigFile.h"
#include "core/files/FileReplace.h"

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <iterator>
#include <span>
#include <utility>
#include <vector>

namespace lcdiag {
namespace {

using F = ReceiverCustomerField;

constexpr TextId DateLabel = 2200;
constexpr TextId NoText = 2105;
constexpr TextId YesText = 2106;
constexpr TextId EmitterHeading = 1040;
constexpr TextId ReceiverHeading = 1041;
constexpr TextId BeamColumn = 2201;
constexpr TextId StatusColumn = 2202;
constexpr TextId BlankedOutText = 2203;
constexpr TextId ActiveText = 2204;

// The beam table's status column starts 15 characters after the first blank.
constexpr std::size_t BeamColumnWidth = 15;
constexpr std::size_t BeamNumberWidth = 3;
constexpr std::size_t BeamStatusGap = 12;

// The multiple-interruption byte holds "M" when multiple interruption is allowed.
constexpr std::uint8_t MultipleInterruptionAllowed = 'M';

// A line " <label>: <value>".
struct ValueLine {
    TextId label;
    std::string value;
};

// A block of the report: its heading, its value lines and the lines after them (the beam
// table). An empty line goes before every block.
struct Block {
    TextId heading;
    std::vector<ValueLine> values;
    std::vector<std::string> after = {};
};

std::string Render(const Texts& texts, const std::string& dateTime,
                   const std::vector<Block>& blocks) {
    std::string report = texts.GetText(DateLabel) + ": " + dateTime;
    auto addLine = [&report](const std::string& line) { report += "\r\n" + line; };
    for (const Block& block : blocks) {
        addLine("");
        addLine(texts.GetText(block.heading));
        for (const ValueLine& line : block.values) {
            addLine(" " + texts.GetText(line.label) + ": " + line.value);
        }
        std::for_each(block.after.begin(), block.after.end(), addLine);
    }
    return report;
}

std::string YesNo(const Texts& texts, bool condition) {
    return texts.GetText(condition ? YesText : NoText);
}

template <typename Number> std::string Seconds(Number seconds) {
    return std::to_string(seconds) + " s";
}

// Tenths of a second with a decimal comma: 25 is "2,5 s".
std::string TenthsOfSeconds(int tenths) {
    return std::to_string(tenths / 10) + "," + std::to_string(tenths % 10) + " s";
}

// The text followed by blanks up to `width` characters (counted as UTF-8 characters).
std::string PadToWidth(std::string text, std::size_t width) {
    const auto characters =
        static_cast<std::size_t>(std::count_if(text.begin(), text.end(), [](char c) {
            return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        }));
    if (characters < width) {
        text.append(width - characters, ' ');
    }
    return text;
}

std::string RightAligned(int number, std::size_t width) {
    const std::string digits = std::to_string(number);
    return std::string(width - std::min(width, digits.size()), ' ') + digits;
}

Block UnitBlock(TextId heading, const ReportIdentity& unit) {
    return {heading,
            {{2024, unit.type},                    // "Type"
             {2021, unit.resolution + " mm"},      // "Resolution"
             {2025, std::to_string(unit.beams)},   // "Number of beams"
             {2022, unit.protectionField + " mm"}, // "Protection field length"
             {2012, unit.serialNumber}}};          // "Serial no."
}

Block BeamCodingBlock(std::string codingA) {
    return {3030, {{3031, std::move(codingA)}}}; // "Beam coding", "Coding A active"
}

// The receiver record read in the report's words.
class ReceiverReader {
public:
    ReceiverReader(const Texts& texts, const ReceiverCustomerRecord& record,
                   const ControllerFirmware& firmware)
        : texts_(texts), record_(record), firmware_(firmware) {}

    std::string Text(TextId id) const { return texts_.GetText(id); }
    int Byte(F field) const { return record_.Byte(field); }
    std::string Number(F field) const { return std::to_string(Byte(field)); }
    bool Has(F field, std::uint8_t bits) const { return (record_.Byte(field) & bits) != 0; }
    std::string YesNo(bool condition) const { return lcdiag::YesNo(texts_, condition); }
    std::string YesNo(F field, std::uint8_t bits) const { return YesNo(Has(field, bits)); }
    BeamMask Mask(F field) const { return record_.Mask(field); }

    // The text of the first option whose condition holds, else the text of `otherwise`.
    std::string FirstOf(std::initializer_list<std::pair<bool, TextId>> options,
                        TextId otherwise) const {
        const auto chosen = std::find_if(options.begin(), options.end(),
                                         [](const auto& option) { return option.first; });
        return Text(chosen == options.end() ? otherwise : chosen->second);
    }

    // A muting time in seconds: 16 bits, with a high byte on firmware that has 24-bit times.
    std::uint32_t LongTime(F low, F high) const {
        const std::uint32_t highBits = firmware_.HasLongMutingTimes() ? record_.Byte(high) : 0;
        return highBits << 16 | record_.Number(low);
    }

    // "More beams" means two, unless the firmware keeps the count in its own byte.
    int FloatingBeams() const {
        if (Has(F::FunctionBits, function_bit::FloatingMoreBeams)) {
            return firmware_.SupportsManyFloatingBeams() ? Byte(F::FloatingBeams) : 2;
        }
        return Has(F::FunctionBits, function_bit::FloatingOneBeam) ? 1 : 0;
    }

private:
    const Texts& texts_;
    const ReceiverCustomerRecord& record_;
    const ControllerFirmware& firmware_;
};

// An empty line, the table head and one line per beam: its number and whether it is active
// or blanked out (a clear bit in the fixed blanking mask).
std::vector<std::string> BeamTable(const ReceiverReader& r, int beams) {
    const BeamMask mask = r.Mask(F::FixedBlankingMask);
    const std::string active = r.Text(ActiveText);
    const std::string blankedOut = r.Text(BlankedOutText);
    std::vector<std::string> lines{"", " " + PadToWidth(r.Text(BeamColumn), BeamColumnWidth) +
                                           r.Text(StatusColumn)};
    for (int beam = 1; beam <= BeamMask::Clamp(beams); ++beam) {
        lines.push_back(" " + RightAligned(beam, BeamNumberWidth) +
                        std::string(BeamStatusGap, ' ') +
                        (mask.Test(beam - 1) ? active : blankedOut));
    }
    return lines;
}

std::vector<Block> GeneralBlocks(const ReceiverReader& r, int beams) {
    const bool fixedBlanking = r.Has(F::FunctionBits, function_bit::FixedBlanking);
    return {
        {3010, // "Start Interlock"
         {{3012, r.YesNo(F::FunctionBits, function_bit::StartInterlockInterruption)},
          {3013, std::to_string(r.Byte(F::InterruptionTime) * 10)}}},
        {3020, // "Relay control"
         {{3021, r.YesNo(!r.Has(F::FunctionBits, function_bit::RelayControlOff))},
          {3022, std::to_string((r.Byte(F::RelayDelay) - 1) * 10)}}},
        BeamCodingBlock(r.YesNo(F::FunctionBits, function_bit::BeamCodingA)),
        {3040, // "Fixed Blanking"
         {{3041, r.YesNo(fixedBlanking)}},
         fixedBlanking ? BeamTable(r, beams) : std::vector<std::string>{}},
        {3050, // "Floating Blanking"
         {{3051, std::to_string(r.FloatingBeams())}}},
        {3060, // "Special functions"
         {{3061, r.YesNo(F::SpecialFunctionBits, special_bit::Muting)},
          {3062, r.YesNo(F::SpecialFunctionBits, special_bit::CyclicOperation)}}},
    };
}

std::vector<Block> MutingBlocks(const ReceiverReader& r) {
    const F mode = F::MutingBits;
    const F special = F::SpecialFunctionBits;
    return {
        {3100, // "Generally"
         {{3101, r.FirstOf({{r.Has(mode, muting_bit::TwoSensorsParallel), 3115},
                            {r.Has(mode, muting_bit::TwoSensorsDiagonal), 3114}},
                           3116)},
          {3102, r.FirstOf({{r.Has(mode, muting_bit::BothDirections), 3126},
                            {r.Has(mode, muting_bit::OutOfDangerZone), 3125}},
                           3124)},
          {3103, Seconds(r.LongTime(F::MutingCycleTime, F::MutingCycleTimeHigh))},
          {3104, TenthsOfSeconds(r.Byte(F::SensorConcurrency))}}},
        {3130, // "Special functions"
         {{3131, r.YesNo(special, special_bit::RestartInterlock)},
          {3132, r.YesNo(special, special_bit::ConveyorStop) + " - " +
                     Seconds(r.LongTime(F::ConveyorStopTime, F::ConveyorStopTimeHigh))},
          {3133, r.YesNo(mode, muting_bit::ShortenedCycle)},
          {3134,
           r.YesNo(special, special_bit::Override) + " - " + Seconds(r.Byte(F::OverrideTime))}}},
        {3140, // "protection field"
         {{3141,
           r.Text(r.Byte(F::MultipleInterruption) == MultipleInterruptionAllowed ? 3142 : 3148)},
          {3143, r.FirstOf({{r.Has(special, special_bit::BusArea), 3146},
                            {r.Has(special, special_bit::TeachSampleArea), 3145}},
                           3144)},
          {3147, r.Number(F::BusProtocol)}}},
    };
}

std::vector<Block> CyclicBlocks(const ReceiverReader& r) {
    return {
        {3200, // "Working clock cycles"
         {{3201, r.Number(F::ClockCycles)}}},
        {3210, // "clock cycle"
         {{3211, Seconds(r.Byte(F::ClockCycleTime))}}},
    };
}

void Append(std::vector<Block>& blocks, std::vector<Block> more) {
    std::move(more.begin(), more.end(), std::back_inserter(blocks));
}

} // namespace

std::string BuildReceiverReport(const Texts& texts, const std::string& dateTime,
                                const ReportIdentity& unit, const ReceiverCustomerRecord& record,
                                const ControllerFirmware& firmware) {
    const ReceiverReader reader(texts, record, firmware);
    // The muting and cyclic settings are written whatever the special functions say.
    std::vector<Block> blocks{UnitBlock(ReceiverHeading, unit)};
    Append(blocks, GeneralBlocks(reader, unit.beams));
    Append(blocks, MutingBlocks(reader));
    Append(blocks, CyclicBlocks(reader));
    return Render(texts, dateTime, blocks);
}

std::string BuildEmitterReport(const Texts& texts, const std::string& dateTime,
                               const ReportIdentity& unit, bool beamCodingA) {
    return Render(texts, dateTime,
                  {UnitBlock(EmitterHeading, unit), BeamCodingBlock(YesNo(texts, beamCodingA))});
}

// The unit as the information panel names it from a factory record's fields.
template <typename Field>
ReportIdentity FileIdentity(const Record<Field>& factory, Field type, Field serialNumber) {
    const int deviceType = factory.Byte(Field::DeviceType);
    const int beams = factory.Byte(Field::BeamCount);
    return {factory.Text(type), std::to_string(device_type::Resolution(deviceType)),
            std::to_string(device_type::FieldHeight(deviceType, beams)), factory.Text(serialNumber),
            beams};
}

std::string BuildFileReport(const Texts& texts, const ReceiverFileContent& file) {
    using RF = ReceiverFactoryField;
    return BuildReceiverReport(texts, DateStampText(file.customer.Bytes(F::ActivationStamp)),
                               FileIdentity(file.factory, RF::TypeDesignation, RF::SerialNumber),
                               file.customer, file.Firmware());
}

std::string BuildFileReport(const Texts& texts, const EmitterFileContent& file) {
    using EF = EmitterFactoryField;
    using ECF = EmitterCustomerField;
    return BuildEmitterReport(texts, DateStampText(file.customer.Bytes(ECF::Stamp)),
                              FileIdentity(file.factory, EF::CustomerDesignation, EF::SerialNumber),
                              file.customer.Byte(ECF::BeamCoding) == EmitterBeamCodingOn);
}

std::string ReportFileName(const std::string& chosen) {
    const std::filesystem::path fileName = std::filesystem::path(chosen).filename();
    if (fileName.empty()) {
        return chosen;
    }
    const std::string extension = fileName.extension().string();
    if (extension == ".") {
        return chosen + "txt";
    }
    return extension.empty() ? chosen + ".txt" : chosen;
}

bool SaveReport(const std::filesystem::path& file, const std::string& report) {
    const std::string content = report + "\r\n";
    return ReplaceFile(
        file, std::span(reinterpret_cast<const std::uint8_t*>(content.data()), content.size()));
}

} // namespace lcdiag
